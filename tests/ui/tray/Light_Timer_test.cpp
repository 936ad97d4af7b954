// The light timers: one shared hidden object, restart rules, pausing by period 0, and
// ticks that must never reach a timer that has gone.
#include <QElapsedTimer>
#include <QPointer>
#include <QTimerEvent>
#include <QtTest>
#include <memory>
#include <vector>

#include "ui/tray/TLightTimer.h"

namespace
{
// Notes the Qt timer ids of the ticks that pass through the shared object.
class Tick_Watcher : public QObject
{
public:
    std::vector<int> Ids;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Timer) Ids.push_back(static_cast<QTimerEvent*>(event)->timerId());
        return false;
    }
};
}  // namespace

class Light_Timer_Test : public QObject
{
    Q_OBJECT

private slots:
    void Shared_Object_Lives_From_First_To_Last_Timer()
    {
        QCOMPARE(TLightTimer::Shared_Timer_Window(), nullptr);
        auto first = std::make_unique<TLightTimer>();
        QPointer<QObject> window = const_cast<QObject*>(TLightTimer::Shared_Timer_Window());
        QVERIFY(window);
        {
            TLightTimer second(50, nullptr);
            QCOMPARE(TLightTimer::Shared_Timer_Window(), window.data());
            QCOMPARE(TLightTimer::Timer_Users(), 2u);
            QVERIFY(second.Begin_Ticking());
        }
        QCOMPARE(TLightTimer::Timer_Users(), 1u);
        QVERIFY(window);
        first.reset();
        QVERIFY(window.isNull());
        QVERIFY(!TLightTimer::Shared_Timer_Window() && TLightTimer::Timer_Users() == 0u);

        TLightTimer third;  // the shared object comes back with a new first timer
        QVERIFY(TLightTimer::Shared_Timer_Window() && TLightTimer::Timer_Users() == 1u);
        QVERIFY(third.Period_Ms() == 1000 && !third.Is_Running());
    }

    void Timer_Ticks_Only_While_Running()
    {
        int ticks = 0;
        TLightTimer* seen_sender = nullptr;
        TLightTimer timer(15, [&](TLightTimer* sender) {
            ++ticks;
            seen_sender = sender;
        });
        QTest::qWait(60);
        QCOMPARE(ticks, 0);

        timer.Set_Running(true);
        QVERIFY(timer.Is_Running());
        QTRY_VERIFY_WITH_TIMEOUT(ticks >= 3, 2000);
        QCOMPARE(seen_sender, &timer);

        timer.Set_Running(false);
        QVERIFY(!timer.Is_Running() && !timer.End_Ticking(true));  // nothing left to remove
        const int stopped_at = ticks;
        QTest::qWait(80);
        QCOMPARE(ticks, stopped_at);

        // A timer without a handler keeps running and does no harm.
        timer.Set_Tick_Handler(nullptr);
        timer.Set_Running(true);
        QTest::qWait(60);
        QVERIFY(timer.Is_Running());
        QCOMPARE(ticks, stopped_at);

        // A negative period cannot tick.
        TLightTimer negative(-5, nullptr);
        QVERIFY(!negative.Begin_Ticking() && !negative.Is_Running());
    }

    void Same_Period_Keeps_The_Phase_And_A_New_One_Restarts()
    {
        QElapsedTimer clock;
        qint64 first_tick_at = -1;
        TLightTimer timer(400, [&](TLightTimer*) {
            if (first_tick_at < 0) first_tick_at = clock.elapsed();
        });
        clock.start();
        timer.Set_Running(true);
        QTest::qWait(250);
        timer.Set_Period(400);
        QTRY_VERIFY_WITH_TIMEOUT(first_tick_at >= 0, 3000);
        QVERIFY2(first_tick_at < 560, qPrintable(QString::number(first_tick_at)));  // not 650

        first_tick_at = -1;
        timer.Set_Running(false);
        clock.restart();
        timer.Set_Running(true);
        QTest::qWait(250);
        const qint64 changed_at = clock.elapsed();
        timer.Set_Period(300);
        QTRY_VERIFY_WITH_TIMEOUT(first_tick_at >= 0, 3000);
        // Restarted when the period changed, so not at 400 but 300 after the change.
        QVERIFY2(first_tick_at >= changed_at + 290, qPrintable(QString::number(first_tick_at)));
    }

    void Period_Zero_Pauses_But_Keeps_The_Running_Flag()
    {
        int ticks = 0;
        TLightTimer timer(0, [&](TLightTimer*) { ++ticks; });
        timer.Set_Running(true);
        QVERIFY(!timer.Is_Running() && !timer.Begin_Ticking());

        timer.Set_Period(20);
        QVERIFY(!timer.Is_Running());  // a period alone does not start it
        timer.Set_Running(true);
        QTRY_VERIFY_WITH_TIMEOUT(ticks >= 2, 2000);

        timer.Set_Period(0);
        QVERIFY(timer.Is_Running());
        QTest::qWait(30);
        const int paused_at = ticks;
        QTest::qWait(120);
        QCOMPARE(ticks, paused_at);

        timer.Set_Period(25);
        QTRY_VERIFY_WITH_TIMEOUT(ticks >= paused_at + 2, 2000);
    }

    void Tick_Queued_For_A_Destroyed_Timer_Is_Ignored()
    {
        TLightTimer keeper;  // keeps the shared object alive
        Tick_Watcher watcher;
        auto* window = const_cast<QObject*>(TLightTimer::Shared_Timer_Window());
        window->installEventFilter(&watcher);

        int gone_ticks = 0;
        auto gone = std::make_unique<TLightTimer>(10, [&](TLightTimer*) { ++gone_ticks; });
        gone->Set_Running(true);
        QTRY_VERIFY_WITH_TIMEOUT(gone_ticks >= 1, 2000);
        const int gone_id = watcher.Ids.back();
        gone.reset();
        const int ticks_before = gone_ticks;

        // The tick the system had queued before the timer went arrives afterwards.
        QCoreApplication::postEvent(window, new QTimerEvent(gone_id));
        QCoreApplication::processEvents();
        QTest::qWait(30);
        QCOMPARE(gone_ticks, ticks_before);

        // A timer destroyed by another's tick in the same round of ticks gets none of it.
        int victim_ticks = 0;
        auto victim = std::make_unique<TLightTimer>(20, [&](TLightTimer*) { ++victim_ticks; });
        TLightTimer killer(20, [&](TLightTimer*) {
            if (victim)
            {
                victim_ticks = 0;
                victim.reset();
            }
        });
        killer.Set_Running(true);
        victim->Set_Running(true);
        QTRY_VERIFY_WITH_TIMEOUT(!victim, 2000);
        QTest::qWait(60);
        QCOMPARE(victim_ticks, 0);
        window->removeEventFilter(&watcher);
    }

    void Handler_May_Destroy_Its_Own_Timer()
    {
        QVERIFY(TLightTimer::Shared_Timer_Window() == nullptr);
        auto* timer = new TLightTimer;
        QPointer<QObject> window = const_cast<QObject*>(TLightTimer::Shared_Timer_Window());
        int ticks = 0;
        timer->Set_Period(10);
        timer->Set_Tick_Handler([&](TLightTimer* sender) {
            ++ticks;
            delete sender;  // the last timer: the shared object goes while it delivers this tick
        });
        timer->Set_Running(true);
        QTRY_COMPARE_WITH_TIMEOUT(ticks, 1, 2000);
        QCOMPARE(TLightTimer::Shared_Timer_Window(), nullptr);
        QTRY_VERIFY_WITH_TIMEOUT(window.isNull(), 2000);
        QTest::qWait(40);
        QCOMPARE(ticks, 1);
    }
};

QTEST_MAIN(Light_Timer_Test)
#include "Light_Timer_test.moc"

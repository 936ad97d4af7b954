// One instance per user and desktop: roles, the hand-over of a second start, recovery
// from a killed first instance, and a burst of simultaneous starts.
//
// The test binary doubles as a tiny program: with "--instance <key> <wanted>" it plays one
// start and prints FIRST or SECOND; a first waits for <wanted> requests (at most 8 s)
// and then prints how many it got.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLocalServer>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "app/Single_Instance.h"

namespace
{
int Run_Instance(const QString& key, int wanted_requests)
{
    Single_Instance instance(key);
    if (!instance.Become_First_Or_Forward())
    {
        std::printf("SECOND\n");
        return 0;
    }
    std::printf("FIRST\n");
    std::fflush(stdout);
    int requests = 0;
    QObject::connect(&instance, &Single_Instance::Restore_Request, [&] {
        if (++requests >= wanted_requests)
            QTimer::singleShot(0, QCoreApplication::instance(), &QCoreApplication::quit);
    });
    QTimer::singleShot(8000, QCoreApplication::instance(), &QCoreApplication::quit);
    if (wanted_requests > 0)
        QCoreApplication::exec();
    std::printf("REQUESTS %d\n", requests);
    return 0;
}
}

class Single_Instance_Test : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { Temp_Root = QDir::tempPath(); }
    void init();
    void First_Listens_And_A_Second_Start_Hands_Over();
    void Killed_First_Instance_Does_Not_Block_The_Next_Start();
    void Burst_Of_Starts_Gives_Exactly_One_First();
    void Default_Key_Names_The_Program_User_And_Display();
    void Deep_Runtime_Directory_Still_Finds_The_First();

private:
    std::unique_ptr<QProcess> Start_Instance(const QString& key, int wanted_requests, const QString& work_dir = {});
    QString Temp_Root;
    std::unique_ptr<QTemporaryDir> Runtime_Dir;
    QString Key;
};

void Single_Instance_Test::init()
{
    Runtime_Dir.reset();
    Runtime_Dir = std::make_unique<QTemporaryDir>(Temp_Root + QStringLiteral("/Single_Instance_test-XXXXXX"));
    QVERIFY(Runtime_Dir->isValid());
    qputenv("XDG_RUNTIME_DIR", Runtime_Dir->path().toLocal8Bit());
    qputenv("TMPDIR", Runtime_Dir->path().toLocal8Bit());
    Key = QStringLiteral("Zentavo_Logger-test-%1").arg(QTest::currentTestFunction());
}

std::unique_ptr<QProcess> Single_Instance_Test::Start_Instance(const QString& key, int wanted_requests,
                                                               const QString& work_dir)
{
    auto process = std::make_unique<QProcess>();
    process->setProgram(QCoreApplication::applicationFilePath());
    process->setArguments({QStringLiteral("--instance"), key, QString::number(wanted_requests)});
    if (!work_dir.isEmpty())
        process->setWorkingDirectory(work_dir);
    process->start();
    return process;
}

void Single_Instance_Test::First_Listens_And_A_Second_Start_Hands_Over()
{
    Single_Instance first(Key);
    QSignalSpy restore_requests(&first, &Single_Instance::Restore_Request);
    QVERIFY(first.Become_First_Or_Forward());

    // Another key is another desktop: it is first as well.
    Single_Instance elsewhere(Key + QStringLiteral("-other"));
    QVERIFY(elsewhere.Become_First_Or_Forward());

    QTemporaryDir work_dir(Temp_Root + QStringLiteral("/Single_Instance_work-XXXXXX"));
    QElapsedTimer clock;
    clock.start();
    auto second = Start_Instance(Key, 0, work_dir.path());
    QSignalSpy finished(second.get(), &QProcess::finished);
    QVERIFY(finished.wait(5000));
    const qint64 elapsed = clock.elapsed();
    QCOMPARE(second->exitStatus(), QProcess::NormalExit);
    QCOMPARE(second->exitCode(), 0);
    QCOMPARE(second->readAllStandardOutput(), QByteArray("SECOND\n"));
    QCOMPARE(restore_requests.count(), 1);
    QVERIFY2(elapsed < 1000, qPrintable(QString::number(elapsed)));
    qInfo("a second start handed over and ended in %lld ms", elapsed);

    // It wrote nothing where it was started, and left nothing of its own behind.
    QVERIFY(QDir(work_dir.path()).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden));
    QStringList sockets{QFileInfo(first.Server_Path()).fileName(), QFileInfo(elsewhere.Server_Path()).fileName()};
    sockets.sort();
    QCOMPARE(QDir(Runtime_Dir->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System),
             sockets);
}

void Single_Instance_Test::Killed_First_Instance_Does_Not_Block_The_Next_Start()
{
    auto first = Start_Instance(Key, 1);
    QVERIFY(first->waitForReadyRead(5000));
    QCOMPARE(first->readLine(), QByteArray("FIRST\n"));
    first->kill();
    QVERIFY(first->waitForFinished(5000));
    // The killed process left its socket behind.
    QVERIFY(QFileInfo::exists(Single_Instance(Key).Server_Path()));

    QElapsedTimer clock;
    clock.start();
    Single_Instance next(Key);
    QVERIFY(next.Become_First_Or_Forward());
    QVERIFY2(clock.elapsed() < 1000, qPrintable(QString::number(clock.elapsed())));

    // And the recovered one answers the start after it.
    QSignalSpy restore_requests(&next, &Single_Instance::Restore_Request);
    auto second = Start_Instance(Key, 0);
    QSignalSpy finished(second.get(), &QProcess::finished);
    QVERIFY(finished.wait(5000));
    QCOMPARE(second->readAllStandardOutput(), QByteArray("SECOND\n"));
    QCOMPARE(restore_requests.count(), 1);
}

void Single_Instance_Test::Burst_Of_Starts_Gives_Exactly_One_First()
{
    constexpr int Starts = 10;
    std::vector<std::unique_ptr<QProcess>> processes;
    for (int i = 0; i < Starts; ++i)
        processes.push_back(Start_Instance(Key, Starts - 1));
    int firsts = 0;
    int seconds = 0;
    QByteArray first_output;
    for (auto& process : processes)
    {
        QVERIFY(process->waitForFinished(15000));
        QCOMPARE(process->exitCode(), 0);
        const QByteArray output = process->readAllStandardOutput();
        if (output.startsWith("FIRST\n"))
        {
            ++firsts;
            first_output = output;
        }
        else if (output == "SECOND\n")
            ++seconds;
    }
    QCOMPARE(firsts, 1);
    QCOMPARE(seconds, Starts - 1);
    QCOMPARE(first_output, QByteArray("FIRST\nREQUESTS 9\n"));
}

void Single_Instance_Test::Default_Key_Names_The_Program_User_And_Display()
{
    qputenv("DISPLAY", ":7.0");
    const QString key = Single_Instance::Default_Key();
    QVERIFY2(key.startsWith(QStringLiteral("Zentavo_Logger-")), qPrintable(key));
    QVERIFY2(key.endsWith(QStringLiteral("-:7")), qPrintable(key));
    QVERIFY(!key.contains(QLatin1Char('/')));
    qputenv("DISPLAY", ":8");
    QVERIFY(Single_Instance::Default_Key() != key);
    QCOMPARE(Single_Instance::Instance_Directory(), Runtime_Dir->path());
}

int main(int argc, char* argv[])
{
    if (argc == 4 && std::strcmp(argv[1], "--instance") == 0)
    {
        QCoreApplication application(argc, argv);
        return Run_Instance(QString::fromLocal8Bit(argv[2]), std::atoi(argv[3]));
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QCoreApplication application(argc, argv);
    Single_Instance_Test test;
    return QTest::qExec(&test, argc, argv);
}

#include "Single_Instance_test.moc"

void Single_Instance_Test::Deep_Runtime_Directory_Still_Finds_The_First()
{
    // A socket path longer than the system allows cannot listen; the instance must still
    // be found, or every start would become a first one.
    const QString deep = Runtime_Dir->path() + QStringLiteral("/") + QString(120, QLatin1Char('d'));
    QVERIFY(QDir().mkpath(deep));
    QVERIFY(QFile::setPermissions(deep, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner));
    qputenv("XDG_RUNTIME_DIR", deep.toLocal8Bit());

    Single_Instance first(Key);
    QSignalSpy restore_requests(&first, &Single_Instance::Restore_Request);
    QVERIFY(first.Become_First_Or_Forward());
    QVERIFY(QFile::encodeName(first.Server_Path()).size() <= 100);

    auto second = Start_Instance(Key, 0);
    QSignalSpy finished(second.get(), &QProcess::finished);
    QVERIFY(finished.wait(5000));
    QCOMPARE(second->readAllStandardOutput(), QByteArray("SECOND\n"));
    QCOMPARE(restore_requests.count(), 1);
}

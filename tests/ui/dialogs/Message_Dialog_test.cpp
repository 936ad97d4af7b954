// The message dialog (answers by keys and buttons, layout, text, position, icons, the
// protocol lines of missing bitmaps) and the splash screen shown by the same object.
#include <QElapsedTimer>
#include <QLabel>
#include <QMouseEvent>
#include <QPointer>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>
#include <memory>

#include "config/Error_List.h"
#include "config/Program_Paths.h"
#include "config/Settings.h"
#include "platform/Clock.h"
#include "support/Fake_Clock.h"
#include "ui/controls/TVela_Button.h"
#include "ui/controls/Work_Area.h"
#include "ui/dialogs/Qt_Message_Dialogs.h"
#include "ui/dialogs/TMessage_Dialog_Form.h"

namespace
{
using Look = std::function<void(TMessage_Dialog_Form*)>;

// Runs the action once the modal dialog is open; one left open is ended with 99 later, so
// a fault fails the test instead of hanging it.
void When_Open(QObject* owner, std::function<void(QDialog*)> action)
{
    auto* poll = new QTimer(owner);
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, action] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr || !dialog->isVisible()) return;
        poll->deleteLater();
        poll->stop();
        QPointer<QDialog> guarded(dialog);
        action(dialog);
        QTimer::singleShot(2000, [guarded] {
            if (guarded && guarded->isVisible()) guarded->done(99);
        });
    });
    poll->start();
}

// Drags by the given distance in four steps, as the pointer moves the dialog under it.
void Drag(QWidget* dialog, QPoint from, QPoint by)
{
    const QPoint start = dialog->pos() + from;
    QMouseEvent press(QEvent::MouseButtonPress, from, start, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(dialog, &press);
    for (int step = 1; step <= 4; ++step)
    {
        const QPoint global = start + by * step / 4;
        QMouseEvent move(QEvent::MouseMove, global - dialog->pos(), global, Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QCoreApplication::sendEvent(dialog, &move);
    }
    QMouseEvent release(QEvent::MouseButtonRelease, start + by - dialog->pos(), start + by, Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(dialog, &release);
}
}  // namespace

class Message_Dialog_Test : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> Directory;
    std::unique_ptr<Program_Paths> Paths;
    Fake_Clock Clock{Date_Time{2026, 3, 5, 14, 5, 9, 0}};
    std::unique_ptr<Error_List> Errors;
    Settings Setup;
    std::unique_ptr<Qt_Message_Dialogs> Dialogs;

    // Shows a message, lets the look drive the open dialog and gives the answer.
    int Ask(const std::string& first, const std::string& second, Look look, const std::string& message = "x",
            const std::vector<std::string>& arguments = {}, const std::string& icon = "Warning_Icon_Source.bmp",
            int interval = 32)
    {
        When_Open(this, [look](QDialog* dialog) { look(qobject_cast<TMessage_Dialog_Form*>(dialog)); });
        return Dialogs->Display_Message_Dialog(icon, interval, message, first, second, arguments);
    }

    // Presses the keys; all but the last must leave the dialog open.
    int Press(const std::string& first, const std::string& second, const QList<int>& keys)
    {
        bool open = false;
        const int answer = Ask(first, second, [&](TMessage_Dialog_Form* form) {
            for (int key : keys.mid(0, keys.size() - 1)) QTest::keyClick(form, Qt::Key(key));
            open = form->isVisible();
            QTest::keyClick(form, Qt::Key(keys.last()));
        });
        return open ? answer : -1;
    }

    QString Skin(const char* name) const { return Directory->filePath(QStringLiteral("Skin/") + name); }

private slots:
    void init()
    {
        Directory = std::make_unique<QTemporaryDir>();
        const QDir source(QStringLiteral(ZL_SOURCE_DATA_DIR "/Skin"));
        QVERIFY(QDir(Directory->path()).mkpath("Skin"));
        for (const QString& name : source.entryList({"*.bmp"}, QDir::Files))
            QVERIFY(QFile::copy(source.filePath(name), Skin(qPrintable(name))));
        Paths = std::make_unique<Program_Paths>(Directory->path().toStdString());
        Errors = std::make_unique<Error_List>(Clock, "HH:mm:ss");
        Setup = Settings();
        Dialogs =
            std::make_unique<Qt_Message_Dialogs>(Setup, *Errors, *Paths, QPixmap(Skin("Button_Skin.bmp")), nullptr);
    }

    void cleanup()
    {
        Dialogs.reset();
        // Pollers of a test whose dialog never opened must not answer the next test's.
        for (QTimer* poll : findChildren<QTimer*>()) delete poll;
    }

    void Keys_Answer_By_Enter_Escape_And_Distinct_First_Letters()
    {
        struct Case
        {
            std::string First, Second;
            QList<int> Keys;
            int Answer;
        };
        const QList<Case> table = {
            {"Ano", "Ne", {Qt::Key_Return}, 1},
            {"Ano", "Ne", {Qt::Key_Enter}, 1},
            {"Ano", "Ne", {Qt::Key_Escape}, 2},
            {"Ano", "Ne", {Qt::Key_N}, 2},
            {"ano", "ne", {Qt::Key_A}, 1},
            // The same letter is inert: "leave" for "try again" could end the program unsaved.
            {"Opakovat", "Odej\xEDt", {Qt::Key_O, Qt::Key_Return}, 1},
            // "Číst" begins with 0xC8 in CP1250, also the code of a key on some keyboards.
            {"\xC8\xEDst", "Zru\x9Ait", {0xC8, Qt::Key_C, Qt::Key_Z}, 2},
            {"OK", "", {Qt::Key_N, Qt::Key_Space, Qt::Key_O}, 1},
            {"OK", "", {Qt::Key_Escape}, 2},
        };
        for (const Case& test : table) QCOMPARE(Press(test.First, test.Second, test.Keys), test.Answer);

        // A held key (the main window's shutdown key repeating) does not answer.
        bool open = false, inside = false;
        QCOMPARE(Ask("Exit", "No",
                     [&](TMessage_Dialog_Form* form) {
                         inside = Dialogs->Open_Message_Dialog() == form;
                         QTest::simulateEvent(form, true, Qt::Key_Return, Qt::NoModifier, QString(), true);
                         QTest::simulateEvent(form, true, Qt::Key_E, Qt::NoModifier, "e", true);
                         open = form->isVisible();
                         form->close();
                     }),
                 2);
        QVERIFY(open && inside && !Dialogs->Is_Message_Dialog_Open());
        QCOMPARE(Ask("Ano", "Ne",
                     [](TMessage_Dialog_Form* form) {
                         QTest::mouseClick(form->Vela_Button_2, Qt::LeftButton, {}, QPoint(50, 12));
                     }),
                 2);
        QCOMPARE(Ask("Ano", "Ne",
                     [](TMessage_Dialog_Form* form) {
                         QTest::mouseClick(form->Vela_Button_1, Qt::LeftButton, {}, QPoint(50, 12));
                     }),
                 1);
        QVERIFY(Errors->Lines().empty());
    }

    void Buttons_Stand_Side_By_Side_Or_Alone_In_The_Middle()
    {
        TMessage_Dialog_Form* seen = nullptr;
        QRect second;
        const Look look = [&](TMessage_Dialog_Form* form) {
            QCOMPARE(form->size(), QSize(355, 138));
            QCOMPARE(form->Label1->pos(), QPoint(112, 24));
            second = form->Vela_Button_2->isVisible() ? form->Vela_Button_2->geometry() : QRect();
            QCOMPARE(form->Vela_Button_1->geometry(), QRect(second.isNull() ? 124 : 112, 96, 105, 25));
            seen = form;
            form->close();
        };
        Ask("Ano", "Zru\x9Ait", look);
        QCOMPARE(second, QRect(232, 96, 105, 25));
        Ask("OK", "", look);
        QVERIFY(seen && second.isNull());
    }

    void Long_Lines_Wrap_And_Many_Lines_Make_The_Dialog_Taller()
    {
        QRect label, button;
        QImage face;
        const Look look = [&](TMessage_Dialog_Form* form) {
            label = form->Label1->geometry();
            button = form->Vela_Button_1->geometry();
            face = form->grab().toImage();
            form->close();
        };
        Ask("Ano", "Ne", look,
            "Soubor se z\xE1znamem dne je po\x9Akozen\xFD.##Chcete pokra\xE8ovat s nov\xFDm dnem, nebo program "
            "ukon\xE8it?");
        QVERIFY(label.right() < 355 - 8 && label.height() > 3 * 12 && label.bottom() < button.top());
        QCOMPARE(face.width(), 355);

        // The end-of-day summary has seven lines; the band under the buttons moves down too.
        Ask("OK", "", look, "Za\xE8\xE1tek: %0:s#Konec: %1:s##%2:s#%4:s##%3:s#%5:s",
            {"07:58", "16:31", "a", "b", "c", "d"});
        QVERIFY(face.height() > 138 && face.width() == 355 && label.bottom() < button.top());
        QCOMPARE(button, QRect(124, face.height() - 138 + 96, 105, 25));
        const QImage background(Skin("Message_Dialog_Form_Background.bmp"));
        QCOMPARE(face.pixelColor(5, face.height() - 5), background.pixelColor(5, 133));
        QCOMPARE(face.pixelColor(300, 3), background.pixelColor(300, 3));
    }

    void Hashes_Break_Lines_And_Placeholders_Take_Their_Arguments()
    {
        const QList<std::tuple<std::string, std::vector<std::string>, QString>> table = {
            {"Soubor#%0:s#nebyl nalezen.", {"Log.log"}, "Soubor\nLog.log\nnebyl nalezen."},
            {"%1:s - %0:s",
             {"\xE8"
              "ervenec",
              "P\xF8"
              "est\xE1vka"},
             "Přestávka - červenec"},
            {"Typ: %s", {"A#B"}, "Typ: A#B"},  // a "#" in an argument is text
            // A pattern that does not fit its arguments is shown unformatted.
            {"Od %0:s do %1:s#mimo", {"00:10"}, "Od %0:s do %1:s\nmimo"},
            {"%d minut", {"5"}, "%d minut"},
            {std::string(250, 'x') + "yyyyyzzzzz", {}, QString(250, 'x') + "yyyyy"},  // 255 at most
        };
        for (const auto& [message, arguments, expected] : table)
        {
            QString shown;
            Ask(
                "OK", "",
                [&](TMessage_Dialog_Form* form) {
                    shown = form->Label1->text();
                    form->close();
                },
                message, arguments);
            QCOMPARE(shown, expected);
        }
    }

    void The_Position_Is_Remembered_And_Kept_Inside_The_Work_Area()
    {
        const QRect area = Primary_Work_Area();
        Setup.Message_Dialog_Form_Left = std::int16_t(area.x() + 70);
        Setup.Message_Dialog_Form_Top = std::int16_t(area.y() + 80);
        QList<QPoint> positions;
        const Look drag = [&](TMessage_Dialog_Form* form) {
            positions << form->pos();
            Drag(form, QPoint(200, 60), QPoint(30, 40));
            positions << form->pos();
            Drag(form, QPoint(150, 10), QPoint(-500, -500));  // presses on the text drag as well
            positions << form->pos();
            Drag(form, QPoint(150, 60), QPoint(5000, 5000));
            positions << form->pos();
            Drag(form, QPoint(10, 10), QPoint(-60, -3000));
            positions << form->pos();
            form->close();
        };
        Ask("Ano", "Ne", drag);
        const QPoint far(area.right() + 1 - 355, area.bottom() + 1 - 138);
        QCOMPARE(positions, (QList<QPoint>{area.topLeft() + QPoint(70, 80), area.topLeft() + QPoint(100, 120),
                                           area.topLeft(), far, QPoint(far.x() - 60, area.y())}));
        positions.clear();
        Ask("Ano", "Ne", [&](TMessage_Dialog_Form* form) {
            positions << form->pos();
            form->close();
        });
        QCOMPARE(positions, QList<QPoint>{QPoint(far.x() - 60, area.y())});

        // Remembered on a screen since removed.
        Setup.Message_Dialog_Form_Left = 30000;
        Setup.Message_Dialog_Form_Top = -500;
        Ask("Ano", "Ne", [&](TMessage_Dialog_Form* form) {
            positions << form->pos();
            form->close();
        });
        QCOMPARE(positions.last(), QPoint(far.x(), area.y()));
    }

    void It_Reopens_Where_It_Was_Left_And_A_Longer_Text_Grows_It_Upwards_From_The_Bottom()
    {
        const QRect area = Primary_Work_Area();
        const int bottom = area.y() + area.height();
        QRect opened;
        const Look note = [&](TMessage_Dialog_Form* form) {
            opened = form->frameGeometry();
            form->close();
        };
        const auto ask_summary = [&] {
            Ask("OK", "", note, "Za\xE8\xE1tek: %0:s#Konec: %1:s##%2:s#%4:s##%3:s#%5:s",
                {"07:58", "16:31", "a", "b", "c", "d"});
        };
        // Partly past the right edge, as a drag without restriction may leave it.
        Setup.Message_Dialog_Form_Left = std::int16_t(area.x() + area.width() - 100);
        Setup.Message_Dialog_Form_Top = std::int16_t(area.y() + 40);
        Ask("OK", "", note);
        QCOMPARE(opened.topLeft(), QPoint(area.x() + area.width() - 100, area.y() + 40));

        // Left at the bottom: the taller summary ends on the bottom edge; the next short
        // question opens where that one was left.
        Setup.Message_Dialog_Form_Left = std::int16_t(area.x() + 30);
        Setup.Message_Dialog_Form_Top = std::int16_t(bottom - 138);
        ask_summary();
        const int grown = opened.height();
        QVERIFY(grown > 138);
        QCOMPARE(opened.topLeft(), QPoint(area.x() + 30, bottom - grown));
        Ask("OK", "", note);
        QCOMPARE(opened, QRect(area.x() + 30, bottom - grown, 355, 138));

        // Written below the bottom by hand: only the growth is taken back.
        Setup.Message_Dialog_Form_Top = std::int16_t(bottom - 50);
        ask_summary();
        QCOMPARE(opened.top(), bottom - 50 - (grown - 138));
    }

    void The_Face_Shows_Background_Icon_And_Frame()
    {
        const QImage background(Skin("Message_Dialog_Form_Background.bmp"));
        const QImage icon(Skin("Error_Icon_Source.bmp"));
        QImage shown;
        Ask(
            "OK", "",
            [&](TMessage_Dialog_Form* form) {
                shown = form->grab().toImage();
                form->close();
            },
            "x", {}, "Error_Icon_Source.bmp", 70);
        QCOMPARE(shown.pixelColor(0, 0), QColor(Qt::black));
        QCOMPARE(shown.pixelColor(354, 137), QColor(Qt::black));
        QCOMPARE(shown.pixelColor(300, 10), background.pixelColor(300, 10));
        QCOMPARE(shown.pixelColor(20 + 32, 20 + 32), icon.pixelColor(32, 32));
        QCOMPARE(shown.pixelColor(20 + 2, 20 + 40), icon.pixelColor(2, 40));
    }

    void A_Strip_Plays_In_A_Loop_And_A_Single_Picture_Stands_Still()
    {
        const QList<QColor> colours{Qt::red, Qt::green, Qt::blue, Qt::yellow, Qt::magenta};
        QImage strip(320, 64, QImage::Format_RGB32);
        for (int x = 0; x < 320; ++x)
            for (int y = 0; y < 64; ++y) strip.setPixelColor(x, y, colours[x / 64]);
        QVERIFY(strip.save(Skin("Strip.bmp"), "BMP"));
        QList<int> frames;
        Ask(
            "OK", "",
            [&](TMessage_Dialog_Form* form) {
                QCOMPARE(form->Frame_Count(), 5);
                QCOMPARE(form->Animation_Timer->interval(), 35);
                for (int tick = 0; tick < 7; ++tick)
                {
                    QVERIFY(QTest::qWaitFor([&] { return frames.isEmpty() || form->Shown_Frame() != frames.last(); },
                                            1000));
                    frames << form->Shown_Frame();
                    QCOMPARE(form->grab().toImage().pixelColor(52, 52), colours[frames.last()]);
                }
                form->close();
            },
            "x", {}, "Strip.bmp", 35);
        // Frames follow each other and wrap from the last to the first.
        QCOMPARE(frames.size(), 7);
        for (int i = 1; i < frames.size(); ++i) QCOMPARE(frames[i], (frames[i - 1] + 1) % 5);

        QImage picture(100, 70, QImage::Format_RGB32);
        picture.fill(Qt::cyan);
        picture.setPixelColor(99, 69, Qt::darkRed);
        QVERIFY(picture.save(Skin("Still.bmp"), "BMP"));
        QImage shown;
        Ask(
            "OK", "",
            [&](TMessage_Dialog_Form* form) {
                QVERIFY(form->Frame_Count() == 1 && !form->Animation_Timer->isActive());
                shown = form->grab().toImage();
                form->close();
            },
            "x", {}, "Still.bmp", 70);
        QCOMPARE(shown.pixelColor(20, 20), QColor(Qt::cyan));
        QCOMPARE(shown.pixelColor(119, 89), QColor(Qt::darkRed));
    }

    void Missing_Bitmaps_Are_Protocolled_And_Leave_Their_Place_Plain()
    {
        const QImage background(Skin("Message_Dialog_Form_Background.bmp"));
        QColor icon_area;
        QCOMPARE(Ask(
                     "Ano", "Ne",
                     [&](TMessage_Dialog_Form* form) {
                         QVERIFY(form->Frame_Count() == 0 && !form->Animation_Timer->isActive());
                         icon_area = form->grab().toImage().pixelColor(52, 52);
                         QTest::keyClick(form, Qt::Key_N);
                     },
                     "x", {}, "Missing_Icon.bmp", 70),
                 2);
        QCOMPARE(icon_area, background.pixelColor(52, 52));
        QVERIFY(QFile::remove(Skin("Message_Dialog_Form_Background.bmp")));
        QCOMPARE(Ask("Ano", "Ne",
                     [&](TMessage_Dialog_Form* form) {
                         QVERIFY(!form->Has_Background());
                         icon_area = form->grab().toImage().pixelColor(300, 3);
                         QTest::keyClick(form, Qt::Key_A);
                     }),
                 1);
        QCOMPARE(icon_area, QColor(Qt::white));
        QCOMPARE(Errors->Lines(), (std::vector<std::string>{
                                      "14:05:09 - DISPLAY_MESSAGE_DIALOG - source file " + Paths->Skin_Directory +
                                          "Missing_Icon.bmp not found",
                                      "14:05:09 - Display_Message_Dialog - nebyl nalezen soubor se zdrojem pozad\xED - "
                                      "Message_Dialog_Form_Background.bmp"}));
    }

    void The_Splash_Has_The_Pictures_Size_Centred_On_Top_And_Waits_For_Its_Timer()
    {
        QImage picture(200, 120, QImage::Format_RGB32);
        picture.fill(QColor(0x90, 0xC4, 0x05));
        picture.setPixelColor(199, 119, Qt::black);
        QVERIFY(QFile::remove(Skin("Splash_Screen.bmp")) && picture.save(Skin("Splash_Screen.bmp"), "BMP"));
        bool open_after_keys_and_clicks = false;
        When_Open(this, [&](QDialog* dialog) {
            QCOMPARE(dialog->size(), QSize(200, 120));
            QCOMPARE(dialog->grab().toImage().pixelColor(199, 119), QColor(Qt::black));
            QVERIFY((dialog->geometry().center() - QGuiApplication::primaryScreen()->geometry().center())
                        .manhattanLength() <= 2);
            QVERIFY(dialog->windowFlags().testFlags(Qt::WindowStaysOnTopHint | Qt::FramelessWindowHint));
            QTest::keyClick(dialog, Qt::Key_Escape);
            QTest::keyClick(dialog, Qt::Key_Return);
            QTest::mouseClick(dialog, Qt::LeftButton, {}, QPoint(10, 10));
            QTest::qWait(300);
            open_after_keys_and_clicks = dialog->isVisible();
        });
        QElapsedTimer clock;
        clock.start();
        Dialogs->Show_Start_Splash_Screen();
        QVERIFY2(clock.elapsed() >= 1700 && clock.elapsed() < 2500, qPrintable(QString::number(clock.elapsed())));
        QVERIFY(open_after_keys_and_clicks);
        QVERIFY(Errors->Lines().empty());

        // Without the picture the start goes on at once.
        QVERIFY(QFile::remove(Skin("Splash_Screen.bmp")));
        clock.restart();
        Dialogs->Show_Start_Splash_Screen();
        QVERIFY(clock.elapsed() < 500);
        QCOMPARE(Errors->Lines(), std::vector<std::string>{"14:05:09 - SHOW_SPLASH_SCREEN - source file " +
                                                           Paths->Skin_Directory + "Splash_Screen.bmp not found"});
    }
};

QTEST_MAIN(Message_Dialog_Test)
#include "Message_Dialog_test.moc"

// The message dialog: answers by keys and buttons, layout, message text, the remembered
// and work-area-bound position, icons and the protocol lines of missing bitmaps.
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <memory>

#include "Message_Dialog_Test_Support.h"
#include "app/Error_List.h"
#include "app/Program_Paths.h"
#include "app/Settings.h"
#include "platform/Clock.h"
#include "ui/controls/Vela_Button.h"
#include "ui/controls/Work_Area.h"
#include "ui/dialogs/Message_Dialog_Form.h"
#include "ui/dialogs/Qt_Message_Dialogs.h"

using Dialog_Test::Press_When_Open;
using Dialog_Test::When_Modal_Opens;

namespace
{
// "Ano" and "Ne" (yes and no); "Opakovat" and "Odejít" (try again and leave) share a letter.
const std::string Yes = "Ano";
const std::string No = "Ne";

TMessage_Dialog_Form* Form_Of(QDialog* dialog)
{
    return qobject_cast<TMessage_Dialog_Form*>(dialog);
}

void Drag(QWidget* dialog, QPoint from_local, QPoint by)
{
    const QPoint global_start = dialog->pos() + from_local;
    const QPoint global_end = global_start + by;
    QMouseEvent press(QEvent::MouseButtonPress, from_local, global_start, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(dialog, &press);
    // The dialog moves under the pointer, so each step is given in screen coordinates.
    for (int step = 1; step <= 4; ++step)
    {
        const QPoint global = global_start + by * step / 4;
        QMouseEvent move(QEvent::MouseMove, global - dialog->pos(), global, Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QCoreApplication::sendEvent(dialog, &move);
    }
    QMouseEvent release(QEvent::MouseButtonRelease, global_end - dialog->pos(), global_end, Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(dialog, &release);
}

// A strip of flat frames, each in its own colour, written as a BMP.
bool Write_Strip(const QString& path, int width, const QList<QColor>& colours)
{
    QImage strip(width, 64, QImage::Format_RGB32);
    for (int x = 0; x < width; ++x)
        for (int y = 0; y < 64; ++y) strip.setPixelColor(x, y, colours[(x / 64) % colours.size()]);
    return strip.save(path, "BMP");
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

    int Ask(const std::string& first = Yes, const std::string& second = No,
            const std::string& message = "Smazat z\xE1znam?", const std::vector<std::string>& arguments = {},
            const std::string& icon = "Warning_Icon_Source.bmp", int interval = 32)
    {
        return Dialogs->Display_Message_Dialog(icon, interval, message, first, second, arguments);
    }

    QString Skin_Path(const char* name) const { return Directory->filePath(QStringLiteral("Skin/") + name); }

private slots:
    void init()
    {
        Directory = std::make_unique<QTemporaryDir>();
        QVERIFY(Directory->isValid());
        QVERIFY(Dialog_Test::Copy_Shipped_Skins(*Directory));
        Paths = std::make_unique<Program_Paths>(Directory->path().toStdString());
        Errors = std::make_unique<Error_List>(Clock, "HH:mm:ss");
        Setup = Settings();
        const QPixmap button_skin(Skin_Path("Button_Skin.bmp"));
        QVERIFY(!button_skin.isNull());
        Dialogs = std::make_unique<Qt_Message_Dialogs>(Setup, *Errors, *Paths, button_skin, nullptr);
    }

    void cleanup()
    {
        Dialogs.reset();
        // Pollers of a test whose dialog never opened must not answer the next test's.
        for (QTimer* poll : findChildren<QTimer*>()) delete poll;
    }

    void Enter_Escape_And_Closing_Answer_One_And_Two()
    {
        bool open_inside = false;
        When_Modal_Opens(this, [&](QDialog* dialog) {
            open_inside = Dialogs->Is_Message_Dialog_Open() && Dialogs->Open_Message_Dialog() == dialog;
            QTest::keyClick(dialog, Qt::Key_Return);
        });
        QCOMPARE(Ask(), 1);
        QVERIFY(open_inside);
        QVERIFY(!Dialogs->Is_Message_Dialog_Open());
        Press_When_Open(this, Qt::Key_Enter);
        QCOMPARE(Ask(), 1);
        Press_When_Open(this, Qt::Key_Escape);
        QCOMPARE(Ask(), 2);
        When_Modal_Opens(this, [](QDialog* dialog) { dialog->close(); });
        QCOMPARE(Ask(), 2);
        QVERIFY(Errors->Lines().empty());
    }

    void The_First_Letters_Of_The_Captions_Answer_Whatever_Their_Case()
    {
        Press_When_Open(this, Qt::Key_A);
        QCOMPARE(Ask(), 1);
        Press_When_Open(this, Qt::Key_N);
        QCOMPARE(Ask(), 2);
        Press_When_Open(this, Qt::Key_N);
        QCOMPARE(Ask("ano", "ne"), 2);
        Press_When_Open(this, Qt::Key_A);
        QCOMPARE(Ask("ano", "ne"), 1);
    }

    void A_Key_Held_Down_Does_Not_Answer()
    {
        // The shutdown key of the main window, held, repeats into the question it opened.
        bool still_open = false;
        When_Modal_Opens(this, [&still_open](QDialog* dialog) {
            QTest::simulateEvent(dialog, true, Qt::Key_Return, Qt::NoModifier, QString(), true);
            QTest::simulateEvent(dialog, true, Qt::Key_E, Qt::NoModifier, QStringLiteral("e"), true);
            still_open = dialog->isVisible();
            QTest::keyClick(dialog, Qt::Key_N);
        });
        QCOMPARE(Ask("Exit", "No"), 2);
        QVERIFY(still_open);
    }

    void Accented_First_Letters_Never_Match_A_Key()
    {
        // "Číst" begins with 0xC8 in CP1250, which is also the code of a key on some keyboards.
        bool still_open = false;
        When_Modal_Opens(this, [&still_open](QDialog* dialog) {
            QCOMPARE(Form_Of(dialog)->Hotkey_1(), std::uint16_t(0xC8));
            QTest::keyClick(dialog, Qt::Key(0xC8));
            QTest::keyClick(dialog, Qt::Key_C);
            still_open = dialog->isVisible();
            QTest::keyClick(dialog, Qt::Key_Z);
        });
        QCOMPARE(Ask("\xC8\xEDst", "Zru\x9Ait"), 2);
        QVERIFY(still_open);
    }

    void Captions_With_The_Same_Letter_Leave_The_Letter_Inert()
    {
        // Answering "leave" for a key meant as "try again" could end the program unsaved.
        bool still_open = false;
        When_Modal_Opens(this, [&still_open](QDialog* dialog) {
            QVERIFY(!Form_Of(dialog)->Hotkeys_Enabled());
            QTest::keyClick(dialog, Qt::Key_O);
            still_open = dialog->isVisible();
            QTest::keyClick(dialog, Qt::Key_Return);
        });
        QCOMPARE(Ask("Opakovat", "Odej\xEDt"), 1);
        QVERIFY(still_open);
        // A later dialog with distinct letters has them again.
        Press_When_Open(this, Qt::Key_N);
        QCOMPARE(Ask(), 2);
    }

    void The_Buttons_Answer_With_Their_Tags()
    {
        When_Modal_Opens(this, [](QDialog* dialog) {
            QTest::mouseClick(Form_Of(dialog)->Vela_Button_2, Qt::LeftButton, {}, QPoint(50, 12));
        });
        QCOMPARE(Ask(), 2);
        When_Modal_Opens(this, [](QDialog* dialog) {
            QTest::mouseClick(Form_Of(dialog)->Vela_Button_1, Qt::LeftButton, {}, QPoint(50, 12));
        });
        QCOMPARE(Ask(), 1);
    }

    void Two_Buttons_Stand_Side_By_Side_And_One_Stands_In_The_Middle()
    {
        QRect first, second, label;
        bool second_visible = false;
        QSize size;
        QString first_caption, second_caption;
        auto look = [&](QDialog* dialog) {
            TMessage_Dialog_Form* form = Form_Of(dialog);
            first = form->Vela_Button_1->geometry();
            second = form->Vela_Button_2->geometry();
            second_visible = form->Vela_Button_2->isVisible();
            first_caption = form->Vela_Button_1->Text();
            second_caption = form->Vela_Button_2->Text();
            label = form->Label1->geometry();
            size = form->size();
            QTest::keyClick(dialog, Qt::Key_Escape);
        };

        When_Modal_Opens(this, look);
        QCOMPARE(Ask("Ano", "Zru\x9Ait"), 2);
        QCOMPARE(size, QSize(355, 138));
        QCOMPARE(first, QRect(112, 96, 105, 25));
        QCOMPARE(second, QRect(232, 96, 105, 25));
        QVERIFY(second_visible);
        QCOMPARE(first_caption, QStringLiteral("Ano"));
        QCOMPARE(second_caption, QStringLiteral("Zrušit"));
        QCOMPARE(label.topLeft(), QPoint(112, 24));

        When_Modal_Opens(this, look);
        QCOMPARE(Ask("OK", ""), 2);  // Escape still answers 2 with one button
        QCOMPARE(first, QRect(124, 96, 105, 25));
        QVERIFY(!second_visible);
    }

    void Long_Lines_Wrap_And_Many_Lines_Make_The_Dialog_Taller()
    {
        QRect label, button;
        QSize size;
        QImage face;
        auto look = [&](QDialog* dialog) {
            label = Form_Of(dialog)->Label1->geometry();
            button = Form_Of(dialog)->Vela_Button_1->geometry();
            size = dialog->size();
            face = dialog->grab().toImage();
            QTest::keyClick(dialog, Qt::Key_Return);
        };
        When_Modal_Opens(this, look);
        Ask(Yes, No, "Soubor se záznamem dne je pokozený.##Chcete pokraèovat s novým dnem, nebo program ukonèit?");
        QVERIFY2(label.right() < 355 - 8, qPrintable(QString::number(label.right())));
        QVERIFY(label.height() > 3 * 12);  // the long line took two lines or more
        QVERIFY(label.bottom() < button.top());
        QCOMPARE(size.width(), 355);

        // The end-of-day summary has seven lines.
        When_Modal_Opens(this, look);
        Ask("OK", "", "Zaèátek dne: %0:s#Konec dne: %1:s##%2:s#%4:s##%3:s#%5:s",
            {"07:58", "16:31", "Celková doba: 08:33", "Pø" "esè" "as: 00:33", "8 hodin 33 minut", "33 minut"});
        QVERIFY(size.height() > 138);
        QCOMPARE(size.width(), 355);
        QVERIFY(label.bottom() < button.top());
        QCOMPARE(button.x(), 124);
        QCOMPARE(button.bottom(), size.height() - 1 - (138 - 121));
        // The background's band under the buttons moves down with them.
        const QImage background(Skin_Path("Message_Dialog_Form_Background.bmp"));
        QCOMPARE(face.pixelColor(5, size.height() - 5), background.pixelColor(5, 133));
        QCOMPARE(face.pixelColor(300, 3), background.pixelColor(300, 3));
    }

    void A_Single_Button_Answers_To_Its_Letter_And_Enter_Only()
    {
        bool still_open = false;
        When_Modal_Opens(this, [&still_open](QDialog* dialog) {
            QCOMPARE(Form_Of(dialog)->Hotkey_2(), std::uint16_t(0));
            QTest::keyClick(dialog, Qt::Key_N);
            QTest::keyClick(dialog, Qt::Key_Space);
            still_open = dialog->isVisible();
            QTest::keyClick(dialog, Qt::Key_O);
        });
        QCOMPARE(Ask("OK", ""), 1);
        QVERIFY(still_open);
        Press_When_Open(this, Qt::Key_Return);
        QCOMPARE(Ask("OK", ""), 1);
    }

    void Hashes_Break_Lines_And_Placeholders_Take_Their_Arguments()
    {
        QString shown;
        auto read = [&shown](QDialog* dialog) {
            shown = Form_Of(dialog)->Label1->text();
            QTest::keyClick(dialog, Qt::Key_Return);
        };
        When_Modal_Opens(this, read);
        Ask("OK", "", "Soubor#%0:s#nebyl nalezen.", {"Actual_Work_Log.log"});
        QCOMPARE(shown, QStringLiteral("Soubor\nActual_Work_Log.log\nnebyl nalezen."));

        When_Modal_Opens(this, read);
        Ask("OK", "", "%1:s - %0:s", {"\xE8" "ervenec", "P\xF8" "est\xE1vka"});
        QCOMPARE(shown, QStringLiteral("Přestávka - červenec"));

        // A "#" inside an argument is text, not a line break.
        When_Modal_Opens(this, read);
        Ask("OK", "", "Typ: %s", {"A#B"});
        QCOMPARE(shown, QStringLiteral("Typ: A#B"));
    }

    void A_Pattern_That_Does_Not_Fit_Its_Arguments_Is_Shown_Unformatted()
    {
        QString shown;
        bool button_shown = false;
        When_Modal_Opens(this, [&](QDialog* dialog) {
            shown = Form_Of(dialog)->Label1->text();
            button_shown = Form_Of(dialog)->Vela_Button_1->isVisible();
            QTest::keyClick(dialog, Qt::Key_Return);
        });
        QCOMPARE(Ask("OK", "", "Trv\xE1n\xED od %0:s do %1:s#mimo rozsah", {"00:10"}), 1);
        QCOMPARE(shown, QStringLiteral("Trvání od %0:s do %1:s\nmimo rozsah"));
        QVERIFY(button_shown);

        When_Modal_Opens(this, [&](QDialog* dialog) {
            shown = Form_Of(dialog)->Label1->text();
            QTest::keyClick(dialog, Qt::Key_Return);
        });
        Ask("OK", "", "%d minut", {"5"});
        QCOMPARE(shown, QStringLiteral("%d minut"));
    }

    void A_Message_Longer_Than_255_Characters_Is_Cut()
    {
        QString shown;
        When_Modal_Opens(this, [&](QDialog* dialog) {
            shown = Form_Of(dialog)->Label1->text();
            QTest::keyClick(dialog, Qt::Key_Return);
        });
        Ask("OK", "", std::string(250, 'x') + "yyyyyzzzzz");
        QCOMPARE(shown, QString(250, QLatin1Char('x')) + QStringLiteral("yyyyy"));
    }

    void The_Dialog_Opens_Where_The_Last_One_Was_Left()
    {
        Setup.Message_Dialog_Form_Left = 70;
        Setup.Message_Dialog_Form_Top = 80;
        QPoint opened_at;
        When_Modal_Opens(this, [&](QDialog* dialog) {
            opened_at = dialog->pos();
            Drag(dialog, QPoint(200, 60), QPoint(30, 40));
            QTest::keyClick(dialog, Qt::Key_Return);
        });
        Ask();
        QCOMPARE(opened_at, QPoint(70, 80));
        QCOMPARE(Setup.Message_Dialog_Form_Left, std::int16_t(100));
        QCOMPARE(Setup.Message_Dialog_Form_Top, std::int16_t(120));

        When_Modal_Opens(this, [&](QDialog* dialog) {
            opened_at = dialog->pos();
            QTest::keyClick(dialog, Qt::Key_Escape);
        });
        Ask();
        QCOMPARE(opened_at, QPoint(100, 120));
    }

    void Dragging_Stops_At_Every_Edge_Of_The_Work_Area()
    {
        const QRect area = Primary_Work_Area();
        QVERIFY(area.width() > 400 && area.height() > 200);
        Setup.Message_Dialog_Form_Left = std::int16_t(area.x() + 20);
        Setup.Message_Dialog_Form_Top = std::int16_t(area.y() + 20);
        QList<QPoint> positions;
        When_Modal_Opens(this, [&](QDialog* dialog) {
            Drag(dialog, QPoint(150, 10), QPoint(-500, -500));  // presses on the text drag as well
            positions << dialog->pos();
            Drag(dialog, QPoint(150, 60), QPoint(5000, 5000));
            positions << dialog->pos();
            Drag(dialog, QPoint(10, 10), QPoint(-60, -3000));
            positions << dialog->pos();
            QTest::keyClick(dialog, Qt::Key_Return);
        });
        Ask();
        QCOMPARE(positions.size(), 3);
        const int right_left = area.x() + area.width() - 355;
        const int bottom_top = area.y() + area.height() - 138;
        QCOMPARE(positions[0], area.topLeft());
        QCOMPARE(positions[1], QPoint(right_left, bottom_top));
        QCOMPARE(positions[2], QPoint(right_left - 60, area.y()));
        QCOMPARE(Setup.Message_Dialog_Form_Left, std::int16_t(right_left - 60));
        QCOMPARE(Setup.Message_Dialog_Form_Top, std::int16_t(area.y()));
    }

    void A_Remembered_Position_Off_The_Screen_Opens_Inside_It()
    {
        const QRect area = Primary_Work_Area();
        Setup.Message_Dialog_Form_Left = 30000;
        Setup.Message_Dialog_Form_Top = -500;
        QPoint opened_at;
        When_Modal_Opens(this, [&](QDialog* dialog) {
            opened_at = dialog->pos();
            QTest::keyClick(dialog, Qt::Key_Return);
        });
        Ask();
        QCOMPARE(opened_at, QPoint(area.x() + area.width() - 355, area.y()));
    }

    void The_Face_Shows_Background_Icon_And_Frame()
    {
        const QImage background(Skin_Path("Message_Dialog_Form_Background.bmp"));
        const QImage icon(Skin_Path("Error_Icon_Source.bmp"));
        QImage shown;
        When_Modal_Opens(this, [&](QDialog* dialog) {
            shown = dialog->grab().toImage().convertToFormat(QImage::Format_RGB32);
            QTest::keyClick(dialog, Qt::Key_Return);
        });
        Ask("OK", "", "Pracovn\xED typ nesm\xED b\xFDt pr\xE1zdn\xFD.", {}, "Error_Icon_Source.bmp", 70);
        if (!qEnvironmentVariableIsEmpty("ZL_GRAB_DIR"))
            shown.save(qEnvironmentVariable("ZL_GRAB_DIR") + QStringLiteral("/Message_Dialog.png"));
        QCOMPARE(shown.size(), QSize(355, 138));
        QCOMPARE(shown.pixelColor(0, 0), QColor(Qt::black));
        QCOMPARE(shown.pixelColor(354, 137), QColor(Qt::black));
        QCOMPARE(shown.pixelColor(300, 10), background.pixelColor(300, 10));
        QCOMPARE(shown.pixelColor(20 + 32, 20 + 32), icon.pixelColor(32, 32));
        QCOMPARE(shown.pixelColor(20 + 2, 20 + 40), icon.pixelColor(2, 40));
    }

    void A_Strip_Of_Frames_Plays_In_A_Loop_At_The_Given_Interval()
    {
        const QList<QColor> colours{Qt::red, Qt::green, Qt::blue, Qt::yellow, Qt::magenta};
        QVERIFY(Write_Strip(Skin_Path("Strip.bmp"), 320, colours));
        QList<int> frames;
        QList<QColor> painted;
        int interval = 0;
        bool running = false;
        When_Modal_Opens(this, [&](QDialog* dialog) {
            TMessage_Dialog_Form* form = Form_Of(dialog);
            QCOMPARE(form->Frame_Count(), 5);
            interval = form->Animation_Timer->interval();
            running = form->Animation_Timer->isActive();
            for (int tick = 0; tick < 7; ++tick)
            {
                QVERIFY(QTest::qWaitFor([&] { return form->Shown_Frame() != (frames.isEmpty() ? -1 : frames.last()); }, 1000));
                frames << form->Shown_Frame();
                painted << form->grab().toImage().pixelColor(52, 52);
            }
            QTest::keyClick(dialog, Qt::Key_Return);
        });
        Ask("OK", "", "x", {}, "Strip.bmp", 35);
        QCOMPARE(interval, 35);
        QVERIFY(running);
        // Frames follow each other and wrap from the last to the first.
        for (int i = 1; i < frames.size(); ++i) QCOMPARE(frames[i], (frames[i - 1] + 1) % 5);
        for (int i = 0; i < frames.size(); ++i) QCOMPARE(painted[i], colours[frames[i]]);
    }

    void A_Single_Picture_Is_Drawn_Whole_Without_Animation()
    {
        QImage picture(100, 70, QImage::Format_RGB32);
        picture.fill(Qt::cyan);
        picture.setPixelColor(99, 69, Qt::darkRed);
        QVERIFY(picture.save(Skin_Path("Still.bmp"), "BMP"));
        QImage shown;
        int frame_count = -1;
        bool running = true;
        When_Modal_Opens(this, [&](QDialog* dialog) {
            frame_count = Form_Of(dialog)->Frame_Count();
            running = Form_Of(dialog)->Animation_Timer->isActive();
            shown = dialog->grab().toImage();
            QTest::keyClick(dialog, Qt::Key_Return);
        });
        Ask("OK", "", "x", {}, "Still.bmp", 70);
        QCOMPARE(frame_count, 1);
        QVERIFY(!running);
        QCOMPARE(shown.pixelColor(20, 20), QColor(Qt::cyan));
        QCOMPARE(shown.pixelColor(119, 89), QColor(Qt::darkRed));
    }

    void A_Missing_Icon_Is_Protocolled_And_Leaves_The_Area_Empty()
    {
        int frame_count = -1;
        bool running = true;
        QColor icon_area;
        When_Modal_Opens(this, [&](QDialog* dialog) {
            frame_count = Form_Of(dialog)->Frame_Count();
            running = Form_Of(dialog)->Animation_Timer->isActive();
            icon_area = dialog->grab().toImage().pixelColor(52, 52);
            QTest::keyClick(dialog, Qt::Key_Escape);
        });
        QCOMPARE(Ask(Yes, No, "x", {}, "Missing_Icon.bmp", 70), 2);
        QCOMPARE(frame_count, 0);
        QVERIFY(!running);
        const QImage background(Skin_Path("Message_Dialog_Form_Background.bmp"));
        QCOMPARE(icon_area, background.pixelColor(52, 52));
        QCOMPARE(Errors->Lines().size(), std::size_t(1));
        QCOMPARE(Errors->Lines()[0], "14:05:09 - DISPLAY_MESSAGE_DIALOG - source file " + Paths->Skin_Directory +
                                         "Missing_Icon.bmp not found");
    }

    void A_Missing_Background_Is_Protocolled_In_Czech_And_The_Face_Is_White()
    {
        QVERIFY(QFile::remove(Skin_Path("Message_Dialog_Form_Background.bmp")));
        bool has_background = true;
        QColor face;
        When_Modal_Opens(this, [&](QDialog* dialog) {
            has_background = Form_Of(dialog)->Has_Background();
            face = dialog->grab().toImage().pixelColor(300, 3);
            QTest::keyClick(dialog, Qt::Key_A);
        });
        QCOMPARE(Ask(), 1);
        QVERIFY(!has_background);
        QCOMPARE(face, QColor(Qt::white));
        QCOMPARE(Errors->Lines().size(), std::size_t(1));
        QCOMPARE(Errors->Lines()[0], std::string("14:05:09 - Display_Message_Dialog - nebyl nalezen soubor se "
                                                 "zdrojem pozad\xED - Message_Dialog_Form_Background.bmp"));
    }
};

QTEST_MAIN(Message_Dialog_Test)
#include "Message_Dialog_test.moc"

// The creation of the main window: what a normal start leaves, and the early ends.
#include <QListWidget>
#include <sys/stat.h>

#include "Main_Form_Test_Support.h"
#include "ui/controls/Vela_Button.h"
#include "ui/controls/Work_Area.h"
#include "ui/tray/Notification_Icon.h"

namespace
{
std::vector<std::string> Protocol_Lines(const Program_Directory_Fixture& directory)
{
    const std::string text = Read_File(directory.Path("Error_Log.log"));
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size())
    {
        const std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos) break;
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

bool Ends_With(const std::string& text, const std::string& tail)
{
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}
}  // namespace

class Main_Form_Start_Test : public QObject
{
    Q_OBJECT

private slots:
    void A_First_Start_Begins_A_New_Day_Without_Questions()
    {
        Program_Directory_Fixture directory;
        directory.Add_Main_Setup("First_Start=1");
        directory.Write_Setup();
        Main_Form_Harness harness(directory);
        harness.Form->Form_Create();

        QVERIFY(!harness.Form->Termination_Requested());
        QVERIFY(harness.Form->Show_Main_Form());
        QVERIFY(harness.Dialogs->Questions.empty());
        QVERIFY(harness.Plain_Messages.empty());
        // The marker is gone, the other keys stay.
        const std::string setup = Read_File(directory.Path("Setup.ini"));
        QVERIFY(setup.find("First_Start") == std::string::npos);
        QVERIFY(setup.find("Language_File_Name=Test.lng") != std::string::npos);

        const Day_Log& log = harness.Form->Day_Log_Of_Main_Form();
        QCOMPARE(log.Size(), std::size_t(1));
        QCOMPARE(log.Records[0][Day_Name_Field], std::string("Thu"));
        QCOMPARE(log.Records[0][Time_Span_Field], std::string("09:00 - 09:00"));
        QCOMPARE(log.Records[0][Duration_Field], std::string("00:00"));

        // One row: 17 pixels of table, 52 around it; the bar's buttons lie below, out of sight.
        QCOMPARE(harness.Form->height(), 17 + 52);
        QCOMPARE(harness.Form->width(), 755);
        QCOMPARE(harness.Form->Data_Grid()->geometry(), QRect(6, 46, 743, 17));
        QCOMPARE(harness.Form->Add_Record_Button()->y(), 17 + 51);
        QVERIFY(harness.Form->Add_Record_Button()->isEnabled());
        QCOMPARE(harness.Form->Add_Record_Button()->Text(), QStringLiteral("Add"));
        QCOMPARE(harness.Form->Title_Label()->text(), QStringLiteral("Zentavo Logger 0.0.72"));
        QVERIFY(harness.Form->windowFlags() & Qt::FramelessWindowHint);
        QVERIFY(harness.Form->windowFlags() & Qt::Tool);
        QVERIFY(harness.Form->Update_Timer_Of_Main_Form().isActive());
        QCOMPARE(harness.Form->Update_Timer_Of_Main_Form().interval(), 500);
        QVERIFY(!harness.Form->Is_Fading());

        // Transparency 20: blend value 235; the tray hint is off while the window shows.
        QVERIFY(harness.Form->Alpha_Blend());
        QCOMPARE(int(harness.Form->Alpha_Blend_Value()), 235);
        QCOMPARE(harness.Form->Tray_Hint_Text(), QStringLiteral("Elapsed\r00:00"));
        QVERIFY(!harness.Form->Tray_Icon()->ShowHint());

        // The new day is stored at once, and the protocol was emptied at the start.
        QCOMPARE(Read_File(directory.Path("Actual_Work_Log.log")).size(), std::size_t(1536));
        QCOMPARE(Read_File(directory.Path("Error_Log.log")), std::string());
        QVERIFY(harness.Form->Error_List_Box()->count() >= 1);
        QVERIFY(harness.Form->Error_List_Box()->item(0)->text().contains(QStringLiteral("FILE_NOT_FOUND")));
    }

    void Todays_Day_Log_Is_Continued_With_Its_Sixteen_Rows_And_No_Room_To_Add()
    {
        Program_Directory_Fixture directory;
        directory.Write_Setup();
        Main_Form_Harness harness(directory);
        std::vector<Work_Record> records = {
            Make_Record("Thu", harness.Today(), "08:00 - 08:30", "TOTAL", "00:30", ""),
            Make_Record("", "", "", "DEFAULT", "00:00", "")};
        for (int index = 0; index < 14; ++index)
            records.push_back(Make_Record("", "", "", "Type " + std::to_string(index), "00:05", ""));
        directory.Write_Day_Log(records);
        harness.Form->Form_Create();

        const Day_Log& log = harness.Form->Day_Log_Of_Main_Form();
        QCOMPARE(log.Size(), std::size_t(16));
        QCOMPARE(int(log.Recorded_Minutes), 70);
        QCOMPARE(harness.Form->Data_Grid()->height(), 272);
        QCOMPARE(harness.Form->height(), 272 + 52);
        QVERIFY(!harness.Form->Add_Record_Button()->isEnabled());
        // The summary rows show the day from 08:00 to now, 09:00.
        QCOMPARE(log.Records[0][Time_Span_Field], std::string("08:00 - 09:00"));
        QCOMPARE(log.Records[0][Duration_Field], std::string("01:00"));
        QCOMPARE(log.Records[1][Duration_Field], std::string("- 00:10"));
    }

    void A_Day_Started_At_The_Last_Minute_Has_No_Room_To_Add()
    {
        Program_Directory_Fixture directory;
        directory.Add_Main_Setup("First_Start=1");
        directory.Write_Setup();
        Main_Form_Harness harness(directory, {2026, 3, 5, 23, 59, 0, 0});
        harness.Form->Form_Create();
        QVERIFY(!harness.Form->Add_Record_Button()->isEnabled());
    }

    void Anchors_Put_The_Window_Into_The_Corners_Of_The_Work_Area()
    {
        const QRect work_area = Primary_Work_Area();
        struct Case
        {
            int Anchor;
            int Left;
            int Top;
        };
        for (const Case& expected : {Case{1, 0, 0}, Case{2, work_area.width() - 755, 0},
                                     Case{3, 0, work_area.height() - 69},
                                     Case{4, work_area.width() - 755, work_area.height() - 69}})
        {
            Program_Directory_Fixture directory;
            directory.Add_Main_Setup("First_Start=1");
            directory.Add_Visual_Setup("Main_Form_Anchor=" + std::to_string(expected.Anchor));
            directory.Add_Visual_Setup("Main_Form_Left=33");
            directory.Add_Visual_Setup("Main_Form_Top=44");
            directory.Write_Setup();
            Main_Form_Harness harness(directory);
            harness.Form->Form_Create();
            QCOMPARE(harness.Form->pos(), QPoint(expected.Left, expected.Top));
        }
        // Without an anchor the stored position holds.
        Program_Directory_Fixture directory;
        directory.Add_Main_Setup("First_Start=1");
        directory.Add_Visual_Setup("Main_Form_Left=33");
        directory.Add_Visual_Setup("Main_Form_Top=44");
        directory.Write_Setup();
        Main_Form_Harness harness(directory);
        harness.Form->Form_Create();
        QCOMPARE(harness.Form->pos(), QPoint(33, 44));

        // A position on a screen that is gone is brought back into the work area.
        Program_Directory_Fixture far_directory;
        far_directory.Add_Main_Setup("First_Start=1");
        far_directory.Add_Visual_Setup("Main_Form_Left=9000");
        far_directory.Add_Visual_Setup("Main_Form_Top=-5000");
        far_directory.Write_Setup();
        Main_Form_Harness far_harness(far_directory);
        far_harness.Form->Form_Create();
        QCOMPARE(far_harness.Form->pos(), QPoint(Primary_Work_Area().right() + 1 - 755, Primary_Work_Area().top()));
    }

    void Transparency_Zero_Keeps_The_Window_Opaque_And_Tray_Start_Shows_Nothing()
    {
        Program_Directory_Fixture directory;
        directory.Add_Main_Setup("First_Start=1");
        directory.Add_Visual_Setup("Main_Form_Transparency=0");
        directory.Write_Setup();
        Main_Form_Harness harness(directory);
        harness.Form->Form_Create();
        QVERIFY(!harness.Form->Alpha_Blend());
        QCOMPARE(harness.Form->windowOpacity(), 1.0);

        Program_Directory_Fixture tray_directory;
        tray_directory.Add_Main_Setup("First_Start=1");
        tray_directory.Add_Main_Setup("Minimize_To_Tray_After_Start=1");
        tray_directory.Write_Setup();
        Main_Form_Harness tray_harness(tray_directory);
        tray_harness.Form->Form_Create();
        QVERIFY(!tray_harness.Form->Show_Main_Form());
        QVERIFY(tray_harness.Form->Alpha_Blend());
        QVERIFY(tray_harness.Tray.Icon_Present);
        QVERIFY(tray_harness.Form->Tray_Icon()->ShowHint());

        // Without a notification area the window shows all the same.
        Program_Directory_Fixture no_tray_directory;
        no_tray_directory.Add_Main_Setup("First_Start=1");
        no_tray_directory.Add_Main_Setup("Minimize_To_Tray_After_Start=1");
        no_tray_directory.Write_Setup();
        Main_Form_Harness no_tray_harness(no_tray_directory);
        no_tray_harness.Tray.Set_Available(false);
        no_tray_harness.Form->Form_Create();
        QVERIFY(no_tray_harness.Form->Show_Main_Form());
    }

    void A_Missing_Required_File_Ends_The_Start_With_Its_Protocol_And_No_Window()
    {
        Program_Directory_Fixture directory;
        directory.Add_Main_Setup("First_Start=1");
        directory.Write_Setup();
        Write_File(directory.Path("File_List"), "Skin/Header_Row.bmp\r\nNot_There.bmp\r\n\r\nSkin\r\n");
        Main_Form_Harness harness(directory);
        harness.Form->Form_Create();

        QVERIFY(harness.Form->Termination_Requested());
        QVERIFY(!harness.Form->Show_Main_Form());
        QVERIFY(!harness.Form->isVisible());
        QCOMPARE(harness.Quit_Requests, 1);
        QCOMPARE(harness.Plain_Messages.size(), std::size_t(1));
        QCOMPARE(harness.Plain_Messages[0], QStringLiteral("Some of source files needed for this application is missing.\r"
                                                           "It will be probably needed to reinstall the application.\r"
                                                           "Protocol will be saved to file Error_Log.log"));
        // The count line, then the names as written; an empty line and a directory count.
        const std::vector<std::string> lines = Protocol_Lines(directory);
        QCOMPARE(lines.size(), std::size_t(4));
        QVERIFY(Ends_With(lines[0], " - CHECK_FILE_AVAILABILITY - missing 3 file(s)"));
        QCOMPARE(lines[1], std::string("Not_There.bmp"));
        QCOMPARE(lines[2], std::string());
        QCOMPARE(lines[3], std::string("Skin"));
        // Setup.ini was not read: the marker is still there; no day log was written.
        QVERIFY(Read_File(directory.Path("Setup.ini")).find("First_Start") != std::string::npos);
        QVERIFY(!QFile::exists(directory.Path("Actual_Work_Log.log")));
    }

    void A_Missing_Empty_Or_Overlong_File_List_Ends_The_Start_With_A_Clear_Message()
    {
        std::string overlong;
        for (int index = 0; index < 257; ++index) overlong += "Skin/Header_Row.bmp\r\n";
        struct Case
        {
            const char* Content;  // nullptr: no File_List at all
            const char* Protocol_Tail;
            const char* Message_Part;
        };
        for (const Case& expected : {Case{nullptr, " - CHECK_FILE_AVAILABILITY - missing 1 file(s)", "missing"},
                                     Case{"", "File_List names no file", "File_List names no file."},
                                     Case{overlong.c_str(), "File_List names more than 256 files",
                                          "File_List names more than 256 files."}})
        {
            Program_Directory_Fixture directory;
            directory.Write_Setup();
            if (expected.Content)
                Write_File(directory.Path("File_List"), expected.Content);
            else
                QFile::remove(directory.Path("File_List"));
            Main_Form_Harness harness(directory);
            harness.Form->Form_Create();
            QVERIFY(harness.Form->Termination_Requested());
            QVERIFY(!harness.Form->Show_Main_Form());
            QCOMPARE(harness.Plain_Messages.size(), std::size_t(1));
            QVERIFY2(harness.Plain_Messages[0].contains(QString::fromLatin1(expected.Message_Part)),
                     qPrintable(harness.Plain_Messages[0]));
            const std::vector<std::string> lines = Protocol_Lines(directory);
            QVERIFY(!lines.empty());
            QVERIFY2(Ends_With(lines[0], expected.Protocol_Tail), lines[0].c_str());
            if (!expected.Content) QCOMPARE(lines.back(), std::string("File_List"));
        }
    }

    void A_Skin_That_Cannot_Be_Read_Ends_The_Start_Like_A_Missing_File()
    {
        Program_Directory_Fixture directory;
        directory.Write_Setup();
        Write_File(directory.Path("Skin/Header_Row.bmp"), "not a bitmap");
        Main_Form_Harness harness(directory);
        harness.Form->Form_Create();
        QVERIFY(harness.Form->Termination_Requested());
        const std::vector<std::string> lines = Protocol_Lines(directory);
        QVERIFY(lines.size() >= 2);
        QCOMPARE(lines.back(), std::string("Skin/Header_Row.bmp"));
    }

    void An_Error_Log_That_Cannot_Be_Created_Ends_The_Start_Before_Anything_Is_Read()
    {
        Program_Directory_Fixture directory;
        directory.Add_Main_Setup("First_Start=1");
        directory.Write_Setup();
        QVERIFY(QDir().mkdir(directory.Path("Error_Log.log")));  // a directory cannot be written as a file
        Main_Form_Harness harness(directory);
        harness.Form->Form_Create();
        QVERIFY(harness.Form->Termination_Requested());
        QCOMPARE(harness.Plain_Messages.size(), std::size_t(1));
        QCOMPARE(harness.Plain_Messages[0],
                 QString::fromStdString("Attempt to create the error log file " + directory.Directory_Path() +
                                        "Error_Log.log\rfailed."));
        QVERIFY(Read_File(directory.Path("Setup.ini")).find("First_Start") != std::string::npos);
    }

    void Ending_The_Program_At_The_Missing_Log_Question_Writes_The_Protocol_Only()
    {
        Program_Directory_Fixture directory;
        directory.Write_Setup();
        Main_Form_Harness harness(directory);
        harness.Dialogs->Answer(2);
        harness.Form->Form_Create();
        QVERIFY(harness.Form->Termination_Requested());
        QVERIFY(!harness.Form->Show_Main_Form());
        QCOMPARE(harness.Dialogs->Questions.size(), std::size_t(1));
        QCOMPARE(harness.Dialogs->Questions[0].Icon, std::string("Error_Icon_Source.bmp"));
        QVERIFY(!QFile::exists(directory.Path("Actual_Work_Log.log")));
        const std::vector<std::string> lines = Protocol_Lines(directory);
        QCOMPARE(lines.size(), std::size_t(1));
        QVERIFY(lines[0].find("FILE_NOT_FOUND") != std::string::npos);
        // A close or a termination signal now must not save an empty day over anything.
        harness.Form->End_Day_And_Quit();
        QVERIFY(!QFile::exists(directory.Path("Actual_Work_Log.log")));
    }
};

ZL_WIDGET_TEST_MAIN(Main_Form_Start_Test)
#include "TMain_Form_Start_test.moc"

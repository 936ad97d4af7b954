// The report's written forms: long and negative durations, shares, dates on the chart's
// axis, the CSV table, and the texts with their built-in fallbacks.
#include <QtTest>

#include "platform/Code_Page.h"
#include "platform/Ini_File.h"
#include "platform/Test_Temporary_Directory.h"
#include "ui/report/Report_Csv.h"
#include "ui/report/Report_Format.h"
#include "ui/report/Report_Texts.h"

class Report_Texts_And_Csv_Test : public QObject
{
    Q_OBJECT

private slots:
    void Durations_Keep_Their_Hours_Past_A_Day_And_Their_Sign()
    {
        QCOMPARE(Report_Minutes_Text(0), std::string("00:00"));
        QCOMPARE(Report_Minutes_Text(59), std::string("00:59"));
        QCOMPARE(Report_Minutes_Text(6000), std::string("100:00"));
        QCOMPARE(Report_Minutes_Text(-90), std::string("-01:30"));
        QCOMPARE(Report_Minutes_Text(std::numeric_limits<long long>::min()).front(), '-');
        QCOMPARE(Report_Share_Text(1, 3), std::string("33.3 %"));
        QCOMPARE(Report_Share_Text(2, 3), std::string("66.7 %"));
        QCOMPARE(Report_Share_Text(5, 0), std::string("0.0 %"));
    }

    void Day_Numbers_Run_Through_Leap_Days_And_Name_The_Week_Day()
    {
        QCOMPARE(Report_Day_Number({1970, 1, 1}), 0LL);
        QCOMPARE(Report_Day_Number({2024, 3, 1}) - Report_Day_Number({2024, 2, 28}), 2LL);
        QCOMPARE(Report_Day_Number({2100, 3, 1}) - Report_Day_Number({2100, 2, 28}), 1LL);
        QCOMPARE(Report_Day_Number({2027, 1, 1}) - Report_Day_Number({2026, 1, 1}), 365LL);
        for (const Calendar_Date date : {Calendar_Date{2000, 2, 29}, Calendar_Date{2026, 12, 31}, Calendar_Date{1969, 12, 31}})
            QVERIFY(Report_Date_Of_Day_Number(Report_Day_Number(date)) == date);
        QCOMPARE(Report_Week_Day({2026, 12, 7}), 1);   // a Monday
        QCOMPARE(Report_Week_Day({2026, 12, 13}), 0);  // a Sunday
        QCOMPARE(Report_Week_Day({1969, 12, 31}), 3);  // a Wednesday, before the count's start
    }

    void The_Csv_Holds_Every_Day_And_The_Total_With_Quoted_Utf8_Work_Types()
    {
        History_Report report;
        report.From = {2026, 3, 2};
        report.To = {2026, 3, 8};
        report.By_Work_Type = {{Utf8_To_Cp1250("Porada, \"týmová\""), 90}, {"Coding", 30}};
        History_Report_Day day;
        day.Date = {2026, 3, 3};
        day.Worked_Minutes = 120;
        day.Full_Time_Minutes = 480;
        day.Overtime_Minutes = -360;
        day.Balance_Minutes = -360;
        day.By_Work_Type = {{"Coding", 30}, {Utf8_To_Cp1250("Porada, \"týmová\""), 90}};
        report.Days = {day};
        report.Worked_Minutes = 120;
        report.Full_Time_Minutes = 480;
        report.Overtime_Balance_Minutes = -360;
        const std::string expected =
            "date,worked_minutes,full_time_minutes,overtime_minutes,balance_minutes,\"Porada, \"\"týmová\"\"\",Coding\r\n"
            "2026-03-03,120,480,-360,-360,90,30\r\n"
            "total,120,480,-360,-360,90,30\r\n";
        QCOMPARE(Report_Csv(report), expected);
        QCOMPARE(Csv_Field("line\nbreak"), std::string("\"line\nbreak\""));
    }

    void Missing_Texts_Fall_Back_To_Readable_Ones_And_Empty_Ones_Stay_Empty()
    {
        Test_Temporary_Directory directory;
        directory.Write("Own.lng", "[Report_Form]\r\n2=" + Utf8_To_Cp1250("Týden") + "\r\n3=\r\n");
        const Report_Texts texts = Report_Texts::Load(directory.File("Own.lng"));
        QCOMPARE(Cp1250_To_Utf8(texts[Report_Text::Week]), std::string("Týden"));
        QCOMPARE(texts[Report_Text::Month], std::string());
        QCOMPARE(texts[Report_Text::Year], std::string("Year"));
        const Report_Texts without_file = Report_Texts::Load(directory.File("None.lng"));
        for (int key = 1; key <= int(Report_Text::Last); ++key)
        {
            const std::string& text = without_file[Report_Text(key)];
            QVERIFY(text.size() > 2 && text != std::to_string(key));
        }
    }

    void The_Shipped_Language_Files_Give_Every_Text_In_Their_Own_Language()
    {
        for (const char* name : {"Czech.lng", "English.lng"})
        {
            const std::string path = std::string(ZL_SOURCE_DATA_DIR) + "/" + name;
            const Ini_File ini(path);
            for (int key = 1; key <= int(Report_Text::Last); ++key)
            {
                const std::optional<std::string> value = ini.Read_Value(Report_Language_Section, std::to_string(key));
                QVERIFY2(value && !value->empty() && value->size() <= 255, (std::string(name) + " " + std::to_string(key)).c_str());
            }
        }
        // The Czech file is Czech, in its code page: no text is the English fallback.
        const Report_Texts czech = Report_Texts::Load(std::string(ZL_SOURCE_DATA_DIR) + "/Czech.lng");
        for (int key = 1; key <= int(Report_Text::Last); ++key)
            QVERIFY2(czech[Report_Text(key)] != Report_Texts::Built_In(Report_Text(key)), std::to_string(key).c_str());
        QCOMPARE(Cp1250_To_Utf8(czech[Report_Text::Week]), std::string("Týden"));
    }
};

QTEST_MAIN(Report_Texts_And_Csv_Test)
#include "Report_Texts_And_Csv_test.moc"

// The report window's shares and its texts with their built-in fallbacks.
#include "ui/report/Report_Texts.h"

#include <QtTest>

#include "platform/Code_Page.h"
#include "platform/Ini_File.h"
#include "support/Test_Temporary_Directory.h"
#include "ui/report/Report_Charts.h"

class Report_Texts_Test : public QObject
{
    Q_OBJECT

private slots:
    void Shares_Round_To_A_Tenth_And_An_Empty_Whole_Gives_None()
    {
        QCOMPARE(Report_Share_Text(1, 3), std::string("33.3 %"));
        QCOMPARE(Report_Share_Text(2, 3), std::string("66.7 %"));
        QCOMPARE(Report_Share_Text(1, 2000), std::string("0.1 %"));
        QCOMPARE(Report_Share_Text(7, 7), std::string("100.0 %"));
        QCOMPARE(Report_Share_Text(5, 0), std::string("0.0 %"));
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
        // An older Czech file without the newer keys gets them in Czech.
        directory.Write("Czech.lng", "[Report_Form]\r\n2=" + Utf8_To_Cp1250("Týden") + "\r\n");
        QCOMPARE(Cp1250_To_Utf8(Report_Texts::Load(directory.File("Czech.lng"))[Report_Text::No_Finished_Days]),
                 std::string("Zatím žádné dokončené dny."));
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
                QVERIFY2(value && !value->empty() && value->size() <= 255,
                         (std::string(name) + " " + std::to_string(key)).c_str());
            }
        }
        // The Czech file is Czech, in its code page: no text is the English fallback.
        const Report_Texts czech = Report_Texts::Load(std::string(ZL_SOURCE_DATA_DIR) + "/Czech.lng");
        for (int key = 1; key <= int(Report_Text::Last); ++key)
            QVERIFY2(czech[Report_Text(key)] != Report_Texts::Built_In(Report_Text(key)), std::to_string(key).c_str());
        QCOMPARE(Cp1250_To_Utf8(czech[Report_Text::Week]), std::string("Týden"));
    }
};

QTEST_MAIN(Report_Texts_Test)
#include "Report_Texts_test.moc"

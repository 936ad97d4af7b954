// The locale's patterns as the day log uses them: what is written must read back.
#include "ui/main/System_Date_Time_Patterns.h"

#include "Main_Form_Test_Support.h"

class System_Date_Time_Patterns_Test : public QObject
{
    Q_OBJECT

private slots:
    void Every_Locale_Pattern_Gives_A_Date_That_Reads_Back()
    {
        const Date_Time day{2026, 12, 6, 0, 0, 0, 0};
        for (const char* locale_pattern :
             {"d MMM yyyy", "dddd d. MMMM yyyy", "d.M.yy", "dd/MM/yyyy", "M/d/yy", "yyyy-MM-dd"})
        {
            const Date_Time_Patterns patterns = Patterns_From_Locale(locale_pattern, "HH:mm:ss t");
            const std::string written = Format_Date(day, patterns.Short_Date);
            const std::optional<Date_Time> read = Parse_Date(written, patterns.Short_Date);
            QVERIFY2(read.has_value(), locale_pattern);
            QVERIFY(read->Same_Date(day));
            QVERIFY2(written.find("2026") != std::string::npos, locale_pattern);
        }
        QCOMPARE(Patterns_From_Locale("d MMM yyyy", "").Short_Date, Date_Time_Patterns{}.Short_Date);
        QCOMPARE(Patterns_From_Locale("d.M.yy", "").Short_Date, std::string("d.M.yyyy"));
        QCOMPARE(Patterns_From_Locale("", "HH:mm:ss t").Long_Time, std::string("HH:mm:ss"));
    }
};

QTEST_MAIN(System_Date_Time_Patterns_Test)
#include "System_Date_Time_Patterns_test.moc"

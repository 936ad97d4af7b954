#include <gtest/gtest.h>

#include "History_Test_Support.h"
#include "history/Calendar.h"
#include "history/Full_Time_Calendar.h"
#include "history/History_Access.h"
#include "history/History_Csv.h"
#include "history/History_Period.h"

namespace
{
History_Day Day(int month, int day_of_month, long long worked, std::vector<Work_Type_Minutes> types)
{
    return {{2026, month, day_of_month}, worked, std::move(types)};
}
}  // namespace

TEST(History_Period, WeeksRunFromMondayToSundayAcrossMonthsAndYears)
{
    // Thursday 1.1.2026: its week began on Monday 29.12.2025.
    const History_Period week = History_Period_Containing(History_Period_Kind::Week, {2026, 1, 1});
    EXPECT_EQ(week.From, (Calendar_Date{2025, 12, 29}));
    EXPECT_EQ(week.To, (Calendar_Date{2026, 1, 4}));
    EXPECT_EQ(Iso_Day_Of_Week(week.From), 1);
    EXPECT_EQ(Previous_History_Period(week).From, (Calendar_Date{2025, 12, 22}));
    EXPECT_EQ(Next_History_Period(week).To, (Calendar_Date{2026, 1, 11}));
    // A Sunday belongs to the week that ends with it.
    EXPECT_EQ(History_Period_Containing(History_Period_Kind::Week, {2026, 12, 13}).From, (Calendar_Date{2026, 12, 7}));
}

TEST(History_Period, MonthsAndYearsStepOverTheirBoundsAndLeapDays)
{
    const History_Period february = History_Period_Containing(History_Period_Kind::Month, {2028, 2, 10});
    EXPECT_EQ(february.To, (Calendar_Date{2028, 2, 29}));
    EXPECT_EQ(Previous_History_Period(Previous_History_Period(february)).From, (Calendar_Date{2027, 12, 1}));
    EXPECT_EQ(Next_History_Period(History_Period_Containing(History_Period_Kind::Month, {2026, 12, 31})).To,
              (Calendar_Date{2027, 1, 31}));
    const History_Period year = History_Period_Containing(History_Period_Kind::Year, {2026, 6, 1});
    EXPECT_EQ(Previous_History_Period(year), (History_Period{History_Period_Kind::Year, {2025, 1, 1}, {2025, 12, 31}}));
    const History_Period all = History_Period_Containing(History_Period_Kind::All, {2026, 6, 1});
    EXPECT_EQ(Next_History_Period(all), all);
    // Days between far dates agree with stepping day by day.
    Calendar_Date date{1999, 12, 25};
    for (int step = 0; step < 800; ++step) date = Add_Days(date, 1);
    EXPECT_EQ(date, Add_Days({1999, 12, 25}, 800));
    EXPECT_EQ(Parse_Iso_Date("2026-02-29"), std::nullopt);
    EXPECT_EQ(Parse_Iso_Date("2028-02-29"), (Calendar_Date{2028, 2, 29}));
}

// Worked time against the full-time target, day by day, and the running balance; work
// types summed over the days and ordered by time.
TEST(History_Report, PeriodSumsTypesAndRunsTheBalanceOverStoredDaysOnly)
{
    const std::vector<History_Day> days{
        Day(11, 27, 400, {{"Coding", 400}}),                  // before the week
        Day(11, 30, 510, {{"Office", 30}, {"Coding", 480}}),  // Monday
        Day(12, 1, 420, {{"Meeting", 60}, {"Coding", 360}}),  // Tuesday; Wednesday not stored
        Day(12, 3, 480, {{"Meeting", 600}}),                  // overbooked Thursday
    };
    const History_Report report =
        Compute_History_Report(days, History_Period_Containing(History_Period_Kind::Week, {2026, 12, 2}), 480);
    EXPECT_EQ(report.From, (Calendar_Date{2026, 11, 30}));
    ASSERT_EQ(report.Days.size(), 3u);
    EXPECT_EQ(report.Worked_Minutes, 510 + 420 + 480);
    EXPECT_EQ(report.Full_Time_Minutes, 3 * 480);
    EXPECT_EQ(report.Overtime_Balance_Minutes, 30 - 60 + 0);
    EXPECT_EQ((std::vector<long long>{report.Days[0].Balance_Minutes, report.Days[1].Balance_Minutes,
                                      report.Days[2].Balance_Minutes}),
              (std::vector<long long>{30, -30, -30}));
    EXPECT_EQ(report.By_Work_Type, (std::vector<Work_Type_Minutes>{{"Coding", 840}, {"Meeting", 660}, {"Office", 30}}));

    EXPECT_EQ(Work_Type_Csv(report),
              "work_type,minutes\nCoding,840\nMeeting,660\nOffice,30\ntotal,1530\nbooked_beyond_worked,120\n");
    EXPECT_EQ(Days_Csv(report),
              "date,worked_minutes,full_time_minutes,overtime_minutes,balance_minutes,state\n"
              "2026-11-30,510,480,30,30,stored\n2026-12-01,420,480,-60,-30,stored\n"
              "2026-12-03,480,480,0,-30,stored\n");

    const History_Report all =
        Compute_History_Report(days, History_Period_Containing(History_Period_Kind::All, {}), 480);
    EXPECT_EQ(all.From, (Calendar_Date{2026, 11, 27}));
    EXPECT_EQ(all.To, (Calendar_Date{2026, 12, 3}));
    EXPECT_EQ(all.Overtime_Balance_Minutes, -80 - 30);
}

TEST(History_Csv, FieldsAreQuotedAsCsvReadersExpectAndWorkTypesBecomeUtf8)
{
    History_Report report;
    report.By_Work_Type = {{"Sch\xf9zka, \"velk\xe1\"", 90}, {"a\nb", 1}};
    EXPECT_EQ(Work_Type_Csv(report),
              "work_type,minutes\n\"Sch\xc5\xaf"
              "zka, \"\"velk\xc3\xa1\"\"\",90\n\"a\nb\",1\ntotal,91\n");
    EXPECT_EQ(Minutes_As_Hours_Text(-61), "-01:01");
    EXPECT_EQ(Minutes_As_Hours_Text(6000), "100:00");
}

// The day log's day counts its time but carries no target until it is stored: a Tuesday
// morning's week is not a day short.
TEST(History_Report, TheDayInProgressJoinsTheTargetOnlyOnceStored)
{
    std::vector<History_Day> days{Day(11, 30, 480, {{"Coding", 480}}), Day(12, 1, 30, {{"Coding", 30}})};
    days[1].In_Progress = true;
    const History_Report week =
        Compute_History_Report(days, History_Period_Containing(History_Period_Kind::Week, {2026, 12, 1}), 480);
    EXPECT_EQ(week.Full_Time_Minutes, 480);
    EXPECT_EQ(week.Overtime_Balance_Minutes, 30);
    EXPECT_EQ(week.Worked_Minutes, 510);
    EXPECT_EQ(Days_Csv(week),
              "date,worked_minutes,full_time_minutes,overtime_minutes,balance_minutes,state\n"
              "2026-11-30,480,480,0,0,stored\n2026-12-01,30,0,30,30,in_progress\n");
}

// Only work days that are no day off carry the target: work on a Saturday or a holiday is
// overtime whole.
TEST(History_Report, WorkDaysAndDaysOffDecideWhichDaysCarryTheTarget)
{
    const std::vector<History_Day> days{Day(12, 4, 480, {{"A", 480}}), Day(12, 5, 120, {{"A", 120}}),
                                        Day(12, 8, 60, {{"A", 60}})};
    Full_Time_Calendar calendar;
    calendar.Days_Off = Parse_Days_Off("2026-12-08 Holiday\r\n# note\n2026-13-01\n2026-12-0800\n 2026-12-24\n");
    EXPECT_EQ(calendar.Days_Off, (std::vector<Calendar_Date>{{2026, 12, 8}, {2026, 12, 24}}));
    const History_Period period = Custom_History_Period({2026, 12, 1}, {2026, 12, 31});
    const History_Report report = Compute_History_Report(days, period, calendar, "(no type)");
    EXPECT_EQ(report.Full_Time_Minutes, 480);
    EXPECT_EQ(report.Overtime_Balance_Minutes, 0 + 120 + 60);

    // A week of Monday to Thursday: Friday's work is overtime as well.
    calendar.Work_Days = *Parse_Work_Days(" 1, 2,3,4");
    EXPECT_EQ(Compute_History_Report(days, period, calendar, "").Overtime_Balance_Minutes, 480 + 120 + 60);
    for (const char* wrong : {"", "1,,2", "0,1", "1,8", "1;2", "1,", "Monday"})
        EXPECT_FALSE(Parse_Work_Days(wrong)) << wrong;
}

// Types that differ only in letter case or trailing blanks are one, named as first seen;
// an empty type has a name of its own; a day booked beyond its worked time says by how much.
TEST(History_Report, TypesFoldAndOverbookingIsShown)
{
    const std::vector<History_Day> days{
        Day(12, 1, 120, {{"Porada", 60}, {"", 60}}),
        Day(12, 2, 60, {{"PORADA  ", 90}, {"\xC8ten\xED", 30}}),  // booked 120 of 60
        Day(12, 3, 60, {{"porada", 30}, {"\xE8ten\xED ", 30}}),
    };
    const History_Report report = Compute_History_Report(days, Custom_History_Period({2026, 12, 1}, {2026, 12, 3}),
                                                         Full_Time_Calendar{}, "(bez typu)");
    EXPECT_EQ(report.By_Work_Type,
              (std::vector<Work_Type_Minutes>{{"Porada", 180}, {"(bez typu)", 60}, {"\xC8ten\xED", 60}}));
    EXPECT_EQ(report.Booked_Beyond_Worked_Minutes, 60);
    EXPECT_EQ(report.Days[1].By_Work_Type, (std::vector<Work_Type_Minutes>{{"PORADA  ", 90}, {"\xC8ten\xED", 30}}));
    EXPECT_NE(Work_Type_Csv(report).find("(bez typu),60\n"), std::string::npos);
    EXPECT_NE(Work_Type_Csv(report).find("total,300\nbooked_beyond_worked,60\n"), std::string::npos);
}

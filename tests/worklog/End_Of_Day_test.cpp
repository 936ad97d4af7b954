#include "worklog/End_Of_Day.h"

#include "Work_Log_Test_Support.h"
#include "platform/Code_Page.h"

namespace
{

using Summary = std::array<std::string, 6>;

class End_Of_Day : public Work_Log_Test
{
protected:
    End_Of_Day()
    {
        Log.Start_Day(Make_Record("Monday", "07.12.2026", "08:00 - 10:05", "Office", "02:05", ""), 480);
        Log.Refresh_Summary_Rows(605);
        Texts.Message_Strings[15] = "%0:s-%1:s#%2:s#%3:s#%4:s#%5:s";
        Texts.Message_Strings[16] = "Total#: %s";
        Texts.Message_Strings[17] = "Over#time: %s";
        Texts.Message_Strings[18] = "No#overtime";
    }

    Summary Summary_For(Minute_Of_Day start, Minute_Of_Day now)
    {
        Log.Start_Day(Log[0], start);
        Log.Refresh_Summary_Rows(now);
        return Day_Summary(Context, Log);
    }

    std::string Saved_Line() const
    {
        return " - SAVE_ACTUAL_WORK_LOG - OK - actual log successfully saved to " + Day_Log_Path();
    }

    Day_Log Log;
};

}  // namespace

TEST_F(End_Of_Day, SaveAtCloseAddsTheSuccessLineAndRetriesOnTheFirstButtonOfSix)
{
    EXPECT_TRUE(Save_Day_Log_At_Close(Context, Log));
    EXPECT_EQ(Lines(), std::vector<std::string>{Saved_Line()});
    EXPECT_EQ(Read(Day_Log_Path()), Encode_Work_Record(Log[0]));
    EXPECT_TRUE(Dialogs.Calls.empty());

    Make_Read_Only(Day_Log_Path());
    Dialogs.Answer(1);
    Dialogs.Answer(1, [&] { ::chmod(Day_Log_Path().c_str(), 0644); });
    EXPECT_TRUE(Save_Day_Log_At_Close(Context, Log));
    const Dialog_Call asked{"Error_Icon_Source.bmp", 70, "message 6", "button 4", "button 6", {}};
    EXPECT_EQ(Dialogs.Calls, (std::vector<Dialog_Call>{asked, asked}));
    const std::string denied = " - SAVE_ACTUAL_WORK_LOG - REWRITE - ERROR_ACCESS_DENIED - access to " + Day_Log_Path() +
                               " denied, file is read only";
    EXPECT_EQ(Lines(), (std::vector<std::string>{Saved_Line(), denied, denied, Saved_Line()}));
}

TEST_F(End_Of_Day, SecondButtonClosesWithoutSavedDayOrSuccessLine)
{
    Files.Fail_Write_Number = 1;
    Dialogs.Answer(2);
    EXPECT_FALSE(Save_Day_Log_At_Close(Context, Log));
    ASSERT_EQ(Lines().size(), 1u);
    EXPECT_EQ(Lines()[0].rfind(" - SAVE_ACTUAL_WORK_LOG - WRITE - UNEXPECTED_ERROR", 0), 0u);
    EXPECT_FALSE(std::filesystem::exists(Day_Log_Path()));
}

TEST_F(End_Of_Day, DayThatWasNeverLoadedIsNotSaved)
{
    Write(Day_Log_Path(), "a past day not exported yet");
    EXPECT_FALSE(Save_Day_Log_At_Close(Context, Day_Log{}));
    EXPECT_EQ(Read(Day_Log_Path()), "a past day not exported yet");
    EXPECT_TRUE(Errors.Lines().empty());
}

TEST_F(End_Of_Day, SummaryTellsTotalAndOvertimeAndInCzechAlsoInWords)
{
    const auto czech = [](const char* utf8) {
        return Utf8_To_Cp1250(utf8);
    };
    const std::string no_overtime =
        "Tak\x9E"
        "e nem\xE1te \x9E\xE1"
        "dn\xFD p\xF8"
        "es\xE8"
        "as...";
    const std::string two_hours = czech("Což je celkem 2 hodiny.");
    const std::tuple<bool, int, int, Summary> cases[] = {
        {true,
         480,
         605,
         {"08:00", "10:05", "Total: 02:05", "Noovertime", czech("Což je celkem 2 hodiny a 5 minut."), no_overtime}},
        {true,
         480,
         1021,
         {"08:00", "17:01", "Total: 09:01", "Overtime: 01:01", czech("Což je celkem 9 hodin a 1 minuta."),
          czech("Takže máte 1 hodinu a 1 minutu přesčas.")}},
        {true,
         480,
         483,
         {"08:00", "08:03", "Total: 00:03", "Noovertime", czech("Což jsou celkem 3 minuty."), no_overtime}},
        {true, 0, 120, {"00:00", "02:00", "Total: 02:00", "Noovertime", two_hours, no_overtime}},    // minutes decide
        {true, 1380, 60, {"23:00", "01:00", "Total: 02:00", "Noovertime", two_hours, no_overtime}},  // across midnight
        {false, 0, 480, {"00:00", "08:00", "Total: 08:00", "Noovertime", "", ""}},  // the full time is no overtime
        {false, 0, 481, {"00:00", "08:01", "Total: 08:01", "Overtime: 00:01", "", ""}},
    };
    for (const auto& [is_czech, start, now, expected] : cases)
    {
        Texts.Is_Czech_Language = is_czech;
        EXPECT_EQ(Summary_For(start, now), expected) << start << " to " << now;
    }
    EXPECT_EQ(czech("Takže nemáte žádný přesčas..."), no_overtime);

    Texts.Message_Strings[16] = "%d";
    Texts.Message_Strings[17] = "%1:s";
    EXPECT_EQ(Summary_For(0, 600), (Summary{"00:00", "10:00", "", "", "", ""}));  // patterns that do not fit
}

TEST_F(End_Of_Day, SummaryIsShownOnlyWhenSetupAsksAndTimeHasPassed)
{
    EXPECT_FALSE(Show_Day_Summary(Context, Log));  // no Setup.ini, no key
    Write(Paths.File("Setup.ini"), "[Main_Setup]\r\nDisplay_End_Splash_Screen=0\r\n");
    EXPECT_FALSE(Show_Day_Summary(Context, Log));
    Write(Paths.File("Setup.ini"), "[Main_Setup]\r\nDisplay_End_Splash_Screen=1\r\n");
    Log.Refresh_Summary_Rows(480);
    EXPECT_FALSE(Show_Day_Summary(Context, Log));
    EXPECT_TRUE(Dialogs.Calls.empty());

    Log.Refresh_Summary_Rows(605);
    Dialogs.Answer(1);
    EXPECT_TRUE(Show_Day_Summary(Context, Log));
    const Dialog_Call shown{"Summary_Icon_Source.bmp",
                            100,
                            Texts.Message_Strings[15],
                            "button 1",
                            "",
                            {"08:00", "10:05", "Total: 02:05", "Noovertime", "", ""}};
    EXPECT_EQ(Dialogs.Calls, std::vector<Dialog_Call>{shown});
    EXPECT_TRUE(Errors.Lines().empty());
}

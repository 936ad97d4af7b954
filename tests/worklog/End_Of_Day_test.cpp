#include "worklog/End_Of_Day.h"

#include "platform/Code_Page.h"
#include "Work_Log_Test_Support.h"

namespace
{

class End_Of_Day : public Work_Log_Test
{
protected:
    End_Of_Day()
    {
        Log.Append_Record(Make_Record("Monday", "07.12.2026", "08:00 - 10:05", "Office", "02:05", ""));
        Texts.Message_Strings[15] = "%0:s-%1:s#%2:s#%3:s#%4:s#%5:s";
        Texts.Message_Strings[16] = "Total#: %s";
        Texts.Message_Strings[17] = "Over#time: %s";
        Texts.Message_Strings[18] = "No#overtime";
    }

    void Enable_Summary(const char* value = "1")
    {
        Write_File_Bytes(Paths.File("Setup.ini"), std::string("[Main_Setup]\r\nDisplay_End_Splash_Screen=") + value + "\r\n");
    }

    std::array<std::string, 6> Summary_For(Minute_Of_Day start, Minute_Of_Day now)
    {
        Log.Day_Start_Minute = start;
        Log.Current_Minute = now;
        return Day_Summary(Context, Log);
    }

    static std::string Czech(const char* utf8) { return Utf8_To_Cp1250(utf8); }

    Day_Log Log;
};

}  // namespace

TEST_F(End_Of_Day, SaveAtCloseAddsTheSuccessLine)
{
    EXPECT_TRUE(Save_Day_Log_At_Close(Context, Log));
    EXPECT_EQ(Lines(), (std::vector<std::string>{" - SAVE_ACTUAL_WORK_LOG - OK - actual log successfully saved to " +
                                                 Day_Log_Path()}));
    EXPECT_EQ(Read_File_Bytes(Day_Log_Path()), Encode_Work_Record(Log.Records[0]));
    EXPECT_TRUE(Dialogs.Calls.empty());
}

TEST_F(End_Of_Day, FailedSaveAsksSixAndRetriesOnTheFirstButton)
{
    Write_File_Bytes(Day_Log_Path(), "old");
    Make_Read_Only(Day_Log_Path());
    Dialogs.Answer(1);
    Dialogs.Answer(1, [&] { ::chmod(Day_Log_Path().c_str(), 0644); });
    EXPECT_TRUE(Save_Day_Log_At_Close(Context, Log));
    ASSERT_EQ(Dialogs.Calls.size(), 2u);
    const Dialog_Call& asked = Dialogs.Calls[0];
    EXPECT_EQ(asked.Icon, "Error_Icon_Source.bmp");
    EXPECT_EQ(asked.Interval, 70);
    EXPECT_EQ(asked.Message, "message 6");
    EXPECT_EQ(asked.First_Button, "button 4");
    EXPECT_EQ(asked.Second_Button, "button 6");
    EXPECT_TRUE(asked.Arguments.empty());
    const std::string denied = " - SAVE_ACTUAL_WORK_LOG - REWRITE - ERROR_ACCESS_DENIED - access to " + Day_Log_Path() +
                               " denied, file is read only";
    EXPECT_EQ(Lines(), (std::vector<std::string>{denied, denied,
                                                 " - SAVE_ACTUAL_WORK_LOG - OK - actual log successfully saved to " +
                                                     Day_Log_Path()}));
}

TEST_F(End_Of_Day, SecondButtonClosesWithoutSavedDayOrSuccessLine)
{
    Files.Fail_Write_Number = 1;
    Dialogs.Answer(2);
    EXPECT_FALSE(Save_Day_Log_At_Close(Context, Log));
    ASSERT_EQ(Lines().size(), 1u);
    EXPECT_NE(Lines()[0].find(" - SAVE_ACTUAL_WORK_LOG - WRITE - UNEXPECTED_ERROR"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(Day_Log_Path()));
}

TEST_F(End_Of_Day, DayThatWasNeverLoadedIsNotSaved)
{
    Write_File_Bytes(Day_Log_Path(), "a past day not exported yet");
    EXPECT_FALSE(Save_Day_Log_At_Close(Context, Day_Log{}));
    EXPECT_EQ(Read_File_Bytes(Day_Log_Path()), "a past day not exported yet");
    EXPECT_TRUE(Errors.Lines().empty());
}

TEST_F(End_Of_Day, CzechSummaryWithoutOvertime)
{
    Texts.Is_Czech_Language = true;
    const std::array<std::string, 6> summary = Summary_For(480, 605);  // 125 minutes
    EXPECT_EQ(summary[0], "08:00");
    EXPECT_EQ(summary[1], "10:05");
    EXPECT_EQ(summary[2], "Total: 02:05");
    EXPECT_EQ(summary[3], "Noovertime");
    EXPECT_EQ(summary[4], Czech("Což je celkem 2 hodiny a 5 minut."));
    EXPECT_EQ(summary[5], Czech("Takže nemáte žádný přesčas..."));
    EXPECT_EQ(summary[5], "Tak\x9E" "e nem\xE1te \x9E\xE1" "dn\xFD p\xF8" "es\xE8" "as...");
}

TEST_F(End_Of_Day, CzechSummaryWithOvertime)
{
    Texts.Is_Czech_Language = true;
    const std::array<std::string, 6> summary = Summary_For(480, 1021);  // 541 minutes
    EXPECT_EQ(summary[3], "Overtime: 01:01");
    EXPECT_EQ(summary[4], Czech("Což je celkem 9 hodin a 1 minuta."));
    EXPECT_EQ(summary[5], Czech("Takže máte 1 hodinu a 1 minutu přesčas."));

    EXPECT_EQ(Summary_For(480, 483)[4], Czech("Což jsou celkem 3 minuty."));
    EXPECT_EQ(Summary_For(0, 120)[4], Czech("Což je celkem 2 hodiny."));  // the rule looks at minutes, not hours
}

TEST_F(End_Of_Day, ElapsedEqualToFullTimeIsNoOvertime)
{
    Program_Settings.Full_Time_Value = 480;
    EXPECT_EQ(Summary_For(0, 480)[3], "Noovertime");
    EXPECT_EQ(Summary_For(0, 481)[3], "Overtime: 00:01");
}

TEST_F(End_Of_Day, OtherLanguageLeavesCzechSentencesEmptyAndBadPatternsGiveEmptyTexts)
{
    Texts.Message_Strings[16] = "%d";
    Texts.Message_Strings[17] = "%1:s";
    const std::array<std::string, 6> summary = Summary_For(0, 600);
    EXPECT_EQ(summary[2], "");
    EXPECT_EQ(summary[3], "");
    EXPECT_EQ(summary[4], "");
    EXPECT_EQ(summary[5], "");
}

TEST_F(End_Of_Day, CloseAfterMidnightCountsOnAcrossIt)
{
    Texts.Is_Czech_Language = true;
    const std::array<std::string, 6> summary = Summary_For(1380, 60);  // 23:00 to 01:00
    EXPECT_EQ(summary[0], "23:00");
    EXPECT_EQ(summary[1], "01:00");
    EXPECT_EQ(summary[2], "Total: 02:00");
    EXPECT_EQ(summary[4], Czech("Což je celkem 2 hodiny."));
}

TEST_F(End_Of_Day, SummaryIsShownOnlyWhenSetupAsksAndTimeHasPassed)
{
    Log.Day_Start_Minute = 480;
    Log.Current_Minute = 605;
    EXPECT_FALSE(Show_Day_Summary(Context, Log));  // no Setup.ini, no key
    Enable_Summary("0");
    EXPECT_FALSE(Show_Day_Summary(Context, Log));
    Enable_Summary();
    Log.Current_Minute = 480;
    EXPECT_FALSE(Show_Day_Summary(Context, Log));
    EXPECT_TRUE(Dialogs.Calls.empty());

    Log.Current_Minute = 605;
    Dialogs.Answer(1);
    EXPECT_TRUE(Show_Day_Summary(Context, Log));
    ASSERT_EQ(Dialogs.Calls.size(), 1u);
    const Dialog_Call& shown = Dialogs.Calls[0];
    EXPECT_EQ(shown.Icon, "Summary_Icon_Source.bmp");
    EXPECT_EQ(shown.Interval, 100);
    EXPECT_EQ(shown.Message, Texts.Message_Strings[15]);
    EXPECT_EQ(shown.First_Button, "button 1");
    EXPECT_EQ(shown.Second_Button, "");
    EXPECT_EQ(shown.Arguments, (std::vector<std::string>{"08:00", "10:05", "Total: 02:05", "Noovertime", "", ""}));
    EXPECT_TRUE(Errors.Lines().empty());
}

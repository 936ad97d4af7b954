#include "worklog/Day_Start.h"

#include "platform/Code_Page.h"

#include "Work_Log_Test_Support.h"

namespace
{

const Work_Record Day_Row = Make_Record("Monday", "07.12.2026", "07:45 - 09:10", "Day label", "01:25", "");
const Work_Record Unassigned_Row = Make_Record("", "", "", "Unassigned", "- 00:20", "its remark");
const Work_Record First_User_Row = Make_Record("", "", "", "Coding", "01:00", "\x81\x9A" "a");  // undefined and "š"
const Work_Record Second_User_Row = Make_Record("", "", "", "Meeting", "00:30", "");

Work_Record With_Field(Work_Record record, std::size_t field, std::string text)
{
    record[field] = std::move(text);
    return record;
}

class Day_Start : public Work_Log_Test
{
protected:
    Load_Day_Log_Result Load() { return Load_Day_Log(Context, Log); }

    // A new day at the clock's time: Monday 7.12.2026 09:30.
    void Expect_New_Day()
    {
        ASSERT_EQ(Log.Size(), 1u);
        EXPECT_EQ(Log.Records[0], Make_Record("Monday", "07.12.2026", "09:30 - 09:30", Start_Up.Default_Work_Type,
                                              "00:00", Start_Up.Default_Remark));
        EXPECT_EQ(Log.Day_Start_Minute, 570);
        EXPECT_EQ(Log.Recorded_Minutes, 0);
    }

    void Expect_Kept_Aside(const std::string& content)
    {
        EXPECT_FALSE(std::filesystem::exists(Day_Log_Path()));
        EXPECT_EQ(Read_File_Bytes(Day_Log_Path() + ".invalid"), content);
        EXPECT_EQ(Lines().back(), " - OPEN_ACTUAL_WORK_LOG - KEEP - OK - file " + Day_Log_Path() + " kept as " +
                                      Day_Log_Path() + ".invalid");
    }

    void Expect_Question(std::size_t call, int message, int first, int second, std::vector<std::string> arguments)
    {
        ASSERT_LT(call, Dialogs.Calls.size());
        const Dialog_Call& asked = Dialogs.Calls[call];
        EXPECT_EQ(asked.Icon, "Error_Icon_Source.bmp");
        EXPECT_EQ(asked.Interval, 70);
        EXPECT_EQ(asked.Message, Texts.Message_Strings[message]);
        EXPECT_EQ(asked.First_Button, Texts.Message_Buttons[first]);
        EXPECT_EQ(asked.Second_Button, Texts.Message_Buttons[second]);
        EXPECT_EQ(asked.Arguments, arguments);
    }

    Day_Log Log;
};

}  // namespace

TEST_F(Day_Start, FirstStartWithoutFileOnlyLogsAndBeginsANewDay)
{
    Start_Up.First_Start = true;
    Start_Up.Default_Work_Type = "Office";
    Start_Up.Default_Remark = "plain day";
    const Load_Day_Log_Result result = Load();
    EXPECT_EQ(result.Outcome, Day_Log_Outcome::Missing);
    EXPECT_FALSE(result.Terminate_Requested);
    EXPECT_TRUE(Dialogs.Calls.empty());
    EXPECT_EQ(Lines(), (std::vector<std::string>{" - OPEN_ACTUAL_WORK_LOG - FILE_NOT_FOUND - file " + Day_Log_Path() +
                                                 " not found"}));
    Expect_New_Day();
}

TEST_F(Day_Start, MissingFileOnALaterStartAsksTwo)
{
    Dialogs.Answer(1);
    EXPECT_EQ(Load().Outcome, Day_Log_Outcome::Missing);
    Expect_Question(0, 2, 5, 6, {"Actual_Work_Log.log"});
    Expect_New_Day();

    Dialogs.Answer(2);
    const Load_Day_Log_Result ended = Load();
    EXPECT_TRUE(ended.Terminate_Requested);
    EXPECT_EQ(Log.Size(), 0u);
}

TEST_F(Day_Start, ReadOnlyFileIsUnopenableAndStaysWhereItIs)
{
    Store_Records({Day_Row});
    Make_Read_Only(Day_Log_Path());
    Dialogs.Answer(1);
    const Load_Day_Log_Result result = Load();
    EXPECT_EQ(result.Outcome, Day_Log_Outcome::Unopenable);
    EXPECT_FALSE(result.Terminate_Requested);
    Expect_Question(0, 3, 5, 6, {"Actual_Work_Log.log"});
    EXPECT_EQ(Lines(), (std::vector<std::string>{" - OPEN_ACTUAL_WORK_LOG - RESET - ERROR_ACCESS_DENIED - access to " +
                                                 Day_Log_Path() + " denied, file is read only"}));
    Expect_New_Day();
    EXPECT_EQ(Read_File_Bytes(Day_Log_Path()), Encode_Work_Record(Day_Row));

    Dialogs.Answer(2);
    EXPECT_TRUE(Load().Terminate_Requested);
}

TEST_F(Day_Start, UnreadableFileIsKeptAsideWhenANewDayBegins)
{
    Store_Records({Day_Row});
    Files.Read_Error = EIO;
    Dialogs.Answer(1);
    EXPECT_EQ(Load().Outcome, Day_Log_Outcome::Unopenable);
    Expect_Kept_Aside(Encode_Work_Record(Day_Row));
    Expect_New_Day();
}

TEST_F(Day_Start, FilesWithoutAUsableDayAreInvalidAndKeptAside)
{
    const std::string whole = Encode_Work_Record(Day_Row);
    std::vector<Work_Record> seventeen(17, Second_User_Row);
    seventeen[0] = Day_Row;
    std::string seventeen_bytes;
    for (const Work_Record& record : seventeen) seventeen_bytes += Encode_Work_Record(record);
    const std::string empty_line = " - OPEN_ACTUAL_WORK_LOG - INVALID_RECORD - file " + Day_Log_Path() + " is empty";
    const std::string date_line = " - OPEN_ACTUAL_WORK_LOG - INVALID_RECORD - invalid log date";
    const std::string time_line = " - OPEN_ACTUAL_WORK_LOG - INVALID_RECORD - invalid log time";
    const std::vector<std::pair<std::string, std::string>> cases{
        {"", empty_line},
        {whole.substr(0, 1535), empty_line},
        {Encode_Work_Record(With_Field(Day_Row, Date_Field, "2026-12-07")), date_line},
        {Encode_Work_Record(With_Field(Day_Row, Date_Field, "31.02.2026")), date_line},
        {Encode_Work_Record(With_Field(Day_Row, Date_Field, "")), date_line},
        {Encode_Work_Record(With_Field(Day_Row, Time_Span_Field, "24:00 - 24:10")), time_line},
        {Encode_Work_Record(With_Field(Day_Row, Time_Span_Field, "ab:cd - 09:00")), time_line},
        {Encode_Work_Record(With_Field(Day_Row, Time_Span_Field, "")), time_line},
        {seventeen_bytes, " - OPEN_ACTUAL_WORK_LOG - INVALID_RECORD - file " + Day_Log_Path() +
                              " holds more than 16 records"},
    };
    for (const auto& [content, line] : cases)
    {
        SCOPED_TRACE(line + " / " + std::to_string(content.size()) + " bytes");
        Write_File_Bytes(Day_Log_Path() + ".invalid", "an older one");
        Write_File_Bytes(Day_Log_Path(), content);
        const std::size_t first_new_line = Errors.Lines().size();
        Dialogs.Answer(1);
        const Load_Day_Log_Result result = Load();
        EXPECT_EQ(result.Outcome, Day_Log_Outcome::Invalid);
        EXPECT_FALSE(result.Terminate_Requested);
        Expect_Question(Dialogs.Calls.size() - 1, 4, 5, 6, {});
        ASSERT_EQ(Lines().size(), first_new_line + 2);
        EXPECT_EQ(Lines()[first_new_line], line);
        Expect_Kept_Aside(content);
        Expect_New_Day();
    }
}

TEST_F(Day_Start, EndingAtTheInvalidQuestionTouchesNothing)
{
    Write_File_Bytes(Day_Log_Path(), "short");
    Dialogs.Answer(2);
    const Load_Day_Log_Result result = Load();
    EXPECT_EQ(result.Outcome, Day_Log_Outcome::Invalid);
    EXPECT_TRUE(result.Terminate_Requested);
    EXPECT_EQ(Log.Size(), 0u);
    EXPECT_EQ(Read_File_Bytes(Day_Log_Path()), "short");
    EXPECT_FALSE(std::filesystem::exists(Day_Log_Path() + ".invalid"));
}

TEST_F(Day_Start, TodaysLogContinuesWithRecordedMinutesOfTheUserRows)
{
    // A trailing partial record is not read.
    Store_Records({Day_Row, Unassigned_Row, First_User_Row, Second_User_Row}, std::string(700, '\x05'));
    const Load_Day_Log_Result result = Load();
    EXPECT_EQ(result.Outcome, Day_Log_Outcome::Valid);
    EXPECT_TRUE(Dialogs.Calls.empty());
    EXPECT_EQ(Lines(), (std::vector<std::string>{" - OPEN_ACTUAL_WORK_LOG - OK - log is valid and actual"}));
    EXPECT_EQ(Log.Records, (std::vector<Work_Record>{Day_Row, With_Field(Unassigned_Row, Duration_Field, "00:20"),
                                                     First_User_Row, Second_User_Row}));
    EXPECT_EQ(Log.Day_Start_Minute, 465);
    EXPECT_EQ(Log.Recorded_Minutes, 90);
}

TEST_F(Day_Start, UserRowWithoutATimeIsDroppedAndTheLastTwoRowsFold)
{
    Store_Records({Day_Row, Unassigned_Row, With_Field(First_User_Row, Duration_Field, "one hour")});
    const std::string stored = Read_File_Bytes(Day_Log_Path());
    EXPECT_EQ(Load().Outcome, Day_Log_Outcome::Valid);
    const std::vector<std::string> lines = Lines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], " - OPEN_ACTUAL_WORK_LOG - OK - log is valid and actual");
    EXPECT_EQ(lines[1], " - OPEN_ACTUAL_WORK_LOG - INVALID_RECORD - invalid time in record Coding");
    // The dropped record survives in the kept file; the day-log file holds the loaded day.
    EXPECT_EQ(Read_File_Bytes(Day_Log_Path() + ".invalid"), stored);
    EXPECT_EQ(Read_File_Bytes(Day_Log_Path()), Encode_Work_Record(Log.Records[0]));
    ASSERT_EQ(Log.Size(), 1u);
    EXPECT_EQ(Log.Records[0][Work_Type_Field], "Unassigned");
    EXPECT_EQ(Log.Records[0][Remark_Field], "its remark");
    EXPECT_EQ(Log.Records[0][Date_Field], "07.12.2026");
    EXPECT_EQ(Log.Recorded_Minutes, 0);
}

TEST_F(Day_Start, UnassignedRowWithABadDurationKeepsItsPlace)
{
    Store_Records({Day_Row, With_Field(Unassigned_Row, Duration_Field, ""), First_User_Row, Second_User_Row});
    EXPECT_EQ(Load().Outcome, Day_Log_Outcome::Valid);
    ASSERT_EQ(Log.Size(), 4u);
    EXPECT_EQ(Log.Records[1][Work_Type_Field], "Unassigned");
    EXPECT_EQ(Log.Records[2], First_User_Row);
    EXPECT_EQ(Log.Recorded_Minutes, 90);
}

TEST_F(Day_Start, LogOfAnotherDateIsExportedOnceThenANewDayBegins)
{
    Program_Settings.Target_Log_File_Separator = "--";
    for (const std::string date : {"06.12.2026", "08.12.2026", "07.12.2025"})
    {
        SCOPED_TRACE(date);
        std::filesystem::remove(Program_Settings.Target_Log_File_Name);
        const std::size_t first_new_line = Errors.Lines().size();
        Store_Records({With_Field(Day_Row, Date_Field, date), Unassigned_Row, First_User_Row, Second_User_Row});
        const Load_Day_Log_Result result = Load();
        EXPECT_EQ(result.Outcome, Day_Log_Outcome::Past_Day);
        EXPECT_FALSE(result.Terminate_Requested);
        const std::vector<std::string> lines = Lines();
        EXPECT_EQ(std::vector<std::string>(lines.begin() + static_cast<std::ptrdiff_t>(first_new_line), lines.end()),
                  (std::vector<std::string>{" - OPEN_ACTUAL_WORK_LOG - NOT_ACTUAL_DATE - not actual log date",
                                            " - SAVE_TARGET_WORK_LOG - OK - last log successfully added to " +
                                                Program_Settings.Target_Log_File_Name}));
        EXPECT_EQ(Read_File_Bytes(Program_Settings.Target_Log_File_Name),
                  "--\r\nMonday;" + date + ";07:45 - 09:10;Day label;01:25;\r\n"
                  ";;;Unassigned;- 00:20;its remark\r\n"
                  ";;;Coding;01:00;\x81\x9A" "a\r\n"
                  ";;;Meeting;00:30;\r\n");
        Expect_New_Day();
        // The new day is on disk at once, so the next start continues it instead of exporting again.
        EXPECT_EQ(Read_File_Bytes(Day_Log_Path()), Encode_Work_Record(Log.Records[0]));
    }
    EXPECT_EQ(Dialogs.Splash_Count, 3);
    EXPECT_EQ(Load().Outcome, Day_Log_Outcome::Valid);
}

TEST_F(Day_Start, SplashIsShownOnlyWhenEnabled)
{
    Start_Up.Display_Start_Splash_Screen = false;
    Store_Records({With_Field(Day_Row, Date_Field, "01.01.2026")});
    EXPECT_EQ(Load().Outcome, Day_Log_Outcome::Past_Day);
    EXPECT_EQ(Dialogs.Splash_Count, 0);
}

TEST_F(Day_Start, FailedExportIsOfferedAgainUntilItSucceeds)
{
    const std::string directory = Paths.File("later/");
    Program_Settings.Target_Log_File_Name = directory + "Work_Log.csv";
    Store_Records({With_Field(Day_Row, Date_Field, "04.12.2026")});
    Dialogs.Answer(1);
    Dialogs.Answer(1, [&] { std::filesystem::create_directory(directory); });
    EXPECT_EQ(Load().Outcome, Day_Log_Outcome::Past_Day);
    ASSERT_EQ(Dialogs.Calls.size(), 2u);
    Expect_Question(1, 5, 4, 6, {});
    const std::string not_found = " - SAVE_TARGET_WORK_LOG - REWRITE - ERROR_PATH_NOT_FOUND - path " + directory + " not found";
    EXPECT_EQ(Lines(), (std::vector<std::string>{
                           " - OPEN_ACTUAL_WORK_LOG - NOT_ACTUAL_DATE - not actual log date", not_found, not_found,
                           " - SAVE_TARGET_WORK_LOG - OK - last log successfully added to " + directory + "Work_Log.csv"}));
    EXPECT_EQ(Read_File_Bytes(directory + "Work_Log.csv"), "\r\nMonday;04.12.2026;07:45 - 09:10;Day label;01:25;\r\n");
    Expect_New_Day();
}

TEST_F(Day_Start, EndingAfterAFailedExportKeepsThePastDay)
{
    Program_Settings.Target_Log_File_Format = "%7:s";
    Store_Records({With_Field(Day_Row, Date_Field, "04.12.2026"), Unassigned_Row, First_User_Row});
    const std::string stored = Read_File_Bytes(Day_Log_Path());
    Dialogs.Answer(2);
    const Load_Day_Log_Result result = Load();
    EXPECT_EQ(result.Outcome, Day_Log_Outcome::Past_Day);
    EXPECT_TRUE(result.Terminate_Requested);
    EXPECT_EQ(Log.Size(), 0u);
    EXPECT_EQ(Read_File_Bytes(Day_Log_Path()), stored);
    EXPECT_EQ(Dialogs.Splash_Count, 0);
}

TEST_F(Day_Start, NewDayTakesTheDayNameOfItsWeekdayAndCutsLongTexts)
{
    Time.Set(Make_Date_Time(2026, 12, 13, 0, 5));  // a Sunday
    Start_Up.Default_Work_Type = std::string(300, 'w');
    Start_New_Day(Context, Log);
    EXPECT_EQ(Log.Records[0][Day_Name_Field], "Sunday");
    EXPECT_EQ(Log.Records[0][Date_Field], "13.12.2026");
    EXPECT_EQ(Log.Records[0][Time_Span_Field], "00:05 - 00:05");
    EXPECT_EQ(Log.Records[0][Work_Type_Field], std::string(255, 'w'));
    EXPECT_EQ(Log.Day_Start_Minute, 5);
}

TEST_F(Day_Start, StoredDayWithLeftoverBytesExportsItsTextsOnly)
{
    std::filesystem::copy_file(std::string(ZL_TEST_DATA_DIR) + "/worklog/Past_Day_With_Leftover_Bytes.log", Day_Log_Path());
    EXPECT_EQ(Load().Outcome, Day_Log_Outcome::Past_Day);
    EXPECT_EQ(Read_File_Bytes(Program_Settings.Target_Log_File_Name),
              Utf8_To_Cp1250("\r\nNeděle;06.12.2026;07:58 - 17:12;Celkem;09:14;\r\n"
                             ";;;Nezařazeno;- 00:06;přestávky\r\n"
                             ";;;Vývoj;06:20;modul exportu; testy\r\n"
                             ";;;Porada;03:00;týdenní\r\n"));
}

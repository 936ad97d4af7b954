#include "worklog/Day_Start.h"

#include <algorithm>

#include "Work_Log_Test_Support.h"
#include "platform/Code_Page.h"
#include "worklog/Failure_Reason.h"

namespace
{

using Lines_Of = std::vector<std::string>;

const Work_Record Day_Row = Make_Record("Monday", "07.12.2026", "07:45 - 09:10", "Day label", "01:25", "");
const Work_Record Unassigned_Row = Make_Record("", "", "", "Unassigned", "- 00:20", "its remark");
const Work_Record First_User_Row = Make_Record("", "", "", "Coding", "01:00",
                                               "\x81\x9A"
                                               "a");  // undefined and "š"
const Work_Record Second_User_Row = Make_Record("", "", "", "Meeting", "00:30", "");

class Day_Start : public Work_Log_Test
{
protected:
    Load_Day_Log_Result Load() { return Load_Day_Log(Context, Log); }

    // A new day at the clock's time: Monday 7.12.2026 09:30.
    void Expect_New_Day()
    {
        EXPECT_EQ(Log.Records(),
                  std::vector<Work_Record>{Make_Record("Monday", "07.12.2026", "09:30 - 09:30",
                                                       Start_Up.Default_Work_Type, "00:00", Start_Up.Default_Remark)});
        EXPECT_EQ(std::tuple(Log.Day_Start_Minute(), Log.Recorded_Minutes()), std::tuple(570, 0));
    }

    void Expect_Kept_Aside(const std::string& content)
    {
        EXPECT_FALSE(std::filesystem::exists(Day_Log_Path()));
        EXPECT_EQ(Read(Day_Log_Path() + ".invalid"), content);
        EXPECT_EQ(Lines().back(), " - OPEN_ACTUAL_WORK_LOG - KEEP - OK - file " + Day_Log_Path() + " kept as " +
                                      Day_Log_Path() + ".invalid");
    }

    Dialog_Call Question(int message, int first, int second, std::vector<std::string> arguments = {}) const
    {
        return {"Error_Icon_Source.bmp",        70,
                Texts.Message_Strings[message], Texts.Message_Buttons[first],
                Texts.Message_Buttons[second],  std::move(arguments)};
    }

    // The question about a file that cannot be opened names the reason below its first line.
    Dialog_Call With_Reason(Dialog_Call call, const std::string& reason) const
    {
        call.Message += "##%1:s";
        call.Arguments.push_back(reason);
        return call;
    }

    Day_Log Log;
};

}  // namespace

TEST_F(Day_Start, MissingFileOnlyLogsAtFirstStartAndAsksTwoLater)
{
    Start_Up.First_Start = true;
    Start_Up.Default_Work_Type = "Office";
    Start_Up.Default_Remark = "plain day";
    EXPECT_EQ(Load().Outcome, Day_Log_Outcome::Missing);
    EXPECT_TRUE(Dialogs.Calls.empty());
    EXPECT_EQ(Lines(), Lines_Of{" - OPEN_ACTUAL_WORK_LOG - FILE_NOT_FOUND - file " + Day_Log_Path() + " not found"});
    Expect_New_Day();

    Start_Up.First_Start = false;
    Dialogs.Answer(1);
    EXPECT_FALSE(Load().Terminate_Requested);
    EXPECT_EQ(Dialogs.Calls, std::vector<Dialog_Call>{Question(2, 5, 6, {"Actual_Work_Log.log"})});
    Expect_New_Day();
    Dialogs.Answer(2);
    EXPECT_TRUE(Load().Terminate_Requested);
    EXPECT_EQ(Log.Size(), 0u);
}

TEST_F(Day_Start, UnopenableFileAsksThreeAndIsKeptAsideUnlessReadOnly)
{
    Texts.Access_Denied_Reason = "may not be written";
    Store_Records({Day_Row});
    Make_Read_Only(Day_Log_Path());
    Dialogs.Answer(1);
    EXPECT_EQ(Load().Outcome, Day_Log_Outcome::Unopenable);
    EXPECT_EQ(Dialogs.Calls,
              std::vector<Dialog_Call>{With_Reason(Question(3, 5, 6, {"Actual_Work_Log.log"}), "may not be written")});
    EXPECT_EQ(Lines(), Lines_Of{" - OPEN_ACTUAL_WORK_LOG - RESET - ERROR_ACCESS_DENIED - access to " + Day_Log_Path() +
                                " denied, file is read only"});
    Expect_New_Day();
    EXPECT_EQ(Read(Day_Log_Path()), Encode_Work_Record(Day_Row));  // no save can replace it, so it stays
    Dialogs.Answer(2);
    EXPECT_TRUE(Load().Terminate_Requested);

    ::chmod(Day_Log_Path().c_str(), 0644);
    Files.Read_Error = EIO;
    Dialogs.Answer(1);
    const Load_Day_Log_Result result = Load();
    EXPECT_EQ(result.Outcome, Day_Log_Outcome::Unopenable);
    EXPECT_FALSE(result.Terminate_Requested);
    Expect_Kept_Aside(Encode_Work_Record(Day_Row));
    Expect_New_Day();
}

TEST_F(Day_Start, TheQuestionAboutAnUnopenableFileSaysWhetherItMayNotBeReadOrNotBeWritten)
{
    Texts.Access_Denied_Reason = "may not be written";
    Texts.Other_Failure_Reason = "error %0:s";
    Store_Records({Day_Row});
    Dialogs.Answer(2);
    Files.Read_Error = EIO;
    Load();
    Files.Read_Error = 0;
    ::chmod(Day_Log_Path().c_str(), 0200);
    {
        Without_File_Mode_Override as_a_user;
        Dialogs.Answer(2);
        Load();
    }
    ASSERT_EQ(Dialogs.Calls.size(), 2u);
    EXPECT_EQ(Dialogs.Calls[0], With_Reason(Question(3, 5, 6, {"Actual_Work_Log.log"}), "error 5"));
    // The protocol keeps its fixed line; the user hears the real cause (here the English default).
    EXPECT_EQ(Dialogs.Calls[1], With_Reason(Question(3, 5, 6, {"Actual_Work_Log.log"}), "The file may not be read."));
    EXPECT_EQ(Lines().back(), " - OPEN_ACTUAL_WORK_LOG - RESET - ERROR_ACCESS_DENIED - access to " + Day_Log_Path() +
                                  " denied, file is read only");
}

TEST_F(Day_Start, FilesWithoutAUsableDayAreInvalidAndKeptAside)
{
    const std::string whole = Encode_Work_Record(Day_Row);
    std::string seventeen = whole;
    for (int i = 0; i < 16; ++i) seventeen += Encode_Work_Record(Second_User_Row);
    const std::string prefix = " - OPEN_ACTUAL_WORK_LOG - INVALID_RECORD - ";
    const std::string empty = prefix + "file " + Day_Log_Path() + " is empty";
    const auto with = [](std::size_t field, const char* text) {
        return Encode_Work_Record(With_Field(Day_Row, field, text));
    };
    const std::pair<std::string, std::string> cases[] = {
        {"", empty},
        {whole.substr(0, 1535), empty},
        {with(Date_Field, "2026-12-07"), prefix + "invalid log date"},
        {with(Date_Field, ""), prefix + "invalid log date"},
        {with(Time_Span_Field, "24:00 - 24:10"), prefix + "invalid log time"},
        {with(Time_Span_Field, ""), prefix + "invalid log time"},
        {seventeen, prefix + "file " + Day_Log_Path() + " holds more than 16 records"},
    };
    for (const auto& [content, line] : cases)
    {
        SCOPED_TRACE(line + " / " + std::to_string(content.size()) + " bytes");
        Write(Day_Log_Path() + ".invalid", "an older one");
        Write(Day_Log_Path(), content);
        const std::size_t first_new_line = Errors.Lines().size();
        Dialogs.Answer(1);
        const Load_Day_Log_Result result = Load();
        EXPECT_EQ(result.Outcome, Day_Log_Outcome::Invalid);
        EXPECT_FALSE(result.Terminate_Requested);
        EXPECT_EQ(Dialogs.Calls.back(), Question(4, 5, 6));
        ASSERT_EQ(Lines().size(), first_new_line + 2);
        EXPECT_EQ(Lines()[first_new_line], line);
        Expect_Kept_Aside(content);
        Expect_New_Day();
    }

    // Ending at the question touches nothing.
    Write(Day_Log_Path(), "short");
    std::filesystem::remove(Day_Log_Path() + ".invalid");
    Dialogs.Answer(2);
    EXPECT_TRUE(Load().Terminate_Requested);
    EXPECT_EQ(Log.Size(), 0u);
    EXPECT_EQ(Read(Day_Log_Path()), "short");
    EXPECT_FALSE(std::filesystem::exists(Day_Log_Path() + ".invalid"));
}

TEST_F(Day_Start, TodaysLogContinuesWithRecordedMinutesOfTheUserRows)
{
    // The Unassigned_Row loses its sign.
    Store_Records({Day_Row, Unassigned_Row, First_User_Row, Second_User_Row});
    EXPECT_EQ(Load().Outcome, Day_Log_Outcome::Valid);
    EXPECT_TRUE(Dialogs.Calls.empty());
    EXPECT_EQ(Lines(), Lines_Of{" - OPEN_ACTUAL_WORK_LOG - OK - log is valid and actual"});
    EXPECT_EQ(Log.Records(), (std::vector<Work_Record>{Day_Row, With_Field(Unassigned_Row, Duration_Field, "00:20"),
                                                       First_User_Row, Second_User_Row}));
    EXPECT_EQ(std::tuple(Log.Day_Start_Minute(), Log.Recorded_Minutes()), std::tuple(465, 90));
    EXPECT_FALSE(std::filesystem::exists(Day_Log_Path() + ".invalid"));

    // An Unassigned_Row with a bad duration keeps its place rather than take a user row's,
    // and the protocol names it; its duration is computed anew, so nothing is kept aside.
    Store_Records({Day_Row, With_Field(Unassigned_Row, Duration_Field, "x"), First_User_Row, Second_User_Row});
    const std::size_t first_new_line = Errors.Lines().size();
    EXPECT_EQ(Load().Outcome, Day_Log_Outcome::Valid);
    EXPECT_EQ(Log.Records(), (std::vector<Work_Record>{Day_Row, With_Field(Unassigned_Row, Duration_Field, "x"),
                                                       First_User_Row, Second_User_Row}));
    EXPECT_EQ(Log.Recorded_Minutes(), 90);
    const Lines_Of lines = Lines();
    EXPECT_EQ(Lines_Of(lines.begin() + std::ptrdiff_t(first_new_line), lines.end()),
              (Lines_Of{" - OPEN_ACTUAL_WORK_LOG - OK - log is valid and actual",
                        " - OPEN_ACTUAL_WORK_LOG - INVALID_RECORD - invalid time in record Unassigned"}));
    EXPECT_FALSE(std::filesystem::exists(Day_Log_Path() + ".invalid"));
}

TEST_F(Day_Start, TruncatedLogUsesItsWholeRecordsAndKeepsTheOriginalAside)
{
    // Today's file and a past day's file alike: the partial record is named, the original kept.
    for (const std::string date : {"07.12.2026", "06.12.2026"})
    {
        SCOPED_TRACE(date);
        std::filesystem::remove(Target());
        Store_Records({With_Field(Day_Row, Date_Field, date), Unassigned_Row, First_User_Row},
                      std::string(700, '\x05'));
        const std::string original = Read(Day_Log_Path());
        const std::size_t first_new_line = Errors.Lines().size();
        const bool today = date == "07.12.2026";
        EXPECT_EQ(Load().Outcome, today ? Day_Log_Outcome::Valid : Day_Log_Outcome::Past_Day);
        const Lines_Of lines = Lines();
        const Lines_Of new_lines(lines.begin() + std::ptrdiff_t(first_new_line), lines.end());
        const std::string partial = " - OPEN_ACTUAL_WORK_LOG - INVALID_RECORD - file " + Day_Log_Path() +
                                    " ends with an incomplete record of 700 bytes";
        EXPECT_NE(std::find(new_lines.begin(), new_lines.end(), partial), new_lines.end());
        EXPECT_EQ(new_lines.back(), " - OPEN_ACTUAL_WORK_LOG - KEEP - OK - file " + Day_Log_Path() + " kept as " +
                                        Day_Log_Path() + ".invalid");
        EXPECT_EQ(Read(Day_Log_Path() + ".invalid"), original);
        EXPECT_EQ(Read(Day_Log_Path()).size(), Log.Size() * 1536);
        if (today) EXPECT_EQ(Log.Size(), 3u);
        else
            EXPECT_EQ(Read(Target()),
                      "\r\nMonday;06.12.2026;07:45 - 09:10;Day label;01:25;\r\n"
                      ";;;Unassigned;- 00:20;its remark\r\n;;;Coding;01:00;\x81\x9A"
                      "a\r\n");
    }
}

TEST_F(Day_Start, UserRowWithoutATimeIsDroppedKeptInTheFileAsideAndTheLastTwoRowsFold)
{
    Store_Records({Day_Row, Unassigned_Row, With_Field(First_User_Row, Duration_Field, "one hour")});
    const std::string stored = Read(Day_Log_Path());
    EXPECT_EQ(Load().Outcome, Day_Log_Outcome::Valid);
    EXPECT_EQ(Lines(), (Lines_Of{" - OPEN_ACTUAL_WORK_LOG - OK - log is valid and actual",
                                 " - OPEN_ACTUAL_WORK_LOG - INVALID_RECORD - invalid time in record Coding",
                                 " - OPEN_ACTUAL_WORK_LOG - KEEP - OK - file " + Day_Log_Path() + " kept as " +
                                     Day_Log_Path() + ".invalid"}));
    EXPECT_EQ(Read(Day_Log_Path() + ".invalid"), stored);
    EXPECT_EQ(Read(Day_Log_Path()), Encode_Work_Record(Log[0]));
    EXPECT_EQ(Log.Records(), std::vector<Work_Record>{Make_Record("Monday", "07.12.2026", "07:45 - 09:10", "Unassigned",
                                                                  "01:25", "its remark")});
    EXPECT_EQ(Log.Recorded_Minutes(), 0);
}

TEST_F(Day_Start, LogOfAnotherDateIsExportedOnceThenANewDayBegins)
{
    Program_Settings.Target_Log_File_Separator = "--";
    for (const std::string date : {"06.12.2026", "08.12.2026", "07.12.2025"})
    {
        SCOPED_TRACE(date);
        std::filesystem::remove(Target());
        const std::size_t first_new_line = Errors.Lines().size();
        Store_Records({With_Field(Day_Row, Date_Field, date), Unassigned_Row, First_User_Row, Second_User_Row});
        const Load_Day_Log_Result result = Load();
        EXPECT_EQ(result.Outcome, Day_Log_Outcome::Past_Day);
        EXPECT_FALSE(result.Terminate_Requested);
        const Lines_Of lines = Lines();
        EXPECT_EQ(Lines_Of(lines.begin() + std::ptrdiff_t(first_new_line), lines.end()),
                  (Lines_Of{" - OPEN_ACTUAL_WORK_LOG - NOT_ACTUAL_DATE - not actual log date",
                            " - SAVE_TARGET_WORK_LOG - OK - last log successfully added to " + Target()}));
        EXPECT_EQ(Read(Target()), "--\r\nMonday;" + date +
                                      ";07:45 - 09:10;Day label;01:25;\r\n"
                                      ";;;Unassigned;- 00:20;its remark\r\n;;;Coding;01:00;\x81\x9A"
                                      "a\r\n"
                                      ";;;Meeting;00:30;\r\n");
        Expect_New_Day();
        // The new day is on disk at once, so the next start continues it instead of exporting again.
        EXPECT_EQ(Read(Day_Log_Path()), Encode_Work_Record(Log[0]));
    }
    EXPECT_EQ(Dialogs.Splash_Count, 3);
    EXPECT_EQ(Load().Outcome, Day_Log_Outcome::Valid);
}

TEST_F(Day_Start, FailedExportIsOfferedAgainUntilItSucceedsOrTheUserEnds)
{
    const std::string directory = Paths.File("later/");
    Program_Settings.Target_Log_File_Name = directory + "Work_Log.csv";
    Texts.Other_Failure_Reason = "error %0:s";
    Store_Records({With_Field(Day_Row, Date_Field, "04.12.2026")});
    const std::string stored = Read(Day_Log_Path());
    Dialogs.Answer(2);
    EXPECT_TRUE(Load().Terminate_Requested);
    EXPECT_EQ(Log.Size(), 0u);
    EXPECT_EQ(Read(Day_Log_Path()), stored);
    EXPECT_EQ(Dialogs.Splash_Count, 0);

    Start_Up.Display_Start_Splash_Screen = false;
    Dialogs.Answer(1);
    Dialogs.Answer(1, [&] { std::filesystem::create_directory(directory); });
    const Load_Day_Log_Result result = Load();
    EXPECT_EQ(result.Outcome, Day_Log_Outcome::Past_Day);
    EXPECT_FALSE(result.Terminate_Requested);
    // The question tells why below its own text.
    Dialog_Call question = Question(5, 4, 6, {File_Failure_Reason(Texts, ENOENT)});
    question.Message += "##%0:s";
    EXPECT_EQ(Dialogs.Calls, std::vector<Dialog_Call>(3, question));
    const std::string not_actual = " - OPEN_ACTUAL_WORK_LOG - NOT_ACTUAL_DATE - not actual log date";
    const std::string not_found =
        " - SAVE_TARGET_WORK_LOG - REWRITE - ERROR_PATH_NOT_FOUND - path " + directory + " not found";
    EXPECT_EQ(Lines(), (Lines_Of{not_actual, not_found, not_actual, not_found, not_found,
                                 " - SAVE_TARGET_WORK_LOG - OK - last log successfully added to " + Target()}));
    EXPECT_EQ(Read(Target()), "\r\nMonday;04.12.2026;07:45 - 09:10;Day label;01:25;\r\n");
    Expect_New_Day();
    EXPECT_EQ(Dialogs.Splash_Count, 0);
}

TEST_F(Day_Start, NewDayTakesTheDayNameOfItsWeekdayAndCutsLongTexts)
{
    Time.Set({2026, 12, 13, 0, 5});  // a Sunday
    Start_Up.Default_Work_Type = std::string(300, 'w');
    Start_New_Day(Context, Log);
    EXPECT_EQ(Log.Records(), std::vector<Work_Record>{Make_Record("Sunday", "13.12.2026", "00:05 - 00:05",
                                                                  std::string(255, 'w'), "00:00", "")});
    EXPECT_EQ(Log.Day_Start_Minute(), 5);
}

TEST_F(Day_Start, StoredDayWithLeftoverBytesExportsItsTextsOnly)
{
    std::filesystem::copy_file(std::string(ZL_TEST_DATA_DIR) + "/worklog/Past_Day_With_Leftover_Bytes.log",
                               Day_Log_Path());
    EXPECT_EQ(Load().Outcome, Day_Log_Outcome::Past_Day);
    EXPECT_EQ(Read(Target()), Utf8_To_Cp1250("\r\nNeděle;06.12.2026;07:58 - 17:12;Celkem;09:14;\r\n"
                                             ";;;Nezařazeno;- 00:06;přestávky\r\n"
                                             ";;;Vývoj;06:20;modul exportu; testy\r\n"
                                             ";;;Porada;03:00;týdenní\r\n"));
}

TEST_F(Day_Start, FileNamesReachTheFileSystemAsTheyAreAndTheProtocolAsCp1250Text)
{
    // "Výkaz" fits CP1250, "日" does not: the protocol shows it as "?".
    const std::string folder = Paths.File("V\xC3\xBDkaz \xE6\x97\xA5/");
    const std::string folder_text = Utf8_To_Cp1250(Paths.File("")) + "V\xFDkaz ?/";
    Program_Settings.Target_Log_File_Name = folder +
                                            "Pr\xC3\xA1"
                                            "ce.csv";
    Store_Records({With_Field(Day_Row, Date_Field, "04.12.2026")});
    Start_Up.Display_Start_Splash_Screen = false;
    Dialogs.Answer(1, [&] { std::filesystem::create_directory(folder); });
    EXPECT_EQ(Load().Outcome, Day_Log_Outcome::Past_Day);

    EXPECT_EQ(Read(Program_Settings.Target_Log_File_Name), "\r\nMonday;04.12.2026;07:45 - 09:10;Day label;01:25;\r\n");
    EXPECT_EQ(Lines(),
              (Lines_Of{" - OPEN_ACTUAL_WORK_LOG - NOT_ACTUAL_DATE - not actual log date",
                        " - SAVE_TARGET_WORK_LOG - REWRITE - ERROR_PATH_NOT_FOUND - path " + folder_text + " not found",
                        " - SAVE_TARGET_WORK_LOG - OK - last log successfully added to " + folder_text +
                            "Pr\xE1"
                            "ce.csv"}));
}

TEST_F(Day_Start, DirectoryInPlaceOfTheLogIsADamagedLogKeptAsideAndTheNewDayCanBeSaved)
{
    std::filesystem::create_directory(Day_Log_Path());
    Write(Day_Log_Path() + "/inside", "what the folder held");
    Write(Day_Log_Path() + ".invalid", "an older one");
    Dialogs.Answer(1);
    const Load_Day_Log_Result result = Load();
    EXPECT_EQ(result.Outcome, Day_Log_Outcome::Invalid);
    EXPECT_EQ(Dialogs.Calls, std::vector<Dialog_Call>{Question(4, 5, 6)});
    EXPECT_EQ(Lines(),
              (Lines_Of{" - OPEN_ACTUAL_WORK_LOG - INVALID_RECORD - file " + Day_Log_Path() + " is a directory",
                        " - OPEN_ACTUAL_WORK_LOG - KEEP - OK - file " + Day_Log_Path() + " kept as " + Day_Log_Path() +
                            ".invalid"}));
    EXPECT_EQ(Read(Day_Log_Path() + ".invalid/inside"), "what the folder held");
    Expect_New_Day();
    EXPECT_TRUE(Checkpoint_Day_Log(Context, Log));
    EXPECT_EQ(Read(Day_Log_Path()), Encode_Work_Record(Log[0]));

    // Ending at the question leaves the folder where it is.
    std::filesystem::remove_all(Day_Log_Path() + ".invalid");
    std::filesystem::remove(Day_Log_Path());
    std::filesystem::create_directory(Day_Log_Path());
    Dialogs.Answer(2);
    EXPECT_TRUE(Load().Terminate_Requested);
    EXPECT_TRUE(std::filesystem::is_directory(Day_Log_Path()));
    EXPECT_FALSE(std::filesystem::exists(Day_Log_Path() + ".invalid"));
}

TEST_F(Day_Start, PastDayOfMoreThanSixteenRecordsIsExportedWhole)
{
    std::vector<Work_Record> records{With_Field(Day_Row, Date_Field, "04.12.2026"), Unassigned_Row};
    std::string expected =
        "\r\nMonday;04.12.2026;07:45 - 09:10;Day label;01:25;\r\n;;;Unassigned;- 00:20;its remark\r\n";
    for (int i = 0; i < 18; ++i)
    {
        records.push_back(Make_Record("", "", "", "Task " + std::to_string(i), "00:05", ""));
        expected += ";;;Task " + std::to_string(i) + ";00:05;\r\n";
    }
    Store_Records(records);
    EXPECT_EQ(Load().Outcome, Day_Log_Outcome::Past_Day);
    EXPECT_TRUE(Dialogs.Calls.empty());
    EXPECT_EQ(Read(Target()), expected);
    Expect_New_Day();
    EXPECT_FALSE(std::filesystem::exists(Day_Log_Path() + ".invalid"));
}

TEST_F(Day_Start, SplashShowsBeforeTheNewDayIsBuiltSoItsDayRowBeginsAfterIt)
{
    Time.Set({2026, 12, 7, 8, 0, 59});
    Store_Records({With_Field(Day_Row, Date_Field, "04.12.2026")});
    // The splash takes its time; the minute turns while it shows.
    Dialogs.On_Splash = [&] {
        EXPECT_EQ(Read(Day_Log_Path()), Encode_Work_Record(With_Field(Day_Row, Date_Field, "04.12.2026")));
        Time.Set({2026, 12, 7, 8, 1, 1});
    };
    EXPECT_EQ(Load().Outcome, Day_Log_Outcome::Past_Day);
    EXPECT_EQ(Dialogs.Splash_Count, 1);
    ASSERT_EQ(Log.Size(), 1u);
    EXPECT_EQ(Log[0][Time_Span_Field], "08:01 - 08:01");
    EXPECT_EQ(Log.Day_Start_Minute(), 481);
    EXPECT_EQ(Read(Day_Log_Path()), Encode_Work_Record(Log[0]));
}

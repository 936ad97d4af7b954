#include <sys/wait.h>
#include <unistd.h>

#include "Work_Log_Test_Support.h"

namespace
{

using Lines_Of = std::vector<std::string>;

Day_Log Day_Of(const std::vector<Work_Record>& records)
{
    Day_Log log;
    log.Continue_Day(records, 0);
    return log;
}

const Work_Record Day_Row = Make_Record("Monday", "07.12.2026", "08:00 - 09:30", "Day", "01:30", "");
const Work_Record Unassigned_Row = Make_Record("", "", "", "DEFAULT", "- 00:20", "first remark");
const Work_Record User_Row = Make_Record("", "", "", "Coding", "01:00",
                                         "\x8A"
                                         "koda");  // CP1250 "Š"
const Day_Log Three_Rows = Day_Of({Day_Row, Unassigned_Row, User_Row});

class Day_Log_File : public Work_Log_Test
{
protected:
    // The file holds the three rows; each test checks what a failure leaves of it.
    Day_Log_File()
    {
        Store_Records(Three_Rows.Records());
        Before = Read(Day_Log_Path());
    }
    void Expect_Unchanged_And_No_Temporary()
    {
        EXPECT_EQ(Read(Day_Log_Path()), Before);
        EXPECT_FALSE(std::filesystem::exists(Day_Log_Path() + ".tmp"));
    }
    std::string Unexpected(const std::string& what, int error)
    {
        return what + Day_Log_Path() + ". " + std::to_string(error) + " - " + std::strerror(error);
    }
    std::string Before;
};

}  // namespace

TEST_F(Day_Log_File, RecordLayoutIsSixLengthPrefixedFieldsOf256Bytes)
{
    const std::string bytes =
        Encode_Work_Record(Make_Record("Po", "07.12.2026", "", "Coding", std::string(300, 'x'), ""));
    ASSERT_EQ(bytes.size(), 1536u);
    const std::string expected_head = std::string("\x02Po") + std::string(253, '\0') +
                                      "\x0A"
                                      "07.12.2026";
    EXPECT_EQ(bytes.substr(0, expected_head.size()), expected_head);
    EXPECT_EQ(bytes.substr(512, 263), std::string(256, '\0') +
                                          "\x06"
                                          "Coding");
    EXPECT_EQ(bytes.substr(1024, 257), "\xFF" + std::string(255, 'x') + '\0');  // a longer text keeps 255 characters

    std::string leftover(1536, '\xCC');  // leftover memory as another writer may leave it
    leftover.replace(0, 4, "\x03Mon");
    for (std::size_t field = 1; field < 6; ++field) leftover[field * 256] = 0;
    leftover[1024] = '\xFF';  // the largest length still fits its field
    EXPECT_EQ(Decode_Work_Record(leftover), Make_Record("Mon", "", "", "", std::string(255, '\xCC'), ""));
}

TEST_F(Day_Log_File, SavedFileHas1536BytesPerRecordAndReadsBackIdentically)
{
    std::vector<Work_Record> full{Day_Row, Unassigned_Row};
    for (int i = 0; i < 14; ++i) full.push_back(Make_Record("", "", "", "Work " + std::to_string(i), "00:10", "r"));
    full[5][Remark_Field] = std::string("\x81\x83\x88\x90\x98\xFF\0x", 8);  // undefined in CP1250, and a zero
    ASSERT_TRUE(Save_Actual_Work_Log(Context, Day_Of(full)));
    const std::string first_bytes = Read(Day_Log_Path());
    EXPECT_EQ(first_bytes.size(), 16 * 1536u);

    Stored_Day_Log stored;
    ASSERT_TRUE(Open_Actual_Work_Log(Context, stored));
    EXPECT_EQ(stored.Records, full);
    ASSERT_TRUE(Save_Actual_Work_Log(Context, Day_Of(stored.Records)));
    EXPECT_EQ(Read(Day_Log_Path()), first_bytes);
    EXPECT_TRUE(Errors.Lines().empty());
    EXPECT_FALSE(std::filesystem::exists(Day_Log_Path() + ".tmp"));

    Store_Records({Day_Row, User_Row}, std::string(1535, 'z'));  // a trailing partial record is not read
    ASSERT_TRUE(Open_Actual_Work_Log(Context, stored));
    EXPECT_EQ(stored.Whole_Record_Count, 2u);
    EXPECT_EQ(stored.Records, (std::vector<Work_Record>{Day_Row, User_Row}));
}

TEST_F(Day_Log_File, FailuresGiveTheirLinesAndKeepThePreviousFileWhole)
{
    const Day_Log other = Day_Of({User_Row});
    const std::string rewrite = " - SAVE_ACTUAL_WORK_LOG - REWRITE - ";
    Files.Create_Error = EBUSY;
    EXPECT_FALSE(Save_Actual_Work_Log(Context, other));
    Files.Create_Error = EACCES;
    EXPECT_FALSE(Save_Actual_Work_Log(Context, other));
    Files.Create_Error = EMFILE;
    EXPECT_FALSE(Save_Actual_Work_Log(Context, other));
    Files.Create_Error = 0;
    Files.Rename_Error = EIO;
    EXPECT_FALSE(Save_Actual_Work_Log(Context, other));
    Files.Rename_Error = 0;
    Files.Fail_Write_Number = Files.Writes + 2;  // part way, after the first record
    EXPECT_FALSE(Save_Actual_Work_Log(Context, Three_Rows));
    Stored_Day_Log stored;
    Files.Read_Error = ETXTBSY;
    EXPECT_FALSE(Open_Actual_Work_Log(Context, stored));
    Files.Read_Error = EIO;
    EXPECT_FALSE(Open_Actual_Work_Log(Context, stored));

    const std::string reset = " - OPEN_ACTUAL_WORK_LOG - RESET - ";
    EXPECT_EQ(Lines(),
              (Lines_Of{rewrite + "ERROR_SHARING_VIOLATION - file " + Day_Log_Path() + " is used by another thread",
                        rewrite + "ERROR_ACCESS_DENIED - access to " + Day_Log_Path() + " denied, file is read only",
                        Unexpected(rewrite + "UNEXPECTED_ERROR - not possible to create file ", EMFILE),
                        Unexpected(rewrite + "UNEXPECTED_ERROR - not possible to create file ", EIO),
                        Unexpected(" - SAVE_ACTUAL_WORK_LOG - WRITE - UNEXPECTED_ERROR - not possible to write "
                                   "record into file ",
                                   ENOSPC),
                        reset + "ERROR_SHARING_VIOLATION - file " + Day_Log_Path() + " is used by another thread",
                        Unexpected(reset + "UNEXPECTED_ERROR - not possible to create file ", EIO)}));
    Expect_Unchanged_And_No_Temporary();
}

TEST_F(Day_Log_File, ProcessKilledInTheMiddleOfASaveLeavesThePreviousFileWhole)
{
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0)
    {
        Files.Fail_Write_Number = 3;
        Files.On_Failing_Write = [] {
            ::_exit(0);
        };
        Save_Actual_Work_Log(Context, Day_Of({Day_Row, Unassigned_Row, User_Row, User_Row}));
        ::_exit(1);  // the save did not reach its third write
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(Read(Day_Log_Path()), Before);

    // The temporary left behind does not stand in the way of the next save.
    EXPECT_TRUE(std::filesystem::exists(Day_Log_Path() + ".tmp"));
    ASSERT_TRUE(Save_Actual_Work_Log(Context, Day_Of({Day_Row})));
    EXPECT_EQ(Read(Day_Log_Path()), Encode_Work_Record(Day_Row));
}

TEST_F(Day_Log_File, CheckpointIsSilentAndNeverWritesAnEmptyDay)
{
    EXPECT_FALSE(Checkpoint_Day_Log(Context, Day_Log{}));
    Files.Fail_Write_Number = 1;
    EXPECT_FALSE(Checkpoint_Day_Log(Context, Day_Of({Day_Row})));
    Make_Read_Only(Day_Log_Path());
    EXPECT_FALSE(Checkpoint_Day_Log(Context, Day_Of({Day_Row})));
    Expect_Unchanged_And_No_Temporary();
    ::chmod(Day_Log_Path().c_str(), 0644);
    EXPECT_TRUE(Checkpoint_Day_Log(Context, Day_Of({Day_Row})));
    EXPECT_EQ(Read(Day_Log_Path()), Encode_Work_Record(Day_Row));
    EXPECT_TRUE(Errors.Lines().empty());
}

TEST_F(Day_Log_File, CheckpointOfUnchangedRecordsWritesNothingButAnyDifferenceIsStored)
{
    Files.Create_Error = EIO;  // any write would fail
    EXPECT_TRUE(Checkpoint_Day_Log(Context, Three_Rows));
    Expect_Unchanged_And_No_Temporary();
    // One record fewer, or a changed field, is a different day and must be written.
    EXPECT_FALSE(Checkpoint_Day_Log(Context, Day_Of({Day_Row})));
    Work_Record changed_row = User_Row;
    changed_row[Duration_Field] = "01:01";
    const Day_Log changed = Day_Of({Day_Row, Unassigned_Row, changed_row});
    EXPECT_FALSE(Checkpoint_Day_Log(Context, changed));
    Files.Create_Error = 0;
    EXPECT_TRUE(Checkpoint_Day_Log(Context, changed));
    EXPECT_EQ(Read(Day_Log_Path()),
              Encode_Work_Record(Day_Row) + Encode_Work_Record(Unassigned_Row) + Encode_Work_Record(changed_row));
    // A longer file whose start matches is not taken for the same day.
    Store_Records({Day_Row, Unassigned_Row, changed_row, User_Row});
    EXPECT_TRUE(Checkpoint_Day_Log(Context, changed));
    EXPECT_EQ(Read(Day_Log_Path()).size(), 3 * Work_Record_Size);
}

TEST_F(Day_Log_File, SaveReplacesTheFileALinkNamesKeepsItsModeAndMakesNewFilesUnwritableForOthers)
{
    auto mode_of = [](const std::string& path) {
        struct stat status
        {
        };
        ::stat(path.c_str(), &status);
        return status.st_mode & 07777;
    };
    const mode_t previous_mask = ::umask(0);
    // A relative link into another folder, to a file of mode 0640.
    std::filesystem::create_directory(Paths.File("kept"));
    std::filesystem::rename(Day_Log_Path(), Paths.File("kept/day.log"));
    ::chmod(Paths.File("kept/day.log").c_str(), 0640);
    std::filesystem::create_symlink("kept/day.log", Day_Log_Path());
    const bool through_link = Save_Actual_Work_Log(Context, Day_Of({Day_Row})) &&
                              Checkpoint_Day_Log(Context, Day_Of({Day_Row, Unassigned_Row, User_Row}));
    // A link to a file not there yet gets it.
    std::filesystem::remove(Day_Log_Path());
    std::filesystem::create_symlink(Paths.File("kept/new.log"), Day_Log_Path());
    const bool to_new_file = Save_Actual_Work_Log(Context, Day_Of({Day_Row}));
    // A plain new file, under a umask that would let others write.
    std::filesystem::remove(Day_Log_Path());
    const bool plain_new_file = Save_Actual_Work_Log(Context, Day_Of({Day_Row}));
    ::umask(previous_mask);

    ASSERT_TRUE(through_link && to_new_file && plain_new_file);
    EXPECT_EQ(Read(Paths.File("kept/day.log")),
              Encode_Work_Record(Day_Row) + Encode_Work_Record(Unassigned_Row) + Encode_Work_Record(User_Row));
    EXPECT_EQ(mode_of(Paths.File("kept/day.log")), 0640u);
    EXPECT_EQ(Read(Paths.File("kept/new.log")), Encode_Work_Record(Day_Row));
    EXPECT_EQ(mode_of(Paths.File("kept/new.log")), 0664u);
    EXPECT_FALSE(std::filesystem::is_symlink(Day_Log_Path()));
    EXPECT_EQ(mode_of(Day_Log_Path()), 0664u);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Paths.File("kept")), {}), 2);  // no temporary left
    EXPECT_TRUE(Errors.Lines().empty());
}

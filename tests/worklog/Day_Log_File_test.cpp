#include <sys/wait.h>
#include <unistd.h>

#include "Work_Log_Test_Support.h"

namespace
{

Day_Log Day_Of(const std::vector<Work_Record>& records)
{
    Day_Log log;
    for (const Work_Record& record : records) log.Append_Record(record);
    return log;
}

const Work_Record Day_Row = Make_Record("Monday", "07.12.2026", "08:00 - 09:30", "Day", "01:30", "");
const Work_Record Unassigned_Row = Make_Record("", "", "", "DEFAULT", "- 00:20", "first remark");
const Work_Record User_Row = Make_Record("", "", "", "Coding", "01:00", "\x8A" "koda");  // CP1250 "Š"

class Day_Log_File : public Work_Log_Test
{
};

}  // namespace

TEST_F(Day_Log_File, RecordLayoutIsSixLengthPrefixedFieldsOf256Bytes)
{
    Work_Record record = Make_Record("Po", "07.12.2026", "", "Coding", std::string(300, 'x'), "");
    const std::string bytes = Encode_Work_Record(record);
    ASSERT_EQ(bytes.size(), 1536u);
    EXPECT_EQ(bytes[0], 2);
    EXPECT_EQ(bytes.substr(1, 2), "Po");
    EXPECT_EQ(bytes[256], 10);
    EXPECT_EQ(bytes.substr(257, 10), "07.12.2026");
    EXPECT_EQ(bytes[512], 0);
    EXPECT_EQ(bytes.substr(769, 6), "Coding");
    EXPECT_EQ(static_cast<unsigned char>(bytes[1024]), 255);  // a longer text keeps 255 characters
    EXPECT_EQ(bytes.substr(1025, 255), std::string(255, 'x'));
    EXPECT_EQ(bytes[1280], 0);
}

TEST_F(Day_Log_File, ReadingIgnoresBytesAfterTheCharacters)
{
    std::string bytes(1536, '\xCC');  // leftover memory as another writer may leave it
    bytes[0] = 3;
    bytes.replace(1, 3, "Mon");
    for (std::size_t field = 1; field < 6; ++field) bytes[field * 256] = 0;
    bytes[1024] = static_cast<char>(255);  // the largest length still fits its field
    const Work_Record record = Decode_Work_Record(bytes);
    EXPECT_EQ(record[Day_Name_Field], "Mon");
    EXPECT_EQ(record[Duration_Field], std::string(255, '\xCC'));
    EXPECT_EQ(record[Remark_Field], "");
}

TEST_F(Day_Log_File, SavedFileHas1536BytesPerRecordAndReadsBackIdentically)
{
    ASSERT_TRUE(Save_Actual_Work_Log(Context, Day_Of({Day_Row})));
    EXPECT_EQ(Read_File_Bytes(Day_Log_Path()).size(), 1536u);

    std::vector<Work_Record> full{Day_Row, Unassigned_Row};
    for (int i = 0; i < 14; ++i) full.push_back(Make_Record("", "", "", "Work " + std::to_string(i), "00:10", "r"));
    full[5][Remark_Field] = std::string("\x81\x83\x88\x90\x98\xFF\0x", 8);  // undefined in CP1250, and a zero
    const Day_Log saved = Day_Of(full);
    ASSERT_TRUE(Save_Actual_Work_Log(Context, saved));
    const std::string first_bytes = Read_File_Bytes(Day_Log_Path());
    EXPECT_EQ(first_bytes.size(), 24576u);

    Stored_Day_Log stored;
    ASSERT_TRUE(Open_Actual_Work_Log(Context, stored));
    EXPECT_EQ(stored.Records, saved.Records);
    ASSERT_TRUE(Save_Actual_Work_Log(Context, Day_Of(stored.Records)));
    EXPECT_EQ(Read_File_Bytes(Day_Log_Path()), first_bytes);
    EXPECT_TRUE(Errors.Lines().empty());
    EXPECT_FALSE(std::filesystem::exists(Day_Log_Path() + ".tmp"));
}

TEST_F(Day_Log_File, TrailingPartialRecordIsNotRead)
{
    Store_Records({Day_Row, User_Row}, std::string(1535, 'z'));
    Stored_Day_Log stored;
    ASSERT_TRUE(Open_Actual_Work_Log(Context, stored));
    EXPECT_EQ(stored.Whole_Record_Count, 2u);
    EXPECT_EQ(stored.Records, (std::vector<Work_Record>{Day_Row, User_Row}));
}

TEST_F(Day_Log_File, ReadOnlyFileIsRefusedForOpenAndSaveAndStaysUnchanged)
{
    Store_Records({Day_Row});
    const std::string before = Read_File_Bytes(Day_Log_Path());
    Make_Read_Only(Day_Log_Path());
    const std::string path = Day_Log_Path();

    EXPECT_FALSE(Save_Actual_Work_Log(Context, Day_Of({Day_Row, Unassigned_Row, User_Row})));
    EXPECT_FALSE(Checkpoint_Day_Log(Context, Day_Of({Day_Row, Unassigned_Row, User_Row})));
    Stored_Day_Log stored;
    EXPECT_FALSE(Open_Actual_Work_Log(Context, stored));
    EXPECT_EQ(Lines(), (std::vector<std::string>{
                           " - SAVE_ACTUAL_WORK_LOG - REWRITE - ERROR_ACCESS_DENIED - access to " + path +
                               " denied, file is read only",
                           " - OPEN_ACTUAL_WORK_LOG - RESET - ERROR_ACCESS_DENIED - access to " + path +
                               " denied, file is read only"}));
    EXPECT_EQ(Read_File_Bytes(path), before);
}

TEST_F(Day_Log_File, WriteFailingPartWayKeepsThePreviousFileWhole)
{
    Store_Records({Day_Row, Unassigned_Row, User_Row});
    const std::string before = Read_File_Bytes(Day_Log_Path());
    Files.Fail_Write_Number = 2;
    Files.Write_Error = ENOSPC;

    EXPECT_FALSE(Save_Actual_Work_Log(Context, Day_Of({Day_Row, Unassigned_Row, User_Row, User_Row})));
    EXPECT_EQ(Lines(), (std::vector<std::string>{
                           " - SAVE_ACTUAL_WORK_LOG - WRITE - UNEXPECTED_ERROR - not possible to write record into file " +
                           Day_Log_Path() + ". " + std::to_string(ENOSPC) + " - " + std::strerror(ENOSPC)}));
    EXPECT_EQ(Read_File_Bytes(Day_Log_Path()), before);
    EXPECT_FALSE(std::filesystem::exists(Day_Log_Path() + ".tmp"));
}

TEST_F(Day_Log_File, ProcessKilledInTheMiddleOfASaveLeavesThePreviousFileWhole)
{
    Store_Records({Day_Row, Unassigned_Row, User_Row});
    const std::string before = Read_File_Bytes(Day_Log_Path());
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0)
    {
        Files.Fail_Write_Number = 3;
        Files.On_Failing_Write = [] { ::_exit(0); };
        Save_Actual_Work_Log(Context, Day_Of({Day_Row, Unassigned_Row, User_Row, User_Row}));
        ::_exit(1);  // the save did not reach its third write
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(Read_File_Bytes(Day_Log_Path()), before);

    // The temporary left behind does not stand in the way of the next save.
    EXPECT_TRUE(std::filesystem::exists(Day_Log_Path() + ".tmp"));
    ASSERT_TRUE(Save_Actual_Work_Log(Context, Day_Of({Day_Row})));
    EXPECT_EQ(Read_File_Bytes(Day_Log_Path()), Encode_Work_Record(Day_Row));
}

TEST_F(Day_Log_File, CreateAndRenameFailuresGiveTheirLines)
{
    Store_Records({Day_Row});
    const std::string before = Read_File_Bytes(Day_Log_Path());
    const std::string path = Day_Log_Path();
    const std::string prefix = " - SAVE_ACTUAL_WORK_LOG - REWRITE - ";

    Files.Create_Error = EBUSY;
    EXPECT_FALSE(Save_Actual_Work_Log(Context, Day_Of({User_Row})));
    Files.Create_Error = EACCES;
    EXPECT_FALSE(Save_Actual_Work_Log(Context, Day_Of({User_Row})));
    Files.Create_Error = EMFILE;
    EXPECT_FALSE(Save_Actual_Work_Log(Context, Day_Of({User_Row})));
    Files.Create_Error = 0;
    Files.Rename_Error = EIO;
    EXPECT_FALSE(Save_Actual_Work_Log(Context, Day_Of({User_Row})));

    EXPECT_EQ(Lines(), (std::vector<std::string>{
                           prefix + "ERROR_SHARING_VIOLATION - file " + path + " is used by another thread",
                           prefix + "ERROR_ACCESS_DENIED - access to " + path + " denied, file is read only",
                           prefix + "UNEXPECTED_ERROR - not possible to create file " + path + ". " +
                               std::to_string(EMFILE) + " - " + std::strerror(EMFILE),
                           prefix + "UNEXPECTED_ERROR - not possible to create file " + path + ". " +
                               std::to_string(EIO) + " - " + std::strerror(EIO)}));
    EXPECT_EQ(Read_File_Bytes(path), before);
    EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));
}

TEST_F(Day_Log_File, OpenFailuresGiveTheirResetLines)
{
    Store_Records({Day_Row});
    const std::string path = Day_Log_Path();
    const std::string prefix = " - OPEN_ACTUAL_WORK_LOG - RESET - ";
    Stored_Day_Log stored;
    Files.Read_Error = ETXTBSY;
    EXPECT_FALSE(Open_Actual_Work_Log(Context, stored));
    Files.Read_Error = EIO;
    EXPECT_FALSE(Open_Actual_Work_Log(Context, stored));
    EXPECT_EQ(Lines(), (std::vector<std::string>{
                           prefix + "ERROR_SHARING_VIOLATION - file " + path + " is used by another thread",
                           prefix + "UNEXPECTED_ERROR - not possible to create file " + path + ". " +
                               std::to_string(EIO) + " - " + std::strerror(EIO)}));
}

TEST_F(Day_Log_File, CheckpointIsSilentAndNeverWritesAnEmptyDay)
{
    Store_Records({Day_Row, Unassigned_Row, User_Row});
    const std::string before = Read_File_Bytes(Day_Log_Path());
    EXPECT_FALSE(Checkpoint_Day_Log(Context, Day_Log{}));
    EXPECT_EQ(Read_File_Bytes(Day_Log_Path()), before);

    Files.Fail_Write_Number = 1;
    EXPECT_FALSE(Checkpoint_Day_Log(Context, Day_Of({Day_Row})));
    EXPECT_EQ(Read_File_Bytes(Day_Log_Path()), before);

    EXPECT_TRUE(Checkpoint_Day_Log(Context, Day_Of({Day_Row})));
    EXPECT_EQ(Read_File_Bytes(Day_Log_Path()), Encode_Work_Record(Day_Row));
    EXPECT_TRUE(Errors.Lines().empty());
}

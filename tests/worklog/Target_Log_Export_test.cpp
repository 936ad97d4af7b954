#include "worklog/Target_Log_Export.h"

#include "platform/File_Error.h"

#include "Work_Log_Test_Support.h"

namespace
{

const std::vector<Work_Record> Stored_Day{
    Make_Record("Monday", "07.12.2026", "08:00 - 16:30", "Day total", "08:30", ""),
    Make_Record("", "", "", "DEFAULT", "- 00:20", "rest"),
    Make_Record("", "", "", "Coding", "05:00", "a;b"),
    Make_Record("", "", "", "Meeting", "03:50", "\x8A\x81\x98 z"),  // CP1250 bytes, two of them undefined
};

class Target_Log_Export : public Work_Log_Test
{
protected:
    std::string Target() const { return Program_Settings.Target_Log_File_Name; }
    bool Export(const std::string& pattern = "%0:s;%1:s;%2:s;%3:s;%4:s;%5:s")
    {
        return Save_Target_Work_Log(Context, Stored_Day, pattern, Target());
    }
};

}  // namespace

TEST_F(Target_Log_Export, NewTargetGetsTheSeparatorAndOneLinePerRecord)
{
    ASSERT_TRUE(Export());
    EXPECT_EQ(Read_File_Bytes(Target()), "\r\n"
                                         "Monday;07.12.2026;08:00 - 16:30;Day total;08:30;\r\n"
                                         ";;;DEFAULT;- 00:20;rest\r\n"
                                         ";;;Coding;05:00;a;b\r\n"
                                         ";;;Meeting;03:50;\x8A\x81\x98 z\r\n");
    EXPECT_TRUE(Errors.Lines().empty());
}

TEST_F(Target_Log_Export, ExistingTargetIsOnlyAppendedTo)
{
    const std::string existing = "old line\r\nunfinished";
    Write_File_Bytes(Target(), existing);
    Program_Settings.Target_Log_File_Separator = "=== day ===";
    ASSERT_TRUE(Export("%1:s %3:s=%4:s"));
    ASSERT_TRUE(Export("%1:s %3:s=%4:s"));
    const std::string block = "=== day ===\r\n"
                              "07.12.2026 Day total=08:30\r\n"
                              " DEFAULT=- 00:20\r\n"
                              " Coding=05:00\r\n"
                              " Meeting=03:50\r\n";
    EXPECT_EQ(Read_File_Bytes(Target()), existing + block + block);
}

TEST_F(Target_Log_Export, PatternTheFormatRejectsWritesNothingAndSaysWhy)
{
    for (const std::string pattern : {"%6:s", "%0:d", "%0:s%", "%s%s%s%s%s%s%s"})
    {
        SCOPED_TRACE(pattern);
        const std::size_t lines_before = Errors.Lines().size();
        EXPECT_FALSE(Export(pattern));
        ASSERT_EQ(Lines().size(), lines_before + 1);
        EXPECT_EQ(Lines().back(), " - SAVE_TARGET_WORK_LOG - FORMAT - INVALID_FORMAT - line pattern " + pattern +
                                      " is not valid, only %0:s to %5:s may be used");
        EXPECT_FALSE(std::filesystem::exists(Target()));
    }
}

TEST_F(Target_Log_Export, MissingDirectoryIsNamedWithItsTrailingSeparator)
{
    const std::string directory = Paths.File("no/such/dir/");
    Program_Settings.Target_Log_File_Name = directory + "Work_Log.csv";
    EXPECT_FALSE(Export());
    EXPECT_EQ(Lines(), (std::vector<std::string>{" - SAVE_TARGET_WORK_LOG - REWRITE - ERROR_PATH_NOT_FOUND - path " +
                                                 directory + " not found"}));
}

TEST_F(Target_Log_Export, ReadOnlyTargetIsRefusedAndUnchanged)
{
    Write_File_Bytes(Target(), "kept\r\n");
    Make_Read_Only(Target());
    EXPECT_FALSE(Export());
    EXPECT_EQ(Lines(), (std::vector<std::string>{" - SAVE_TARGET_WORK_LOG - APPEND - ERROR_ACCESS_DENIED - access to " +
                                                 Target() + " denied, file is read only"}));
    EXPECT_EQ(Read_File_Bytes(Target()), "kept\r\n");
}

TEST_F(Target_Log_Export, OpenFailuresGiveTheirLines)
{
    const std::string name = Target();
    Files.Create_Error = EACCES;
    EXPECT_FALSE(Export());
    Files.Create_Error = ENOMEDIUM;
    EXPECT_FALSE(Export());
    Files.Create_Error = EBUSY;  // a sharing violation is unexpected when creating
    EXPECT_FALSE(Export());
    Files.Create_Error = EISDIR;  // 21, but not "drive not ready"
    EXPECT_FALSE(Export());
    Files.Create_Error = 0;
    Write_File_Bytes(name, "");
    Files.Append_Error = ETXTBSY;
    EXPECT_FALSE(Export());
    Files.Append_Error = EIO;  // 5, but not "access denied"
    EXPECT_FALSE(Export());

    const std::string rewrite = " - SAVE_TARGET_WORK_LOG - REWRITE - ";
    const std::string append = " - SAVE_TARGET_WORK_LOG - APPEND - ";
    EXPECT_EQ(Lines(), (std::vector<std::string>{
                           rewrite + "ERROR_ACCESS_DENIED - access to " + name + " denied, file is read only",
                           rewrite + "ERROR_NOT_READY - file " + name + ", drive not ready",
                           rewrite + "UNEXPECTED_ERROR - not possible to create file " + name + ". 32 - " +
                               File_Error_From_Errno(EBUSY).Text,
                           rewrite + "UNEXPECTED_ERROR - not possible to create file " + name + ". " +
                               std::to_string(EISDIR) + " - " + std::strerror(EISDIR),
                           append + "ERROR_SHARING_VIOLATION - file " + name + " is used by another thread",
                           append + "UNEXPECTED_ERROR - not possible to create file " + name + ". " +
                               std::to_string(EIO) + " - " + std::strerror(EIO)}));
    EXPECT_EQ(Read_File_Bytes(name), "");
}

TEST_F(Target_Log_Export, WriteFailureKeepsTheWholeLinesBeforeIt)
{
    Files.Fail_Write_Number = 3;
    Files.Write_Error = ENOSPC;
    EXPECT_FALSE(Export());
    EXPECT_EQ(Read_File_Bytes(Target()), "\r\nMonday;07.12.2026;08:00 - 16:30;Day total;08:30;\r\n");
    // A single blank between the code and the text in this line.
    EXPECT_EQ(Lines(), (std::vector<std::string>{
                           " - SAVE_TARGET_WORK_LOG - WRITELN - UNEXPECTED_ERROR - not possible to write record into file " +
                           Target() + ". " + std::to_string(ENOSPC) + " " + std::strerror(ENOSPC)}));
}

#include "worklog/Target_Log_Export.h"

#include "Work_Log_Test_Support.h"
#include "platform/File_Error.h"
#include "worklog/Export_Journal.h"

namespace
{

using Lines_Of = std::vector<std::string>;

const std::vector<Work_Record> Stored_Day{
    Make_Record("Monday", "07.12.2026", "08:00 - 16:30", "Day total", "08:30", ""),
    Make_Record("", "", "", "DEFAULT", "- 00:20", "rest"), Make_Record("", "", "", "Coding", "05:00", "a;b"),
    Make_Record("", "", "", "Meeting", "03:50", "\x8A\x81\x98 z"),  // CP1250 bytes, two of them undefined
};

class Target_Log_Export : public Work_Log_Test
{
protected:
    bool Export(const std::string& pattern = "%0:s;%1:s;%2:s;%3:s;%4:s;%5:s")
    {
        return Save_Target_Work_Log(Context, Stored_Day, pattern, Target());
    }
};

}  // namespace

TEST_F(Target_Log_Export, NewTargetGetsTheSeparatorAndOneLinePerRecordAndLaterBlocksAreAppended)
{
    ASSERT_TRUE(Export());
    EXPECT_EQ(Read(Target()),
              "\r\nMonday;07.12.2026;08:00 - 16:30;Day total;08:30;\r\n;;;DEFAULT;- 00:20;rest\r\n"
              ";;;Coding;05:00;a;b\r\n;;;Meeting;03:50;\x8A\x81\x98 z\r\n");
    EXPECT_TRUE(Errors.Lines().empty());

    const std::string existing = "old line\r\nunfinished";
    Write(Target(), existing);
    Program_Settings.Target_Log_File_Separator = "=== day ===";
    ASSERT_TRUE(Export("%1:s %3:s=%4:s"));
    Remove_Export_Journal(Context);  // as the day start does once the new day is stored
    ASSERT_TRUE(Export("%1:s %3:s=%4:s"));
    const std::string block =
        "=== day ===\r\n07.12.2026 Day total=08:30\r\n DEFAULT=- 00:20\r\n Coding=05:00\r\n"
        " Meeting=03:50\r\n";
    EXPECT_EQ(Read(Target()), existing + block + block);
}

TEST_F(Target_Log_Export, PatternTheFormatRejectsWritesNothingAndSaysWhy)
{
    for (const std::string pattern : {"%6:s", "%0:d", "%0:s%", "%s%s%s%s%s%s%s"})
    {
        SCOPED_TRACE(pattern);
        EXPECT_FALSE(Export(pattern));
        EXPECT_EQ(Lines().back(), (" - SAVE_TARGET_WORK_LOG - FORMAT - INVALID_FORMAT - line pattern " + pattern +
                                   " is not valid, only %0:s to %5:s may be used"));
        EXPECT_FALSE(std::filesystem::exists(Target()));
    }
    EXPECT_EQ(Lines().size(), 4u);
}

TEST_F(Target_Log_Export, CreateAndAppendFailuresGiveTheirLinesAndWriteNothing)
{
    const std::string directory = Paths.File("no/such/dir/");
    Program_Settings.Target_Log_File_Name = directory + "Work_Log.csv";
    EXPECT_FALSE(Export());
    Program_Settings.Target_Log_File_Name = Paths.File("Work_Log.csv");
    for (const int error : {EACCES, ENOMEDIUM, EBUSY, EISDIR})  // EBUSY: sharing is unexpected when creating
    {
        Files.Create_Error = error;
        EXPECT_FALSE(Export());
    }
    Files.Create_Error = 0;
    Write(Target(), "kept\r\n");
    Make_Read_Only(Target());
    EXPECT_FALSE(Export());
    ::chmod(Target().c_str(), 0644);
    for (const int error : {ETXTBSY, EIO})  // EIO is 5, but not "access denied"
    {
        Files.Append_Error = error;
        EXPECT_FALSE(Export());
    }

    const std::string name = Target();
    const std::string rewrite = " - SAVE_TARGET_WORK_LOG - REWRITE - ";
    const std::string append = " - SAVE_TARGET_WORK_LOG - APPEND - ";
    const std::string cannot_create = "UNEXPECTED_ERROR - not possible to create file " + name + ". ";
    EXPECT_EQ(Lines(), (Lines_Of{rewrite + "ERROR_PATH_NOT_FOUND - path " + directory + " not found",
                                 rewrite + "ERROR_ACCESS_DENIED - access to " + name + " denied, file is read only",
                                 rewrite + "ERROR_NOT_READY - file " + name + ", drive not ready",
                                 rewrite + cannot_create + "32 - " + File_Error_From_Errno(EBUSY).Text,
                                 rewrite + cannot_create + std::to_string(EISDIR) + " - " + std::strerror(EISDIR),
                                 append + "ERROR_ACCESS_DENIED - access to " + name + " denied, file is read only",
                                 append + "ERROR_SHARING_VIOLATION - file " + name + " is used by another thread",
                                 append + cannot_create + std::to_string(EIO) + " - " + std::strerror(EIO)}));
    EXPECT_EQ(Read(name), "kept\r\n");
}

TEST_F(Target_Log_Export, ATargetLogThatMayOnlyBeWrittenIsAppendedToOnce)
{
    Write(Target(), "kept\r\n");
    ::chmod(Target().c_str(), 0200);
    bool exported = false;
    bool repeated = false;
    {
        Without_File_Mode_Override as_a_user;
        exported = Export("%3:s");
        // A start after a crash finds the note: the length alone tells the day is there.
        repeated = Export("%3:s");
    }
    ::chmod(Target().c_str(), 0644);
    EXPECT_TRUE(exported);
    EXPECT_TRUE(repeated);
    std::string expected = "kept\r\n" + Program_Settings.Target_Log_File_Separator + "\r\n";
    for (const Work_Record& record : Stored_Day) expected += record[Work_Type_Field] + "\r\n";
    EXPECT_EQ(Read(Target()), expected);
    EXPECT_TRUE(Lines().empty()) << Lines().front();
}

TEST_F(Target_Log_Export, WriteFailureAtAnyLineLeavesTheTargetLogAsItWasAndTheRetryWritesTheBlockOnce)
{
    Export();
    const std::string block = Read(Target());
    const int writes_of_an_export = Files.Writes;
    ASSERT_GT(writes_of_an_export, 5);  // the note, the separator and each record's line
    for (const bool existed : {false, true})
        for (int failing = 1; failing <= writes_of_an_export; ++failing)
        {
            SCOPED_TRACE((existed ? "existing target, write " : "new target, write ") + std::to_string(failing));
            std::filesystem::remove(Target());
            Remove_Export_Journal(Context);
            if (existed) Write(Target(), "older day\r\n");
            const std::string before = existed ? Read(Target()) : "";
            Files.Fail_Write_Number = Files.Writes + failing;
            const bool failed = !Export();
            // A note that cannot be written stops the export as a line that cannot does.
            EXPECT_TRUE(failed);
            if (failed)
            {
                EXPECT_EQ(std::filesystem::exists(Target()), existed);
                if (existed)
                {
                    EXPECT_EQ(Read(Target()), before);
                }
                if (failing == 1)
                    EXPECT_EQ(Lines().back(),
                              " - SAVE_TARGET_WORK_LOG - JOURNAL - UNEXPECTED_ERROR - not possible "
                              "to write file " +
                                  Day_Log_Path() + ".export. " + std::to_string(ENOSPC) + " - " +
                                  std::strerror(ENOSPC));
                else
                    EXPECT_EQ(Lines().back(),
                              " - SAVE_TARGET_WORK_LOG - WRITELN - UNEXPECTED_ERROR - not possible to "
                              "write record into file " +
                                  Target() + ". " + std::to_string(ENOSPC) + " " +
                                  std::strerror(ENOSPC));  // a single blank between the code and the text
                EXPECT_TRUE(Export());
            }
            EXPECT_EQ(Read(Target()), before + block);
        }
}

TEST_F(Target_Log_Export, AFailureGivesItsReasonAndANoteThatCannotBeWrittenStopsTheExport)
{
    Texts.Disk_Full_Reason = "disk full";
    Texts.No_Target_Log_Reason = "no target";
    Texts.Invalid_Pattern_Reason = "bad pattern %0:s";
    const std::string older = "\r\nolder day\r\n";
    Write(Target(), older);
    std::string reason;
    // Without its note a crash during the append would double the day at the next start.
    Files.Create_Error = ENOSPC;
    EXPECT_FALSE(Save_Target_Work_Log(Context, Stored_Day, "%0:s", Target(), &reason));
    EXPECT_EQ(Read(Target()), older);
    EXPECT_EQ(reason, "disk full");
    ASSERT_EQ(Errors.Lines().size(), 1u);
    EXPECT_NE(Errors.Lines()[0].find(" - SAVE_TARGET_WORK_LOG - JOURNAL - UNEXPECTED_ERROR - not possible to write "),
              std::string::npos);
    Files.Create_Error = 0;

    EXPECT_FALSE(Save_Target_Work_Log(Context, Stored_Day, "%0:s", "", &reason));
    EXPECT_EQ(reason, "no target");
    EXPECT_EQ(Lines().back(), " - SAVE_TARGET_WORK_LOG - REWRITE - ERROR_PATH_NOT_FOUND - path  not found");
    EXPECT_FALSE(Save_Target_Work_Log(Context, Stored_Day, "%9:s", Target(), &reason));
    EXPECT_EQ(reason, "bad pattern %9:s");
    EXPECT_TRUE(Save_Target_Work_Log(Context, Stored_Day, "%0:s", Target(), &reason));
}

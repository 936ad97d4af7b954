#include "worklog/Day_Log_Checkpoint.h"

#include "Work_Log_Test_Support.h"

namespace
{

class Day_Log_Checkpoint_Test : public Work_Log_Test
{
protected:
    Day_Log_Checkpoint_Test()
    {
        Texts.Save_Failed_Message = "not saved: %0:s";
        Texts.Disk_Full_Reason = "disk full";
        Texts.Access_Denied_Reason = "no access";
        Texts.Other_Failure_Reason = "error %0:s (%1:s)";
        Day.Start_Day(Make_Record("Monday", "07.12.2026", "09:30 - 09:30", "DEFAULT", "00:00", ""), 570);
    }
    Day_Log_Checkpoint::Outcome Save_At(int minute)
    {
        Day.Refresh_Summary_Rows(static_cast<Minute_Of_Day>(540 + minute));
        return Checkpoint.Save(Context, Day);
    }

    Day_Log Day;
    Day_Log_Checkpoint Checkpoint;
};

using Outcome = Day_Log_Checkpoint::Outcome;

}  // namespace

TEST_F(Day_Log_Checkpoint_Test, FailingSavesAreToldOnceAndTheirRecoveryIsRecorded)
{
    EXPECT_EQ(Save_At(31), Outcome::Saved);
    EXPECT_TRUE(Errors.Lines().empty());  // a save that works stays out of the protocol

    Files.Create_Error = ENOSPC;
    EXPECT_EQ(Save_At(32), Outcome::Started_Failing);
    EXPECT_TRUE(Checkpoint.Failing());
    EXPECT_EQ(Save_At(33), Outcome::Still_Failing);
    EXPECT_EQ(Save_At(34), Outcome::Still_Failing);
    Dialogs.Answer(1);
    Checkpoint.Show_Warning(Context);
    EXPECT_EQ(Dialogs.Calls,
              (std::vector<Dialog_Call>{
                  {"Error_Icon_Source.bmp", 70, "not saved: %0:s", Texts.Message_Buttons[1], "", {"disk full"}}}));
    EXPECT_EQ(Read(Day_Log_Path()).substr(513, 13), "09:30 - 09:31");  // the last day that was stored

    Files.Create_Error = 0;
    EXPECT_EQ(Save_At(35), Outcome::Saved_Again);
    EXPECT_FALSE(Checkpoint.Failing());
    EXPECT_EQ(Read(Day_Log_Path()).substr(513, 13), "09:30 - 09:35");
    EXPECT_EQ(Save_At(36), Outcome::Saved);

    Files.Create_Error = EROFS;
    EXPECT_EQ(Save_At(37), Outcome::Started_Failing);
    EXPECT_EQ(Lines(), (std::vector<std::string>{
                           " - SAVE_ACTUAL_WORK_LOG - REWRITE - UNEXPECTED_ERROR - not possible to create file " +
                               Day_Log_Path() + ". " + std::to_string(ENOSPC) + " - " + std::strerror(ENOSPC),
                           " - SAVE_ACTUAL_WORK_LOG - CHECKPOINT - OK - actual log saved again to " + Day_Log_Path(),
                           " - SAVE_ACTUAL_WORK_LOG - REWRITE - ERROR_ACCESS_DENIED - access to " + Day_Log_Path() +
                               " denied, file is read only"}));
}

TEST_F(Day_Log_Checkpoint_Test, TheWarningSaysWhyInTheUsersLanguage)
{
    const std::pair<int, std::string> cases[] = {
        {ENOSPC, "disk full"},
        {EDQUOT, "disk full"},
        {EACCES, "no access"},
        {EROFS, "no access"},
        {EIO, "error " + std::to_string(EIO) + " (" + std::strerror(EIO) + ")"},  // EIO is 5, yet not "access denied"
        {EISDIR, "error " + std::to_string(EISDIR) + " (" + std::strerror(EISDIR) + ")"},
    };
    for (const auto& [error, reason] : cases)
    {
        SCOPED_TRACE(error);
        Day_Log_Checkpoint checkpoint;
        Files.Create_Error = error;
        Work_Record day_row = Day[0];
        day_row[Remark_Field] = std::to_string(error);  // a day the file does not hold yet
        Day.Replace_Record(0, day_row);
        ASSERT_EQ(checkpoint.Save(Context, Day), Outcome::Started_Failing);
        EXPECT_EQ(checkpoint.Reason(Texts), reason);
    }
    // A reason pattern that does not fit its arguments still says the system's text.
    Texts.Other_Failure_Reason = "%5:s";
    Day_Log_Checkpoint checkpoint;
    Files.Create_Error = EIO;
    checkpoint.Save(Context, Day);
    EXPECT_EQ(checkpoint.Reason(Texts), std::strerror(EIO));
}

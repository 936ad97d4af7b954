// The outbox in the local history, without a server.
#include "history/History_Outbox.h"

#include "history/History_Store.h"
#include "support/Test_Temporary_Directory.h"
#include "worklog/Work_Log_Test_Support.h"

namespace
{
const std::vector<Work_Record> Booked_Day{Make_Record("Friday", "04.12.2026", "08:00 - 16:10", "Celkem", "08:10", ""),
                                          Make_Record("", "", "", "Office", "00:40", ""),
                                          Make_Record("", "", "08:00 - 13:30", "Coding", "05:30", "a; b"),
                                          Make_Record("", "", "13:30 - 15:30", "Meeting", "02:00", "")};
}  // namespace

// A day sent from the export and the same day pushed from the stored history are one day
// to the server; records that do not add up to the counted day are not sent as they are.
TEST(History_Outbox, ExportedAndStoredDayShareTheirFingerprintAndCount)
{
    const History_Day counted = *Count_Day_Records({2026, 12, 4}, Booked_Day).Day;
    const Outbox_Day exported = Outbox_Day_Of_Records(counted, Booked_Day, 480);
    EXPECT_EQ(exported.Fingerprint, Outbox_Day_Of_History(counted, 480).Fingerprint);
    ASSERT_EQ(exported.Records.size(), 4U);
    EXPECT_EQ(exported.Records[0].Counted_Minutes, 0);  // the Day_Row only holds the total
    EXPECT_EQ(exported.Records[2].Counted_Minutes, 330);
    EXPECT_EQ(exported.Records[2].Remark, "a; b");

    History_Day changed = counted;
    changed.By_Work_Type[1].Minutes -= 10;
    EXPECT_NE(History_Day_Fingerprint(changed), exported.Fingerprint);
    EXPECT_EQ(Outbox_Day_Of_Records(changed, Booked_Day, 480), Outbox_Day_Of_History(changed, 480));
}

// A rebuilt history keeps what waits for the server, under the same numbers, so a sender
// that was sending a day when the file was replaced takes that day, and only it, out.
TEST(History_Outbox, RebuiltHistoryKeepsTheWaitingDays)
{
    Test_Temporary_Directory directory;
    const std::string path = directory.File(History_Store_File_Name);
    std::string failure;
    ASSERT_TRUE(History_Store::Write_New(path, {}, failure)) << failure;
    const History_Day counted = *Count_Day_Records({2026, 12, 4}, Booked_Day).Day;
    const History_Day second{{2026, 12, 7}, 60, {{"Coding", 60}}};
    std::vector<Outbox_Day> before;
    {
        History_Store store(path, History_Store::Mode::Read_Write);
        ASSERT_TRUE(store.Replace_Day(counted, Outbox_Day_Of_Records(counted, Booked_Day, 480), failure)) << failure;
        ASSERT_TRUE(store.Replace_Day(second, Outbox_Day_Of_History(second, 450), failure)) << failure;
        ASSERT_TRUE(store.Remove_From_Outbox(1, failure)) << failure;  // the first is sent
        ASSERT_TRUE(store.Read_Outbox(before, 10, failure)) << failure;
    }
    ASSERT_EQ(before.size(), 1U);
    EXPECT_EQ(before[0].Id, 2);
    ASSERT_TRUE(History_Store::Write_New(path, {counted, second}, failure)) << failure;
    History_Store store(path, History_Store::Mode::Read_Write);
    std::vector<Outbox_Day> after;
    ASSERT_TRUE(store.Read_Outbox(after, 10, failure)) << failure;
    EXPECT_EQ(after, before);
}

// A newer installation's data reaches the user's folder: unchanged copies are refreshed,
// changed ones kept, new files added, removed ones and Setup.ini left alone.
#include "platform/Seeded_Files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <utime.h>

#include "platform/Program_Folder.h"
#include "support/Test_Temporary_Directory.h"

namespace
{
// A newer installation writes its files with another time stamp.
void Install(const Test_Temporary_Directory& folder, const std::string& name, const std::string& content, time_t when)
{
    folder.Write("data/" + name, content);
    const utimbuf times{when, when};
    ::utime(folder.File("data/" + name).c_str(), &times);
}
}  // namespace

TEST(Seeded_Files, UnchangedCopiesFollowTheInstallationChangedOnesStay)
{
    Test_Temporary_Directory root;
    ASSERT_EQ(::mkdir(root.File("data").c_str(), 0755), 0);
    ASSERT_EQ(::mkdir(root.File("data/Skin").c_str(), 0755), 0);
    Install(root, "Czech.lng", "old texts", 1000);
    Install(root, "English.lng", "old english", 1000);
    Install(root, "Work_Type_List", "old list", 1000);
    Install(root, "Skin/Button.bmp", "old skin", 1000);
    Install(root, "Setup.ini", "[Main_Setup]\r\nFirst_Start=1\r\n", 1000);
    std::string failure;
    ASSERT_TRUE(Fill_User_Folder(root.File("data"), root.File("user"), failure)) << failure;
    const std::string user = root.File("user");

    // Nothing new: nothing is read or written.
    Seed_Refresh refresh = Refresh_Seeded_Files(root.File("data"), user);
    EXPECT_TRUE(refresh.Refreshed.empty() && refresh.Kept.empty() && refresh.Failure.empty());

    root.Write("user/Work_Type_List", "the user's own list");
    ::unlink(root.File("user/English.lng").c_str());
    root.Write("user/Setup.ini", "[Main_Setup]\r\n");
    Install(root, "Czech.lng", "new texts", 2000);
    Install(root, "English.lng", "new english", 2000);
    Install(root, "Work_Type_List", "new list", 2000);
    Install(root, "Skin/Button.bmp", "new skin", 2000);
    Install(root, "Setup.ini", "[Main_Setup]\r\nFirst_Start=1\r\nNew=1\r\n", 2000);
    Install(root, "Work_Type_List_English", "new file", 2000);

    refresh = Refresh_Seeded_Files(root.File("data"), user);
    EXPECT_EQ(refresh.Refreshed, (std::vector<std::string>{"Czech.lng", "Skin/Button.bmp", "Work_Type_List_English"}));
    EXPECT_EQ(refresh.Kept, std::vector<std::string>{"Work_Type_List"});
    EXPECT_EQ(root.Read("user/Czech.lng"), "new texts");
    EXPECT_EQ(root.Read("user/Skin/Button.bmp"), "new skin");
    EXPECT_EQ(root.Read("user/Work_Type_List"), "the user's own list");
    EXPECT_EQ(root.Read("user/Setup.ini"), "[Main_Setup]\r\n");
    EXPECT_FALSE(std::filesystem::exists(root.File("user/English.lng")));
    EXPECT_EQ(Seed_Refresh_Protocol_Text(refresh, "/usr/share/zentavo-logger"),
              " - PREPARE_PROGRAM_FOLDER - OK - program files refreshed from /usr/share/zentavo-logger: Czech.lng, "
              "Skin/Button.bmp, Work_Type_List_English; kept as changed by the user: Work_Type_List");

    // Once taken, the same installation refreshes nothing again, and the user's list stays
    // the user's through the next version as well.
    refresh = Refresh_Seeded_Files(root.File("data"), user);
    EXPECT_TRUE(refresh.Refreshed.empty() && refresh.Kept.empty());
    Install(root, "Work_Type_List", "newest list", 3000);
    refresh = Refresh_Seeded_Files(root.File("data"), user);
    EXPECT_EQ(refresh.Kept, std::vector<std::string>{"Work_Type_List"});
    EXPECT_EQ(root.Read("user/Work_Type_List"), "the user's own list");
}

TEST(Seeded_Files, AFolderFromBeforeTheManifestAdoptsOnlyCopiesEqualToTheInstallation)
{
    Test_Temporary_Directory root;
    ASSERT_EQ(::mkdir(root.File("data").c_str(), 0755), 0);
    ASSERT_EQ(::mkdir(root.File("user").c_str(), 0700), 0);
    Install(root, "Czech.lng", "texts", 1000);
    Install(root, "Work_Type_List", "list", 1000);
    root.Write("user/Czech.lng", "texts");
    root.Write("user/Work_Type_List", "older or the user's");
    Seed_Refresh refresh = Refresh_Seeded_Files(root.File("data"), root.File("user"));
    EXPECT_TRUE(refresh.Refreshed.empty());
    EXPECT_EQ(refresh.Kept, std::vector<std::string>{"Work_Type_List"});

    Install(root, "Czech.lng", "newer texts", 2000);
    Install(root, "Work_Type_List", "newer list", 2000);
    refresh = Refresh_Seeded_Files(root.File("data"), root.File("user"));
    EXPECT_EQ(refresh.Refreshed, std::vector<std::string>{"Czech.lng"});
    EXPECT_EQ(root.Read("user/Work_Type_List"), "older or the user's");
}

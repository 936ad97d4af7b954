#include "platform/Program_Folder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <functional>

#include "support/Test_Temporary_Directory.h"

namespace
{

// An installation as a package lays it out: bin/ beside share/zentavo-logger/.
class Program_Folder : public ::testing::Test
{
protected:
    Program_Folder()
    {
        std::filesystem::create_directories(Root.File("prefix/bin"));
        std::filesystem::create_directories(Root.File("prefix/share/zentavo-logger/Skin"));
        Root.Write("prefix/bin/zentavo-logger",
                   "\x7f"
                   "ELF");
        ::chmod(Root.File("prefix/bin/zentavo-logger").c_str(), 0755);
        Root.Write("prefix/share/zentavo-logger/Czech.lng", "[Main_Form]\r\n1=P\xF8idat\r\n");
        Root.Write("prefix/share/zentavo-logger/Setup.ini", "[Main_Setup]\r\nFirst_Start=1\r\n");
        Root.Write("prefix/share/zentavo-logger/Skin/Header_Row.bmp", std::string("BM\0\x01", 4));
        Environment.Home = Root.File("home");
        Environment.Xdg_Data_Home = Root.File("home/data");
    }

    Program_Folder_Choice Choose() const
    {
        return Choose_Program_Folder(Root.File("prefix/bin"), Root.File("prefix/bin/../share/zentavo-logger/"),
                                     Environment);
    }

    std::string User_Folder() const { return Root.File("home/data/zentavo-logger/"); }

    static int Mode(const std::string& path)
    {
        struct stat status
        {
        };
        return ::stat(path.c_str(), &status) == 0 ? int(status.st_mode & 07777) : -1;
    }

    Test_Temporary_Directory Root;
    Xdg_Environment Environment;
};

TEST_F(Program_Folder, AWritableFolderHoldingTheLanguageFileKeepsEverythingBesideTheProgram)
{
    EXPECT_EQ(Existing_Program_Directory(Root.File("prefix/bin"), Environment), User_Folder());
    Root.Write("prefix/bin/Czech.lng", "[Main_Form]\r\n");
    const Program_Folder_Choice choice = Choose();
    EXPECT_TRUE(choice.Portable);
    EXPECT_EQ(choice.Program_Directory, Root.File("prefix/bin/"));
    EXPECT_EQ(Existing_Program_Directory(Root.File("prefix/bin"), Environment), choice.Program_Directory);
    EXPECT_FALSE(std::filesystem::exists(Root.File("home/data")));
}

TEST_F(Program_Folder, TheFirstInstalledStartFillsAPrivateFolderAndLaterStartsKeepWhatTheUserChanged)
{
    const Program_Folder_Choice first = Choose();
    ASSERT_TRUE(first.Failure.empty()) << first.Failure;
    EXPECT_FALSE(first.Portable);
    EXPECT_TRUE(first.Filled);
    EXPECT_EQ(first.Program_Directory, User_Folder());
    EXPECT_EQ(first.Data_Source, Root.File("prefix/share/zentavo-logger"));  // named plainly in the protocol
    EXPECT_EQ(Mode(User_Folder()), 0700);
    EXPECT_EQ(Mode(Root.File("home/data")), 0700);  // a data home that did not exist is made private
    for (const char* name : {"Czech.lng", "Setup.ini", "Skin/Header_Row.bmp"})
        EXPECT_EQ(Test_Temporary_Directory::Read_File(User_Folder() + name),
                  Root.Read(std::string("prefix/share/zentavo-logger/") + name))
            << name;
    // Nothing half-made is left beside it.
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(Root.File("home/data"))) ++entries;
    EXPECT_EQ(entries, 1);

    Test_Temporary_Directory::Write_File(User_Folder() + "Setup.ini", "[Main_Setup]\r\nDefault_Remark=mine\r\n");
    std::filesystem::remove(User_Folder() + "Skin/Header_Row.bmp");
    const Program_Folder_Choice second = Choose();
    EXPECT_FALSE(second.Filled);
    EXPECT_EQ(second.Program_Directory, User_Folder());
    EXPECT_EQ(Test_Temporary_Directory::Read_File(User_Folder() + "Setup.ini"),
              "[Main_Setup]\r\nDefault_Remark=mine\r\n");
    EXPECT_FALSE(std::filesystem::exists(User_Folder() + "Skin/Header_Row.bmp"));
}

TEST_F(Program_Folder, AReadOnlyPortableFolderIsCopiedWithoutTheProgramItself)
{
    Root.Write("prefix/bin/Czech.lng", "[Main_Form]\r\n");
    Root.Write("prefix/bin/Actual_Work_Log.log", "day");
    ASSERT_EQ(::chmod(Root.File("prefix/bin").c_str(), 0555), 0);
    const Program_Folder_Choice choice = Choose();
    ASSERT_TRUE(choice.Failure.empty()) << choice.Failure;
    EXPECT_FALSE(choice.Portable);
    EXPECT_EQ(choice.Data_Source, Root.File("prefix/bin"));
    EXPECT_TRUE(std::filesystem::exists(User_Folder() + "Czech.lng"));
    EXPECT_EQ(Test_Temporary_Directory::Read_File(User_Folder() + "Actual_Work_Log.log"), "day");
    EXPECT_FALSE(std::filesystem::exists(User_Folder() + "zentavo-logger"));
}

TEST_F(Program_Folder, WithoutDataOrWithoutAPlaceForTheFolderTheStartFailsNamingThePaths)
{
    std::filesystem::remove(Root.File("prefix/share/zentavo-logger/Czech.lng"));
    Program_Folder_Choice choice = Choose();
    EXPECT_TRUE(choice.Program_Directory.empty());
    EXPECT_NE(choice.Failure.find(Root.File("prefix/share/zentavo-logger")), std::string::npos) << choice.Failure;
    EXPECT_FALSE(std::filesystem::exists(User_Folder()));

    Root.Write("prefix/share/zentavo-logger/Czech.lng", "[Main_Form]\r\n");
    Root.Write("blocked", "a file where a folder should be");
    Environment.Xdg_Data_Home = Root.File("blocked/data");
    choice = Choose();
    EXPECT_TRUE(choice.Program_Directory.empty());
    EXPECT_NE(choice.Failure.find(Root.File("blocked/data")), std::string::npos) << choice.Failure;
}

TEST_F(Program_Folder, ALanguageFileThatIsNoFileIsNamedWithWhatItIs)
{
    const std::string language_file = Root.File("prefix/share/zentavo-logger/Czech.lng");
    const auto failure_for = [&](const std::function<void()>& make) {
        std::filesystem::remove(language_file);
        make();
        return Choose().Failure;
    };
    EXPECT_NE(failure_for([&] { ::mkfifo(language_file.c_str(), 0644); }).find(language_file + " is a FIFO"),
              std::string::npos);
    EXPECT_NE(
        failure_for([&] { std::filesystem::create_directory(language_file); }).find(language_file + " is a folder"),
        std::string::npos);
    EXPECT_NE(failure_for([&] {
                  std::filesystem::create_symlink(Root.File("gone.lng"), language_file);
              }).find(language_file + " is a symbolic link to a file that does not exist"),
              std::string::npos);
}

TEST_F(Program_Folder, DataInstalledIntoTheUsersOwnFolderIsRefusedRatherThanWrittenInto)
{
    // cmake --install --prefix ~/.local with the data in share/: both name one folder.
    Environment.Xdg_Data_Home = Root.File("prefix/share");
    const Program_Folder_Choice choice = Choose();
    EXPECT_TRUE(choice.Program_Directory.empty());
    EXPECT_NE(choice.Failure.find(Root.File("prefix/share/zentavo-logger")), std::string::npos) << choice.Failure;
}

TEST(Xdg_Directories, RelativeOrMissingValuesFallBackToTheHomeFolder)
{
    Xdg_Environment environment;
    environment.Home = "/home/eva";
    EXPECT_EQ(Xdg_Data_Home(environment), "/home/eva/.local/share");
    EXPECT_EQ(Xdg_Config_Home(environment), "/home/eva/.config");
    environment.Xdg_Data_Home = "relative/data";
    environment.Xdg_Config_Home = "/etc/eva/";
    EXPECT_EQ(Xdg_Data_Home(environment), "/home/eva/.local/share");
    EXPECT_EQ(Xdg_Config_Home(environment), "/etc/eva");
}

}  // namespace

#include "platform/Autostart_Entry.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "support/Test_Temporary_Directory.h"

namespace
{

// Undoes the desktop entry rules for one argument: the string escapes first, then the
// quoting, then "%%"; so the test checks the escaping by its meaning.
std::string Exec_Argument_Meaning(const std::string& value)
{
    std::string unescaped;
    for (std::size_t index = 0; index < value.size(); ++index)
    {
        if (value[index] == '\\' && index + 1 < value.size() && value[index + 1] == '\\') ++index;
        unescaped += value[index];
    }
    std::string argument;
    const bool quoted = unescaped.size() >= 2 && unescaped.front() == '"' && unescaped.back() == '"';
    const std::string body = quoted ? unescaped.substr(1, unescaped.size() - 2) : unescaped;
    for (std::size_t index = 0; index < body.size(); ++index)
    {
        if (quoted && body[index] == '\\' && index + 1 < body.size()) ++index;
        else if (body[index] == '%' && index + 1 < body.size() && body[index + 1] == '%') ++index;
        argument += body[index];
    }
    return argument;
}

TEST(Autostart_Entry, ThePathSurvivesTheExecKeysQuotingAndEscapes)
{
    EXPECT_EQ(Desktop_Exec_Argument("/usr/bin/zentavo-logger"), "/usr/bin/zentavo-logger");
    for (const std::string path : {"/home/eva/My Programs/zentavo-logger", "/opt/a$b/\"x\"/c`d`/e\\f/zentavo-logger",
                                   "/opt/100%/zentavo-logger", "/opt/it's (mine)/#1/zentavo-logger"})
    {
        const std::string argument = Desktop_Exec_Argument(path);
        EXPECT_EQ(argument.front(), path.find_first_of(" $\"`\\'(#") != std::string::npos ? '"' : '/') << argument;
        EXPECT_EQ(Exec_Argument_Meaning(argument), path) << argument;
    }
    EXPECT_EQ(Desktop_Exec_Argument("/opt/new\nline/zentavo-logger"), "");
}

TEST(Autostart_Entry, TheFileIsTheSettingWrittenWholeAndRemoved)
{
    Test_Temporary_Directory directory;
    Xdg_Environment environment;
    environment.Home = directory.File("home");
    const std::string path = Autostart_File_Path(environment);
    EXPECT_EQ(path, directory.File("home/.config/autostart/zentavo-logger.desktop"));
    EXPECT_FALSE(Autostart_File_Exists(path));

    std::string failure;
    ASSERT_TRUE(Write_Autostart_File(path, "/usr/bin/zentavo-logger", failure)) << failure;
    EXPECT_TRUE(Autostart_File_Exists(path));
    const std::string text = Test_Temporary_Directory::Read_File(path);
    EXPECT_EQ(text, Autostart_Entry_Text("/usr/bin/zentavo-logger"));
    EXPECT_NE(text.find("\nExec=/usr/bin/zentavo-logger\n"), std::string::npos);
    // A removed program leaves an entry the session passes over.
    EXPECT_NE(text.find("\nTryExec=/usr/bin/zentavo-logger\n"), std::string::npos);
    EXPECT_NE(Autostart_Entry_Text("/opt/e\\f/zentavo-logger").find("\nTryExec=/opt/e\\\\f/zentavo-logger\n"),
              std::string::npos);
    EXPECT_EQ(text.rfind("[Desktop Entry]\n", 0), 0u);

    // Written again for a moved program, it names the new place; no temporary is left.
    ASSERT_TRUE(Write_Autostart_File(path, "/opt/z l/zentavo-logger", failure)) << failure;
    EXPECT_NE(Test_Temporary_Directory::Read_File(path).find("\nExec=\"/opt/z l/zentavo-logger\"\n"),
              std::string::npos);
    int entries = 0;
    for ([[maybe_unused]] const auto& entry :
         std::filesystem::directory_iterator(directory.File("home/.config/autostart")))
        ++entries;
    EXPECT_EQ(entries, 1);

    ASSERT_TRUE(Remove_Autostart_File(path, failure)) << failure;
    EXPECT_FALSE(Autostart_File_Exists(path));
    EXPECT_TRUE(Remove_Autostart_File(path, failure));  // already off
}

TEST(Autostart_Entry, AFolderThatCannotBeMadeOrAPathWithoutAnExecFormFailsWithTheReason)
{
    Test_Temporary_Directory directory;
    directory.Write("config", "a file where the folder should be");
    Xdg_Environment environment;
    environment.Home = directory.File("home");
    environment.Xdg_Config_Home = directory.File("config");
    const std::string path = Autostart_File_Path(environment);
    std::string failure;
    EXPECT_FALSE(Write_Autostart_File(path, "/usr/bin/zentavo-logger", failure));
    EXPECT_NE(failure.find(directory.File("config/autostart")), std::string::npos) << failure;

    environment.Xdg_Config_Home.clear();
    failure.clear();
    EXPECT_FALSE(Write_Autostart_File(Autostart_File_Path(environment), "/tmp/a\tb", failure));
    EXPECT_FALSE(failure.empty());
    EXPECT_FALSE(Autostart_File_Exists(Autostart_File_Path(environment)));
}

}  // namespace

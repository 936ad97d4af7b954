#include "platform/Ini_File.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <filesystem>

#include "platform/Test_Temporary_Directory.h"

namespace
{

class Ini_File_Test : public ::testing::Test
{
protected:
    Test_Temporary_Directory Directory;
    std::string Path = Directory.File("Setup.ini");
    Ini_File Ini{Path};
};

TEST_F(Ini_File_Test, MissingFileGivesEveryDefaultAndIsNotCreatedByReading)
{
    EXPECT_FALSE(Ini.Key_Exists("Main_Setup", "First_Start"));
    EXPECT_EQ(Ini.Read_String("Main_Setup", "Language_File_Name", "Czech.lng"), "Czech.lng");
    EXPECT_EQ(Ini.Read_Integer("Main_Setup", "Full_Time_Value", 480), 480);
    EXPECT_TRUE(Ini.Read_Bool("Main_Setup", "Display_Full_Time_Hint", true));
    EXPECT_EQ(Ini.Read_Color("Visual_Setup", "Main_Form_Color", 0x0005C490u), 0x0005C490u);
    EXPECT_TRUE(Ini.Delete_Key("Main_Setup", "First_Start"));
    EXPECT_FALSE(std::filesystem::exists(Path));
}

TEST_F(Ini_File_Test, NamesIgnoreCaseValuesAreTrimmedAndFirstOccurrenceWins)
{
    Directory.Write("Setup.ini",
                    "[main_setup]\r\n"
                    "  Target_Log_File_Separator =   ---  day ---  \r\n"
                    "FULL_TIME_VALUE=450\n"
                    "Full_Time_Value=999\r\n"
                    "Empty_Value=\r\n"
                    "[Visual_Setup]\r\n"
                    "Title_Bold=1\r\n"
                    "[MAIN_SETUP]\r\n"
                    "Default_Remark=from the second section\r\n");
    EXPECT_EQ(Ini.Read_String("Main_Setup", "target_log_file_separator", "x"), "---  day ---");
    EXPECT_EQ(Ini.Read_Integer("Main_Setup", "Full_Time_Value", 480), 450);
    EXPECT_EQ(Ini.Read_String("Main_Setup", "Empty_Value", "default"), "");
    EXPECT_TRUE(Ini.Key_Exists("Main_Setup", "Empty_Value"));
    EXPECT_FALSE(Ini.Key_Exists("Main_Setup", "Title_Bold"));
    EXPECT_TRUE(Ini.Read_Bool("visual_setup", "title_bold", false));
    EXPECT_EQ(Ini.Read_String("Main_Setup", "Default_Remark", "none"), "none");
}

TEST_F(Ini_File_Test, IntegersFollowDecimalAndHexadecimalForms)
{
    EXPECT_EQ(Parse_Ini_Integer("42"), 42);
    EXPECT_EQ(Parse_Ini_Integer("-17"), -17);
    EXPECT_EQ(Parse_Ini_Integer("+8"), 8);
    EXPECT_EQ(Parse_Ini_Integer("$1F"), 31);
    EXPECT_EQ(Parse_Ini_Integer("0x1f"), 31);
    EXPECT_EQ(Parse_Ini_Integer("-$10"), -16);
    EXPECT_EQ(Parse_Ini_Integer("$FFFFFFFF"), -1);
    EXPECT_EQ(Parse_Ini_Integer("2147483647"), 2147483647);
    EXPECT_EQ(Parse_Ini_Integer("-2147483648"), INT32_MIN);
    for (const char* bad : {"", "-", "$", "0x", "2147483648", "$100000000", "12a", "1 2", "1.5", "true", "0x-1",
                            "99999999999999999999999"})
    {
        EXPECT_FALSE(Parse_Ini_Integer(bad).has_value()) << bad;
    }
    Directory.Write("Setup.ini", "[Main_Setup]\r\nTime_Scroll_Control=yes\r\nFull_Time_Value=$1E0\r\n");
    EXPECT_TRUE(Ini.Read_Bool("Main_Setup", "Time_Scroll_Control", true));
    EXPECT_FALSE(Ini.Read_Bool("Main_Setup", "Time_Scroll_Control", false));
    EXPECT_EQ(Ini.Read_Integer("Main_Setup", "Full_Time_Value", 0), 480);
}

TEST_F(Ini_File_Test, ColoursAcceptHexDecimalAndNamesElseDefault)
{
    EXPECT_EQ(Parse_Ini_Color("$0005C490"), 0x0005C490u);
    EXPECT_EQ(Parse_Ini_Color("255"), 0x000000FFu);
    EXPECT_EQ(Parse_Ini_Color("clRed"), 0x000000FFu);
    EXPECT_EQ(Parse_Ini_Color("CLBLUE"), 0x00FF0000u);
    EXPECT_EQ(Parse_Ini_Color("clMoneyGreen"), 0x00C0DCC0u);
    EXPECT_EQ(Parse_Ini_Color("clSkyBlue"), 0x00F0CAA6u);
    EXPECT_EQ(Parse_Ini_Color("clCream"), 0x00F0FBFFu);
    EXPECT_EQ(Parse_Ini_Color("clMedGray"), 0x00A4A0A0u);
    for (const char* bad : {"clNoSuchColour", "green", "", "-1", "$80000005", "#FF0000"})
    {
        EXPECT_FALSE(Parse_Ini_Color(bad).has_value()) << bad;
    }
    Directory.Write("Setup.ini", "[Visual_Setup]\r\nTitle_Color=blueish\r\n");
    EXPECT_EQ(Ini.Read_Color("Visual_Setup", "Title_Color", 0x123456u), 0x123456u);
}

TEST_F(Ini_File_Test, WritingAKeyChangesOnlyItsLine)
{
    const std::string before = "; hand-written comment\r\n"
                               "[Main_Setup]\r\n"
                               "Target_Log_File_Name=/old/Work_Log.csv\r\n"
                               "odd line without equals\n"
                               "Time_Scroll_Control=1\r\n"
                               "\r\n"
                               "[Visual_Setup]\r\n"
                               "Main_Form_Anchor=0";
    Directory.Write("Setup.ini", before);
    ASSERT_TRUE(Ini.Write_String("MAIN_SETUP", "target_log_file_name", "/new/Log.csv"));
    std::string expected = before;
    expected.replace(expected.find("Target_Log_File_Name=/old/Work_Log.csv"),
                     std::string("Target_Log_File_Name=/old/Work_Log.csv").size(), "Target_Log_File_Name=/new/Log.csv");
    EXPECT_EQ(Directory.Read("Setup.ini"), expected);

    ASSERT_TRUE(Ini.Write_Integer("Visual_Setup", "Main_Form_Anchor", 3));
    expected.replace(expected.size() - 1, 1, "3");
    EXPECT_EQ(Directory.Read("Setup.ini"), expected);
}

TEST_F(Ini_File_Test, NewKeysGoToTheEndOfTheirSectionAndNewSectionsToTheEndOfTheFile)
{
    Directory.Write("Setup.ini", "[Main_Setup]\r\nA=1\r\n\r\n[Visual_Setup]\r\nB=2");
    ASSERT_TRUE(Ini.Write_Bool("Main_Setup", "Time_Scroll_Control", false));
    ASSERT_TRUE(Ini.Write_Bool("Visual_Setup", "Title_Bold", true));
    ASSERT_TRUE(Ini.Write_String("Other", "Key", "value"));
    EXPECT_EQ(Directory.Read("Setup.ini"),
              "[Main_Setup]\r\nA=1\r\nTime_Scroll_Control=0\r\n\r\n[Visual_Setup]\r\nB=2\r\nTitle_Bold=1\r\n"
              "[Other]\r\nKey=value\r\n");

    Directory.Write("Setup.ini", "[Main_Setup]\r\nA=1\r");  // a lone CR does not end the last line
    ASSERT_TRUE(Ini.Write_String("Main_Setup", "B", "2"));
    ASSERT_TRUE(Ini.Write_String("New", "C", "3"));
    EXPECT_EQ(Directory.Read("Setup.ini"), "[Main_Setup]\r\nA=1\r\nB=2\r\n[New]\r\nC=3\r\n");
    Directory.Write("Setup.ini", "[Main_Setup]\r\nA=1\r\r\n[Other]\r");
    ASSERT_TRUE(Ini.Write_String("New", "C", "3"));
    EXPECT_EQ(Directory.Read("Setup.ini"), "[Main_Setup]\r\nA=1\r\r\n[Other]\r\n[New]\r\nC=3\r\n");
    EXPECT_EQ(Ini.Read_String("Main_Setup", "A", ""), "1");

    std::filesystem::remove(Path);
    ASSERT_TRUE(Ini.Write_Integer("Visual_Setup", "Setup_Form_Left", -5));
    EXPECT_EQ(Directory.Read("Setup.ini"), "[Visual_Setup]\r\nSetup_Form_Left=-5\r\n");
    EXPECT_EQ(Ini.Read_Integer("Visual_Setup", "Setup_Form_Left", 50), -5);
}

TEST_F(Ini_File_Test, DeletingAKeyRemovesOnlyItsLine)
{
    Directory.Write("Setup.ini", "[Main_Setup]\r\nFirst_Start=1\r\nFirst_Start=2\nX=y\r\n");
    ASSERT_TRUE(Ini.Delete_Key("main_setup", "FIRST_START"));
    EXPECT_EQ(Directory.Read("Setup.ini"), "[Main_Setup]\r\nFirst_Start=2\nX=y\r\n");
    ASSERT_TRUE(Ini.Delete_Key("Main_Setup", "Not_There"));
    EXPECT_EQ(Directory.Read("Setup.ini"), "[Main_Setup]\r\nFirst_Start=2\nX=y\r\n");
}

TEST_F(Ini_File_Test, AValueWithALineBreakCannotInjectLines)
{
    ASSERT_TRUE(Ini.Write_String("Main_Setup", "Default_Remark", "one\r\n[Visual_Setup]\r\nTitle_Bold=1"));
    EXPECT_EQ(Ini.Read_String("Main_Setup", "Default_Remark", ""), "one");
    EXPECT_FALSE(Ini.Key_Exists("Visual_Setup", "Title_Bold"));
}

TEST_F(Ini_File_Test, GarbageBinaryAndOverlongLinesNeverBreakReadingOrWriting)
{
    std::string garbage = "\xEF\xBB\xBF\x01\x02[\r\n[Main_Setup\r\n=no key\r\n";
    garbage += std::string("Nul=a\0b", 7) + "\r\n";
    garbage += "Long=" + std::string(200000, 'x') + "\n";
    garbage += "[[]]\r\nFull_Time_Value=1\r\n[Main_Setup]\r\n]\r\n\xFF\xFE=\xFE\r\n";
    garbage += "Full_Time_Value=300\r\n";
    Directory.Write("Setup.ini", garbage);
    EXPECT_EQ(Ini.Read_Integer("Main_Setup", "Full_Time_Value", 480), 300);
    EXPECT_EQ(Ini.Read_String("Main_Setup", "Long", "none"), "none");  // before the first real section
    ASSERT_TRUE(Ini.Write_Integer("Main_Setup", "Full_Time_Value", 420));
    std::string expected = garbage;
    expected.replace(expected.find("Full_Time_Value=300"), 19, "Full_Time_Value=420");
    EXPECT_EQ(Directory.Read("Setup.ini"), expected);
}

TEST_F(Ini_File_Test, AReadOnlyFileIsRefusedAndKeptWhole)
{
    const std::string before = "[Main_Setup]\r\nFirst_Start=1\r\n";
    Directory.Write("Setup.ini", before);
    ASSERT_EQ(::chmod(Path.c_str(), 0444), 0);
    EXPECT_FALSE(Ini.Write_String("Main_Setup", "Default_Remark", "x"));
    EXPECT_FALSE(Ini.Delete_Key("Main_Setup", "First_Start"));
    EXPECT_EQ(Directory.Read("Setup.ini"), before);
}

TEST_F(Ini_File_Test, AFailedWriteLeavesTheFileAndNoTemporaryBehind)
{
    // A file-size limit makes the write fail part way, for root too.
    const std::string before = "[Main_Setup]\r\nA=1\r\n";
    Directory.Write("Setup.ini", before);
    rlimit previous {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &previous), 0);
    const auto previous_handler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = previous;
    small.rlim_cur = 100;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool written = Ini.Write_String("Main_Setup", "A", std::string(1000, 'v'));
    ::setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previous_handler);

    EXPECT_FALSE(written);
    EXPECT_EQ(Directory.Read("Setup.ini"), before);
    std::size_t entries = 0;
    for ([[maybe_unused]] auto& entry : std::filesystem::directory_iterator(Directory.Path())) ++entries;
    EXPECT_EQ(entries, 1u);
}

TEST_F(Ini_File_Test, WritingKeepsTheFileModeAndWritesThroughASymbolicLink)
{
    Directory.Write("Real.ini", "[S]\r\nK=1\r\n");
    ASSERT_EQ(::chmod(Directory.File("Real.ini").c_str(), 0640), 0);
    std::filesystem::create_symlink(Directory.File("Real.ini"), Path);
    ASSERT_TRUE(Ini.Write_String("S", "K", "2"));
    EXPECT_TRUE(std::filesystem::is_symlink(Path));
    EXPECT_EQ(Directory.Read("Real.ini"), "[S]\r\nK=2\r\n");
    struct stat status {};
    ASSERT_EQ(::stat(Directory.File("Real.ini").c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0640u);

    const mode_t previous_mask = ::umask(027);
    ASSERT_TRUE(Ini_File(Directory.File("New.ini")).Write_Bool("S", "K", true));
    ::umask(previous_mask);
    ASSERT_EQ(::stat(Directory.File("New.ini").c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0640u);
}

TEST_F(Ini_File_Test, RandomContentNeverBreaksAWriteThatIsReadBack)
{
    const std::vector<std::string> pieces = {"[S]", "[ s ]", "[Other]", "K=old", " k = x ", "K", "=", "[", "]",
                                             "\r", "\n", "\r\n", " ", std::string(1, '\0'), "\xFF", ";K=c"};
    unsigned state = 12345;
    auto next = [&state](unsigned limit) {
        state = state * 1103515245u + 12345u;
        return (state >> 16) % limit;
    };
    for (int round = 0; round < 100; ++round)
    {
        std::string content;
        const unsigned length = next(14);
        for (unsigned index = 0; index < length; ++index) content += pieces[next(static_cast<unsigned>(pieces.size()))];
        Directory.Write("Setup.ini", content);
        const std::string value = "v" + std::to_string(round);
        ASSERT_TRUE(Ini.Write_String("S", "K", value)) << round;
        ASSERT_EQ(Ini.Read_String("s", "k", "missing"), value) << round;
        ASSERT_TRUE(Ini.Write_String("Other", "Key", "1")) << round;
        ASSERT_EQ(Ini.Read_String("S", "K", "missing"), value) << round;
        ASSERT_TRUE(Ini.Delete_Key("S", "K")) << round;
        ASSERT_NE(Ini.Read_String("S", "K", "missing"), value) << round;
    }
}

}  // namespace

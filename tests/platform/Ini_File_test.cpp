#include "platform/Ini_File.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <filesystem>

#include "support/Test_Temporary_Directory.h"

namespace
{

class Ini_File_Test : public ::testing::Test
{
protected:
    Test_Temporary_Directory Directory;
    std::string Path = Directory.File("Setup.ini");
    Ini_File Ini{Path};

    mode_t Mode(const std::string& name) const
    {
        struct stat status
        {
        };
        EXPECT_EQ(::stat(Directory.File(name).c_str(), &status), 0);
        return status.st_mode & 0777;
    }
};

TEST_F(Ini_File_Test, FileReadOnceAnswersFromItsCopyUntilItWritesTheFile)
{
    Directory.Write("Setup.ini", "[Main_Setup]\r\nFirst_Start=1\r\nFull_Time_Value=400\r\n");
    Ini_File once = Ini_File::Read_Once(Path);
    Directory.Write("Setup.ini", "[Main_Setup]\r\nFirst_Start=1\r\nFull_Time_Value=300\r\nExtra=x\r\n");
    EXPECT_EQ(once.Read_Integer("Main_Setup", "full_time_value", 0), 400);
    EXPECT_FALSE(once.Key_Exists("Main_Setup", "Extra"));
    // The write works on the file itself and the copy follows what it left.
    EXPECT_TRUE(once.Delete_Key("Main_Setup", "First_Start"));
    EXPECT_FALSE(once.Key_Exists("Main_Setup", "First_Start"));
    EXPECT_EQ(once.Read_Integer("Main_Setup", "Full_Time_Value", 0), 300);
    EXPECT_EQ(once.Read_String("Main_Setup", "Extra", ""), "x");

    // A file missing when read once stays missing for the copy, with every default.
    Ini_File missing = Ini_File::Read_Once(Directory.File("None.ini"));
    Directory.Write("None.ini", "[A]\r\nB=1\r\n");
    EXPECT_EQ(missing.Read_Integer("A", "B", 7), 7);
}

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
                    "[main_setup]\r\n  Target_Log_File_Separator =   ---  day ---  \r\n"
                    "FULL_TIME_VALUE=450\nFull_Time_Value=999\r\nEmpty_Value=\r\n"
                    "[Visual_Setup]\r\nTitle_Bold=1\r\nTitle_Color=blueish\r\nMain_Form_Anchor=yes\r\n"
                    "[MAIN_SETUP]\r\nDefault_Remark=from the second section\r\n");
    EXPECT_EQ(Ini.Read_String("Main_Setup", "target_log_file_separator", "x"), "---  day ---");
    EXPECT_EQ(Ini.Read_Integer("Main_Setup", "Full_Time_Value", 480), 450);
    EXPECT_EQ(Ini.Read_String("Main_Setup", "Empty_Value", "default"), "");
    EXPECT_TRUE(Ini.Key_Exists("Main_Setup", "Empty_Value"));
    EXPECT_FALSE(Ini.Key_Exists("Main_Setup", "Title_Bold"));
    EXPECT_TRUE(Ini.Read_Bool("visual_setup", "title_bold", false));
    EXPECT_EQ(Ini.Read_String("Main_Setup", "Default_Remark", "none"), "none");
    // A value that is not of the key's form gives the default.
    EXPECT_EQ(Ini.Read_Color("Visual_Setup", "Title_Color", 0x123456u), 0x123456u);
    EXPECT_TRUE(Ini.Read_Bool("Visual_Setup", "Main_Form_Anchor", true));
    EXPECT_FALSE(Ini.Read_Bool("Visual_Setup", "Main_Form_Anchor", false));
    EXPECT_EQ(Ini.Read_Integer("Visual_Setup", "Main_Form_Anchor", 7), 7);
}

TEST_F(Ini_File_Test, IntegersAndColoursTakeTheirDecimalHexadecimalAndNamedForms)
{
    const std::pair<const char*, std::int32_t> integers[] = {{"42", 42},
                                                             {"-17", -17},
                                                             {"+8", 8},
                                                             {"$1F", 31},
                                                             {"0x1f", 31},
                                                             {"-$10", -16},
                                                             {"$FFFFFFFF", -1},
                                                             {"2147483647", 2147483647},
                                                             {"-2147483648", INT32_MIN}};
    for (const auto& [text, value] : integers) EXPECT_EQ(Parse_Ini_Integer(text), value) << text;
    for (const char* bad : {"", "-", "$", "0x", "2147483648", "$100000000", "12a", "1 2", "1.5", "true", "0x-1",
                            "99999999999999999999999"})
        EXPECT_FALSE(Parse_Ini_Integer(bad).has_value()) << bad;

    const std::pair<const char*, std::uint32_t> colours[] = {{"$0005C490", 0x0005C490u},    {"255", 0x000000FFu},
                                                             {"clRed", 0x000000FFu},        {"CLBLUE", 0x00FF0000u},
                                                             {"clMoneyGreen", 0x00C0DCC0u}, {"clSkyBlue", 0x00F0CAA6u},
                                                             {"clCream", 0x00F0FBFFu},      {"clMedGray", 0x00A4A0A0u}};
    for (const auto& [text, value] : colours) EXPECT_EQ(Parse_Ini_Color(text), value) << text;
    for (const char* bad : {"clNoSuchColour", "green", "", "-1", "$80000005", "#FF0000"})
        EXPECT_FALSE(Parse_Ini_Color(bad).has_value()) << bad;
}

TEST_F(Ini_File_Test, WritingAKeyChangesOnlyItsLine)
{
    const std::string head = "; hand-written comment\r\n[Main_Setup]\r\nTarget_Log_File_Name=";
    const std::string middle =
        "\r\nodd line without equals\nTime_Scroll_Control=1\r\n\r\n[Visual_Setup]\r\n"
        "Main_Form_Anchor=";
    Directory.Write("Setup.ini", head + "/old/Work_Log.csv" + middle + "0");
    ASSERT_TRUE(Ini.Write_String("MAIN_SETUP", "target_log_file_name", "/new/Log.csv"));
    ASSERT_TRUE(Ini.Write_Integer("Visual_Setup", "Main_Form_Anchor", 3));
    EXPECT_EQ(Directory.Read("Setup.ini"), head + "/new/Log.csv" + middle + "3");
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
}

TEST_F(Ini_File_Test, DeletingAKeyRemovesOnlyItsFirstLine)
{
    Directory.Write("Setup.ini", "[Main_Setup]\r\nFirst_Start=1\r\nFirst_Start=2\nX=y\r\n");
    ASSERT_TRUE(Ini.Delete_Key("main_setup", "FIRST_START"));
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
    const std::string head = "\xEF\xBB\xBF\x01\x02[\r\n[Main_Setup\r\n=no key\r\n" + std::string("Nul=a\0b\r\n", 9) +
                             "Long=" + std::string(200000, 'x') +
                             "\n[[]]\r\nFull_Time_Value=1\r\n[Main_Setup]\r\n]\r\n\xFF\xFE=\xFE\r\nFull_Time_Value=";
    Directory.Write("Setup.ini", head + "300\r\n");
    EXPECT_EQ(Ini.Read_Integer("Main_Setup", "Full_Time_Value", 480), 300);
    EXPECT_EQ(Ini.Read_String("Main_Setup", "Long", "none"), "none");  // before the first real section
    ASSERT_TRUE(Ini.Write_Integer("Main_Setup", "Full_Time_Value", 420));
    EXPECT_EQ(Directory.Read("Setup.ini"), head + "420\r\n");
}

TEST_F(Ini_File_Test, AReadOnlyFileOrAFailedWriteKeepsTheFileWholeAndNoTemporaryBehind)
{
    const std::string before = "[Main_Setup]\r\nFirst_Start=1\r\n";
    Directory.Write("Setup.ini", before);
    ASSERT_EQ(::chmod(Path.c_str(), 0444), 0);
    EXPECT_FALSE(Ini.Write_String("Main_Setup", "Default_Remark", "x"));
    EXPECT_FALSE(Ini.Delete_Key("Main_Setup", "First_Start"));
    EXPECT_EQ(Directory.Read("Setup.ini"), before);

    // A file-size limit makes the write fail part way, for root too.
    ASSERT_EQ(::chmod(Path.c_str(), 0644), 0);
    rlimit previous{};
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
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Directory.Path()), {}), 1);
}

TEST_F(Ini_File_Test, WritingKeepsTheFileModeAndWritesThroughASymbolicLink)
{
    Directory.Write("Real.ini", "[S]\r\nK=1\r\n");
    ASSERT_EQ(::chmod(Directory.File("Real.ini").c_str(), 0640), 0);
    std::filesystem::create_symlink(Directory.File("Real.ini"), Path);
    ASSERT_TRUE(Ini.Write_String("S", "K", "2"));
    EXPECT_TRUE(std::filesystem::is_symlink(Path));
    EXPECT_EQ(Directory.Read("Real.ini"), "[S]\r\nK=2\r\n");
    EXPECT_EQ(Mode("Real.ini"), 0640u);

    const mode_t previous_mask = ::umask(027);
    ASSERT_TRUE(Ini_File(Directory.File("New.ini")).Write_Bool("S", "K", true));
    ::umask(previous_mask);
    EXPECT_EQ(Mode("New.ini"), 0640u);
}

}  // namespace

// Every file the program reads or writes, with something other than a regular file in
// its place: each reader and writer gives its "cannot be read" (or "cannot be written")
// answer at once and never blocks, and nothing but a regular file is ever replaced.
#include <unistd.h>

#include <csignal>
#include <cstring>

#include "Work_Log_Test_Support.h"
#include "config/Error_List.h"
#include "config/Language_File.h"
#include "config/Settings_File.h"
#include "platform/Ini_File.h"
#include "platform/Posix_File.h"
#include "worklog/Day_Start.h"
#include "worklog/Export_Journal.h"
#include "worklog/Target_Log_Export.h"

namespace
{

enum class Special
{
    Fifo,
    Directory,
    Link_To_Null_Device,
    Link_To_Zero_Device,
    Dangling_Link
};

const char* Name_Of(Special kind)
{
    switch (kind)
    {
    case Special::Fifo: return "a FIFO";
    case Special::Directory: return "a directory";
    case Special::Link_To_Null_Device: return "a link to /dev/null";
    case Special::Link_To_Zero_Device: return "a link to /dev/zero";
    case Special::Dangling_Link: return "a link to nothing";
    }
    return "";
}

// What a blocked open would never get to tell: the case it blocked in.
char Running_Case[256] = {};
void Report_Blocked(int)
{
    const char text[] = "\nblocked (no answer within 10 s) in: ";
    [[maybe_unused]] ssize_t ignored = ::write(2, text, sizeof text - 1);
    ignored = ::write(2, Running_Case, std::strlen(Running_Case));
    ::_exit(1);
}

class Special_Files : public Work_Log_Test
{
protected:
    Special_Files() { std::signal(SIGALRM, Report_Blocked); }
    ~Special_Files() override
    {
        ::alarm(0);
        std::signal(SIGALRM, SIG_DFL);
    }

    void Place(Special kind, const std::string& path)
    {
        std::filesystem::remove_all(path);
        switch (kind)
        {
        case Special::Fifo: ASSERT_EQ(::mkfifo(path.c_str(), 0644), 0); break;
        case Special::Directory: std::filesystem::create_directory(path); break;
        case Special::Link_To_Null_Device: std::filesystem::create_symlink("/dev/null", path); break;
        case Special::Link_To_Zero_Device: std::filesystem::create_symlink("/dev/zero", path); break;
        case Special::Dangling_Link: std::filesystem::create_symlink(Paths.File("elsewhere"), path); break;
        }
    }

    // Runs each role against each kind of special file; the role checks its own outcome.
    void For_Each_Kind(const std::string& role, const std::string& path, const std::function<void(Special)>& check)
    {
        for (const Special kind : {Special::Fifo, Special::Directory, Special::Link_To_Null_Device,
                                   Special::Link_To_Zero_Device, Special::Dangling_Link})
        {
            const std::string name = role + " is " + Name_Of(kind);
            SCOPED_TRACE(name);
            std::snprintf(Running_Case, sizeof Running_Case, "%s", name.c_str());
            Place(kind, path);
            std::filesystem::remove(Paths.File("elsewhere"));
            ::alarm(10);
            check(kind);
            ::alarm(0);
            // The devices are never touched, whatever pointed at them.
            EXPECT_TRUE(std::filesystem::is_character_file("/dev/null"));
            EXPECT_TRUE(std::filesystem::is_character_file("/dev/zero"));
        }
    }

    static int Error_Of(Special kind)
    {
        return kind == Special::Directory ? EISDIR : kind == Special::Dangling_Link ? ENOENT : EINVAL;
    }
};

}  // namespace

TEST_F(Special_Files, ReadersTakeThemForFilesThatCannotBeRead)
{
    For_Each_Kind("any whole file read (skins, bitmaps)", Paths.File("Skin.bmp"), [&](Special kind) {
        std::string content = "old";
        int error_number = 0;
        EXPECT_FALSE(Read_Whole_File(Paths.File("Skin.bmp"), content, error_number));
        EXPECT_EQ(error_number, Error_Of(kind));
        EXPECT_EQ(content, "");
    });
    For_Each_Kind("Setup.ini", Paths.File("Setup.ini"), [&](Special) {
        Settings read;
        Start_Up_Values start_up;
        start_up.First_Start = true;
        read.Target_Log_File_Format = "changed";
        Read_Start_Up_Settings(Paths, read, start_up);
        EXPECT_EQ(read.Target_Log_File_Format, Settings{}.Target_Log_File_Format);
        EXPECT_FALSE(start_up.First_Start);
    });
    For_Each_Kind("the language file", Paths.File("Czech.lng"),
                  [&](Special) { EXPECT_EQ(Load_Language_Texts(Paths.File("Czech.lng")).Message_Strings[4], "4#"); });
    For_Each_Kind("File_List", Paths.File("File_List"), [&](Special) {
        std::vector<std::string> names;
        EXPECT_EQ(Read_File_List(Paths.File("File_List"), names), File_List_Status::Missing);
    });
    For_Each_Kind("Actual_Work_Log.log", Day_Log_Path(), [&](Special kind) {
        const std::size_t questions = Dialogs.Calls.size();
        Dialogs.Answer(1);
        Day_Log log;
        const Load_Day_Log_Result result = Load_Day_Log(Context, log);
        ASSERT_EQ(Dialogs.Calls.size(), questions + 1);
        const std::string& message = Dialogs.Calls.back().Message;
        // Not there, a folder (a damaged day log), or a file that cannot be opened (and why).
        const std::string& question = Texts.Message_Strings[kind == Special::Dangling_Link ? 2
                                                            : kind == Special::Directory   ? 4
                                                                                           : 3];
        EXPECT_EQ(message.substr(0, question.size()), question);
        EXPECT_FALSE(result.Terminate_Requested);
        ASSERT_EQ(log.Size(), 1u);
        // The new day is stored as a plain file; what stood there is kept aside.
        EXPECT_TRUE(Checkpoint_Day_Log(Context, log));
        EXPECT_EQ(Read(kind == Special::Dangling_Link ? Paths.File("elsewhere") : Day_Log_Path()),
                  Encode_Work_Record(log[0]));
        if (kind != Special::Dangling_Link)
        {
            EXPECT_NE(std::filesystem::symlink_status(Day_Log_Path() + ".invalid").type(),
                      std::filesystem::file_type::not_found);
        }
        std::filesystem::remove_all(Day_Log_Path() + ".invalid");
    });
}

TEST_F(Special_Files, WritersRefuseThemAndReplaceOnlyRegularFiles)
{
    const auto expect_written_through_link = [&](Special kind, bool written, const std::string& content) {
        EXPECT_EQ(written, kind == Special::Dangling_Link);
        // A link to nothing gets the file it names, as any write through a link.
        if (kind == Special::Dangling_Link)
        {
            EXPECT_EQ(Read(Paths.File("elsewhere")), content);
        }
    };
    For_Each_Kind("Error_Log.log", Paths.File("Error_Log.log"), [&](Special kind) {
        expect_written_through_link(kind, Write_Error_Log(Paths.File("Error_Log.log"), {"line"}), "line\r\n");
    });
    For_Each_Kind("Setup.ini", Paths.File("Setup.ini"), [&](Special kind) {
        expect_written_through_link(kind, Ini_File(Paths.File("Setup.ini")).Write_String("S", "K", "v"),
                                    "[S]\r\nK=v\r\n");
    });
    For_Each_Kind("Actual_Work_Log.log", Day_Log_Path(), [&](Special kind) {
        const Work_Record day_row = Make_Record("Monday", "07.12.2026", "08:00 - 08:00", "Day", "00:00", "");
        Day_Log log;
        log.Start_Day(day_row, 480);
        const std::size_t lines = Errors.Lines().size();
        expect_written_through_link(kind, Save_Actual_Work_Log(Context, log), Encode_Work_Record(day_row));
        if (kind != Special::Dangling_Link)
        {
            ASSERT_EQ(Errors.Lines().size(), lines + 1);
            EXPECT_NE(Errors.Lines().back().find(" - SAVE_ACTUAL_WORK_LOG - REWRITE - UNEXPECTED_ERROR - not possible "
                                                 "to create file " +
                                                 Day_Log_Path() + ". " + std::to_string(Error_Of(kind)) + " - " +
                                                 std::strerror(Error_Of(kind))),
                      std::string::npos);
        }
    });
    For_Each_Kind("the target log", Target(), [&](Special kind) {
        const std::vector<Work_Record> day{Make_Record("Sunday", "06.12.2026", "08:00 - 09:00", "Day", "01:00", "")};
        const std::size_t lines = Errors.Lines().size();
        expect_written_through_link(kind, Save_Target_Work_Log(Context, day, "%1:s", Target()), "\r\n06.12.2026\r\n");
        Remove_Export_Journal(Context);
        if (kind != Special::Dangling_Link)
        {
            ASSERT_EQ(Errors.Lines().size(), lines + 1);
            EXPECT_NE(Errors.Lines().back().find(" - SAVE_TARGET_WORK_LOG - APPEND - UNEXPECTED_ERROR - not possible "
                                                 "to create file " +
                                                 Target() + ". " + std::to_string(Error_Of(kind)) + " - " +
                                                 std::strerror(Error_Of(kind))),
                      std::string::npos);
        }
    });
}

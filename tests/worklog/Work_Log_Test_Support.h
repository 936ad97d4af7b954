#pragma once
// A temporary program directory with everything the work-log operations need, scripted
// answers to the message dialog and a file layer that fails on request.
#include <gtest/gtest.h>
#include <linux/capability.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <deque>
#include <filesystem>
#include <functional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "Fault_Injecting_File_System.h"
#include "support/Fake_Clock.h"
#include "support/Test_Temporary_Directory.h"
#include "worklog/Day_Log_File.h"
#include "worklog/Work_Log_Context.h"

// The file modes count for this thread as for any user while it lives, root included: the
// capabilities that pass over them leave its effective set.
class Without_File_Mode_Override
{
public:
    Without_File_Mode_Override()
    {
        __user_cap_data_struct reduced[2] = {};
        if (::syscall(SYS_capget, &Header, Saved) != 0) return;
        reduced[0] = Saved[0], reduced[1] = Saved[1];
        reduced[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
        Reduced = ::syscall(SYS_capset, &Header, reduced) == 0;
    }
    ~Without_File_Mode_Override()
    {
        if (Reduced) ::syscall(SYS_capset, &Header, Saved);
    }

private:
    __user_cap_header_struct Header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct Saved[2]{};
    bool Reduced = false;
};

struct Dialog_Call
{
    std::string Icon;
    int Interval = 0;
    std::string Message;
    std::string First_Button;
    std::string Second_Button;
    std::vector<std::string> Arguments;
    bool operator==(const Dialog_Call&) const = default;
    friend std::ostream& operator<<(std::ostream& out, const Dialog_Call& c)
    {
        return out << c.Icon << " " << c.Interval << " [" << c.Message << "] [" << c.First_Button << "] ["
                   << c.Second_Button << "] " << ::testing::PrintToString(c.Arguments);
    }
};

class Scripted_Dialogs final : public Message_Dialogs
{
public:
    // Each answer may first run an action, e.g. to repair what made the question come.
    void Answer(int answer, std::function<void()> before = {}) { Answers.push_back({answer, std::move(before)}); }

    int Display_Message_Dialog(const std::string& icon_file_name, int animation_interval, const std::string& message,
                               const std::string& first_button, const std::string& second_button,
                               const std::vector<std::string>& arguments) override
    {
        Calls.push_back({icon_file_name, animation_interval, message, first_button, second_button, arguments});
        if (Answers.empty())
        {
            ADD_FAILURE() << "unexpected question: " << message;
            return 2;
        }
        auto [answer, before] = std::move(Answers.front());
        Answers.pop_front();
        if (before) before();
        return answer;
    }
    void Show_Start_Splash_Screen() override
    {
        ++Splash_Count;
        if (On_Splash) On_Splash();
    }
    // Answers that no question took; they are dropped.
    std::size_t Forget_Answers() { return std::exchange(Answers, {}).size(); }

    std::vector<Dialog_Call> Calls;
    int Splash_Count = 0;
    std::function<void()> On_Splash;  // e.g. let the clock run on while the splash shows

private:
    std::deque<std::pair<int, std::function<void()>>> Answers;
};

inline Work_Record Make_Record(std::string day_name, std::string date, std::string span, std::string work_type,
                               std::string duration, std::string remark)
{
    return Work_Record{{day_name, date, span, work_type, duration, remark}};
}

inline Work_Record With_Field(Work_Record record, std::size_t field, std::string text)
{
    record[field] = std::move(text);
    return record;
}

// Every test gets its own program directory and a clock at Monday 7.12.2026 09:30.
class Work_Log_Test : public ::testing::Test
{
protected:
    Work_Log_Test()
    {
        for (int i = 1; i <= 19; ++i) Texts.Message_Strings[i] = "message " + std::to_string(i);
        for (int i = 1; i <= 6; ++i) Texts.Message_Buttons[i] = "button " + std::to_string(i);
        const char* names[] = {"", "Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
        for (int i = 1; i <= 7; ++i) Texts.Day_Names[i] = names[i];
        Program_Settings.Target_Log_File_Name = Paths.File("Work_Log.csv");
    }

    static std::string Read(const std::string& path) { return Test_Temporary_Directory::Read_File(path); }
    static void Write(const std::string& path, const std::string& bytes)
    {
        Test_Temporary_Directory::Write_File(path, bytes);
    }
    static void Make_Read_Only(const std::string& path) { ::chmod(path.c_str(), 0444); }
    std::string Day_Log_Path() const { return Paths.File("Actual_Work_Log.log"); }
    std::string Target() const { return Program_Settings.Target_Log_File_Name; }

    // The lines of the protocol without their time stamps.
    std::vector<std::string> Lines() const
    {
        std::vector<std::string> lines;
        const std::string stamp = Format_Time(Time.Now(), Patterns.Long_Time);
        for (const std::string& line : Errors.Lines())
        {
            EXPECT_EQ(line.substr(0, stamp.size()), stamp) << line;
            lines.push_back(line.substr(stamp.size()));
        }
        return lines;
    }

    void Store_Records(const std::vector<Work_Record>& records, const std::string& tail = "")
    {
        std::string bytes;
        for (const Work_Record& record : records) bytes += Encode_Work_Record(record);
        Write(Day_Log_Path(), bytes + tail);
    }

    Test_Temporary_Directory Directory;
    Program_Paths Paths{Directory.Path()};
    Fake_Clock Time{Date_Time{2026, 12, 7, 9, 30}};
    Date_Time_Patterns Patterns;
    Error_List Errors{Time, Patterns.Long_Time};
    Scripted_Dialogs Dialogs;
    Settings Program_Settings;
    Start_Up_Values Start_Up;
    Language_Texts Texts;
    Failing_File_System Files;
    Work_Log_Context Context{Paths, Time, Patterns, Errors, Dialogs, Program_Settings, Start_Up, Texts, Files};
};

#pragma once
// A temporary program directory with everything the work-log operations need, scripted
// answers to the message dialog and a file layer that fails on request.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "worklog/Day_Log_File.h"
#include "worklog/Work_Log_Context.h"

struct Dialog_Call
{
    std::string Icon;
    int Interval = 0;
    std::string Message;
    std::string First_Button;
    std::string Second_Button;
    std::vector<std::string> Arguments;
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

    void Show_Start_Splash_Screen() override { ++Splash_Count; }

    std::vector<Dialog_Call> Calls;
    int Splash_Count = 0;

private:
    std::deque<std::pair<int, std::function<void()>>> Answers;
};

// The POSIX file layer, but a chosen call can fail with a chosen errno.
class Failing_File_System final : public Work_Log_File_System
{
public:
    int Fail_Write_Number = 0;  // 1 = the first write of any file
    int Write_Error = ENOSPC;
    int Create_Error = 0;
    int Append_Error = 0;
    int Read_Error = 0;
    int Rename_Error = 0;
    std::function<void()> On_Failing_Write;  // e.g. end the process there
    int Writes = 0;

    bool Is_File(const std::string& path) const override { return Real.Is_File(path); }
    bool Is_Read_Only(const std::string& path) const override { return Real.Is_Read_Only(path); }
    bool Read_Prefix(const std::string& path, std::size_t max_bytes, std::string& content, std::uint64_t& file_size,
                     int& error_number) override
    {
        if (Read_Error != 0) return error_number = Read_Error, false;
        return Real.Read_Prefix(path, max_bytes, content, file_size, error_number);
    }
    std::unique_ptr<Writable_File> Create(const std::string& path, int& error_number) override
    {
        if (Create_Error != 0) return error_number = Create_Error, nullptr;
        return Wrap(Real.Create(path, error_number));
    }
    std::unique_ptr<Writable_File> Open_For_Append(const std::string& path, int& error_number) override
    {
        if (Append_Error != 0) return error_number = Append_Error, nullptr;
        return Wrap(Real.Open_For_Append(path, error_number));
    }
    bool Rename(const std::string& from, const std::string& to, int& error_number) override
    {
        if (Rename_Error != 0) return error_number = Rename_Error, false;
        return Real.Rename(from, to, error_number);
    }
    bool Remove(const std::string& path, int& error_number) override { return Real.Remove(path, error_number); }

private:
    class Counting_File final : public Writable_File
    {
    public:
        Counting_File(Failing_File_System& owner, std::unique_ptr<Writable_File> inner)
            : Owner(owner), Inner(std::move(inner))
        {
        }
        bool Write(std::string_view data, int& error_number) override
        {
            if (++Owner.Writes == Owner.Fail_Write_Number)
            {
                if (Owner.On_Failing_Write) Owner.On_Failing_Write();
                error_number = Owner.Write_Error;
                return false;
            }
            return Inner->Write(data, error_number);
        }
        bool Sync(int& error_number) override { return Inner->Sync(error_number); }
        bool Close(int& error_number) override { return Inner->Close(error_number); }

    private:
        Failing_File_System& Owner;
        std::unique_ptr<Writable_File> Inner;
    };

    std::unique_ptr<Writable_File> Wrap(std::unique_ptr<Writable_File> file)
    {
        if (!file) return nullptr;
        return std::make_unique<Counting_File>(*this, std::move(file));
    }

    Posix_Work_Log_File_System Real;
};

inline Date_Time Make_Date_Time(int year, int month, int day, int hour = 0, int minute = 0)
{
    Date_Time value;
    value.Year = year;
    value.Month = month;
    value.Day = day;
    value.Hour = hour;
    value.Minute = minute;
    return value;
}

inline std::string Read_File_Bytes(const std::string& path)
{
    std::ifstream stream(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>());
}

inline void Write_File_Bytes(const std::string& path, const std::string& bytes)
{
    std::ofstream stream(path, std::ios::binary | std::ios::trunc);
    stream << bytes;
}

inline Work_Record Make_Record(std::string day_name, std::string date, std::string span, std::string work_type,
                               std::string duration, std::string remark)
{
    Work_Record record;
    record.Fields = {std::move(day_name), std::move(date), std::move(span),
                     std::move(work_type), std::move(duration), std::move(remark)};
    return record;
}

// Every test gets its own program directory and a clock at Monday 7.12.2026 09:30.
class Work_Log_Test : public ::testing::Test
{
protected:
    Work_Log_Test()
        : Directory(Make_Temporary_Directory()),
          Paths(Directory),
          Time(Make_Date_Time(2026, 12, 7, 9, 30)),
          Errors(Time, Patterns.Long_Time),
          Context{Paths, Time, Patterns, Errors, Dialogs, Program_Settings, Start_Up, Texts, Files}
    {
        for (int i = 1; i <= 19; ++i) Texts.Message_Strings[i] = "message " + std::to_string(i);
        for (int i = 1; i <= 6; ++i) Texts.Message_Buttons[i] = "button " + std::to_string(i);
        const char* names[] = {"", "Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
        for (int i = 1; i <= 7; ++i) Texts.Day_Names[i] = names[i];
        Program_Settings.Target_Log_File_Name = Paths.File("Work_Log.csv");
    }

    ~Work_Log_Test() override
    {
        std::error_code ignored;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(Directory, ignored))
            std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                         std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(Directory, ignored);
    }

    static std::string Make_Temporary_Directory()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "zl_worklog_XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
        return pattern;
    }

    std::string Day_Log_Path() const { return Paths.File("Actual_Work_Log.log"); }

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
        Write_File_Bytes(Day_Log_Path(), bytes + tail);
    }

    static void Make_Read_Only(const std::string& path) { ::chmod(path.c_str(), 0444); }

    std::string Directory;
    Program_Paths Paths;
    Fake_Clock Time;
    Date_Time_Patterns Patterns;
    Error_List Errors;
    Scripted_Dialogs Dialogs;
    Settings Program_Settings;
    Start_Up_Values Start_Up;
    Language_Texts Texts;
    Failing_File_System Files;
    Work_Log_Context Context;
};

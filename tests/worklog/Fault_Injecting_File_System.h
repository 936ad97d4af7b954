#pragma once
// The real file layer with faults on request: a chosen call fails with a chosen errno, the
// Nth write fails, or the whole sequence stops right after its Nth file step as if the
// process had been killed there (Simulated_Crash is thrown; nothing after that step runs).
#include <cerrno>
#include <functional>
#include <string>
#include <vector>

#include "worklog/Work_Log_File_System.h"

struct Simulated_Crash
{
    std::string Step;  // the last step that was done
};

class Failing_File_System final : public Work_Log_File_System_Wrapper
{
public:
    Failing_File_System() : Work_Log_File_System_Wrapper(Real) {}

    int Fail_Write_Number = 0;  // 1 = the first write of any file
    int Write_Error = ENOSPC;
    int Create_Error = 0;  // of Create and Create_Replacement
    int Append_Error = 0;
    int Read_Error = 0;
    int Rename_Error = 0;
    std::function<void()> On_Failing_Write;  // e.g. end the process there
    int Writes = 0;

    int Crash_After_Step = 0;        // 1 = right after the first step that touches a file
    bool Sync_To_Disk = true;        // a killed process needs no sync; a crash loop runs faster without
    std::vector<std::string> Steps;  // every step done, "Write Work_Log.csv" and the like

    bool Read_Prefix(const std::string& path, std::size_t max_bytes, std::string& content, std::uint64_t& file_size,
                     int& error_number) override
    {
        if (Read_Error != 0) return error_number = Read_Error, false;
        return Real.Read_Prefix(path, max_bytes, content, file_size, error_number);
    }
    std::unique_ptr<Writable_File> Create(const std::string& path, int& error_number) override
    {
        if (Create_Error != 0) return error_number = Create_Error, nullptr;
        auto file = Wrap(Real.Create(path, error_number), path);
        if (file) Step("Create", path);
        return file;
    }
    std::unique_ptr<Writable_File> Create_Replacement(const std::string& path, const std::string& replaced,
                                                      int& error_number) override
    {
        if (Create_Error != 0) return error_number = Create_Error, nullptr;
        auto file = Wrap(Real.Create_Replacement(path, replaced, error_number), path);
        if (file) Step("Create", path);
        return file;
    }
    std::unique_ptr<Writable_File> Open_For_Append(const std::string& path, int& error_number) override
    {
        if (Append_Error != 0) return error_number = Append_Error, nullptr;
        return Wrap(Real.Open_For_Append(path, error_number), path);
    }
    bool Rename(const std::string& from, const std::string& to, int& error_number) override
    {
        if (Rename_Error != 0) return error_number = Rename_Error, false;
        const bool done = Real.Rename(from, to, error_number);
        if (done) Step("Rename", from + " " + to);
        return done;
    }
    bool Remove(const std::string& path, int& error_number) override
    {
        const bool done = Real.Remove(path, error_number);
        if (done) Step("Remove", path);
        return done;
    }

private:
    void Step(const std::string& what, const std::string& path)
    {
        Steps.push_back(what + " " + path.substr(path.rfind('/') + 1));
        if (static_cast<int>(Steps.size()) == Crash_After_Step) throw Simulated_Crash{Steps.back()};
    }

    class Counting_File final : public Writable_File
    {
    public:
        Counting_File(Failing_File_System& owner, std::unique_ptr<Writable_File> inner, std::string path)
            : Owner(owner), Inner(std::move(inner)), Path(std::move(path))
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
            return Done(Inner->Write(data, error_number), "Write");
        }
        bool Sync(int& error_number) override { return Done(!Owner.Sync_To_Disk || Inner->Sync(error_number), "Sync"); }
        bool Close(int& error_number) override { return Done(Inner->Close(error_number), "Close"); }
        bool Size(std::uint64_t& size, int& error_number) override { return Inner->Size(size, error_number); }
        bool Truncate(std::uint64_t length, int& error_number) override
        {
            return Done(Inner->Truncate(length, error_number), "Truncate");
        }
        bool Read_At(std::uint64_t offset, std::size_t count, std::string& data, int& error_number) override
        {
            return Inner->Read_At(offset, count, data, error_number);
        }

    private:
        bool Done(bool done, const char* what)
        {
            if (done) Owner.Step(what, Path);
            return done;
        }
        Failing_File_System& Owner;
        std::unique_ptr<Writable_File> Inner;
        std::string Path;
    };

    std::unique_ptr<Writable_File> Wrap(std::unique_ptr<Writable_File> file, const std::string& path)
    {
        return file ? std::make_unique<Counting_File>(*this, std::move(file), path) : nullptr;
    }

    Posix_Work_Log_File_System Real;
};

// The export appends to the target log: its cost must not depend on how large the log
// has grown over the years. Run with the target log sizes given as arguments (bytes).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "worklog/Target_Log_Export.h"

namespace
{

class Silent_Dialogs final : public Message_Dialogs
{
public:
    int Display_Message_Dialog(const std::string&, int, const std::string&, const std::string&, const std::string&,
                               const std::vector<std::string>&) override
    {
        return 2;
    }
    void Show_Start_Splash_Screen() override {}
};

// The same files without the final fsync, so the append itself is measured apart from
// the disk's flush latency.
class Unsynced_File_System final : public Work_Log_File_System_Wrapper
{
public:
    Unsynced_File_System() : Work_Log_File_System_Wrapper(Real) {}
    std::unique_ptr<Writable_File> Create(const std::string& path, int& error_number) override
    {
        return Unsynced(Work_Log_File_System_Wrapper::Create(path, error_number));
    }
    std::unique_ptr<Writable_File> Open_For_Append(const std::string& path, int& error_number) override
    {
        return Unsynced(Work_Log_File_System_Wrapper::Open_For_Append(path, error_number));
    }

private:
    class File final : public Writable_File
    {
    public:
        explicit File(std::unique_ptr<Writable_File> inner) : Inner(std::move(inner)) {}
        bool Write(std::string_view data, int& error_number) override { return Inner->Write(data, error_number); }
        bool Sync(int&) override { return true; }
        bool Close(int& error_number) override { return Inner->Close(error_number); }
        bool Size(std::uint64_t& size, int& error_number) override { return Inner->Size(size, error_number); }
        bool Truncate(std::uint64_t length, int& error_number) override
        {
            return Inner->Truncate(length, error_number);
        }
        bool Read_At(std::uint64_t offset, std::size_t count, std::string& data, int& error_number) override
        {
            return Inner->Read_At(offset, count, data, error_number);
        }

    private:
        std::unique_ptr<Writable_File> Inner;
    };
    static std::unique_ptr<Writable_File> Unsynced(std::unique_ptr<Writable_File> file)
    {
        return file ? std::make_unique<File>(std::move(file)) : nullptr;
    }
    // The base keeps only a reference to it, first used after construction.
    Posix_Work_Log_File_System Real;
};

Work_Record Record(std::string work_type, std::string duration, std::string remark)
{
    Work_Record record;
    record[Work_Type_Field] = std::move(work_type);
    record[Duration_Field] = std::move(duration);
    record[Remark_Field] = std::move(remark);
    return record;
}

void Write_Target_Of_Size(const std::string& path, std::size_t size)
{
    const std::string line = "Monday;07.12.2026;08:00 - 16:30;Coding;08:30;a remark of ordinary length\r\n";
    std::ofstream stream(path, std::ios::binary | std::ios::trunc);
    std::string chunk;
    while (chunk.size() + line.size() <= (1u << 20)) chunk += line;
    for (std::size_t written = 0; written < size;)
    {
        const std::size_t part = std::min(chunk.size(), size - written);
        stream.write(chunk.data(), static_cast<std::streamsize>(part));
        written += part;
    }
    stream.close();
    // The big file's own dirty pages must not be flushed inside the measured exports.
    if (std::system(("sync " + path).c_str()) != 0) std::fprintf(stderr, "sync %s failed\n", path.c_str());
}

template <typename File_System>
void Export_To_Target_Of_Size(benchmark::State& state)
{
    std::string directory = (std::filesystem::temp_directory_path() / "zl_export_bench_XXXXXX").string();
    if (::mkdtemp(directory.data()) == nullptr)
    {
        state.SkipWithError("mkdtemp failed");
        return;
    }
    const Program_Paths paths(directory);
    const std::string target = paths.File("Work_Log.csv");
    Write_Target_Of_Size(target, static_cast<std::size_t>(state.range(0)));

    const System_Clock clock;
    const Date_Time_Patterns patterns;
    Error_List errors(clock, patterns.Long_Time);
    Silent_Dialogs dialogs;
    const Settings settings;
    const Start_Up_Values start_up;
    const Language_Texts texts;
    File_System files;
    Work_Log_Context context{paths, clock, patterns, errors, dialogs, settings, start_up, texts, files};

    Work_Record day_row = Record("Day", "08:30", "");
    day_row[Day_Name_Field] = "Monday";
    day_row[Date_Field] = "07.12.2026";
    day_row[Time_Span_Field] = "08:00 - 16:30";
    const std::vector<Work_Record> stored{day_row, Record("DEFAULT", "- 00:20", "rest"),
                                          Record("Coding", "05:00", "module"), Record("Meeting", "03:50", "weekly")};

    for (auto _ : state)
    {
        if (!Save_Target_Work_Log(context, stored, settings.Target_Log_File_Format, target))
        {
            state.SkipWithError("export failed");
            break;
        }
    }
    state.counters["target_MB"] = static_cast<double>(state.range(0)) / (1 << 20);
    std::filesystem::remove_all(directory);
}

}  // namespace

BENCHMARK(Export_To_Target_Of_Size<Posix_Work_Log_File_System>)
    ->Name("Export_Synced")
    ->Arg(1 << 10)
    ->Arg(100 << 20)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(Export_To_Target_Of_Size<Unsynced_File_System>)
    ->Name("Export_Without_Fsync")
    ->Arg(1 << 10)
    ->Arg(100 << 20)
    ->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();

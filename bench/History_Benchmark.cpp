// The history over ten years: writes a generated target log (about 2,600 working days)
// into a program folder, then measures reading it into a new database and the extra
// transaction that an export adds at a day start (synced to the disk).
// With a third argument "large" it writes a target log of about 100 MB instead and measures
// the first report (reading it in, in a fresh process: time and peak memory) and a report of
// one day once the database stands.
// Usage: history_benchmark PROGRAM_DIRECTORY [runs [large]]
// Prints "read_ms <median>" and "export_transaction_ms <median>"; with large,
// "large_first_report_ms", "large_first_report_peak_kb" and "large_one_day_report_ms", and
// the processor time of each report ("..._cpu_ms").
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "history/Calendar.h"
#include "history/History_Access.h"
#include "history/History_Export.h"
#include "platform/Posix_File.h"
#include "support/Fake_Clock.h"
#include "worklog/Day_Log_File.h"

namespace
{

class Null_Dialogs final : public Message_Dialogs
{
public:
    int Display_Message_Dialog(const std::string&, int, const std::string&, const std::string&, const std::string&,
                               const std::vector<std::string>&) override
    {
        return 2;
    }
    void Show_Start_Splash_Screen() override {}
};

std::string Two_Digits(int value) { return (value < 10 ? "0" : "") + std::to_string(value); }
std::string Time_Text(int minutes) { return Two_Digits(minutes / 60) + ":" + Two_Digits(minutes % 60); }

// A working day: the Day_Row, and on most days the Unassigned_Row and a few user rows.
std::vector<Work_Record> Generated_Day(const Calendar_Date& date, unsigned& seed)
{
    const auto next = [&](unsigned range) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) % range;
    };
    static const char* const Types[] = {"Coding", "Meeting", "Review", "Support", "Writing", "Travel", "\x8akolen\xed"};
    const int start = 420 + static_cast<int>(next(120));
    const int worked = 360 + static_cast<int>(next(240));
    const char* const Day_Names[] = {"", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday"};
    std::vector<Work_Record> records;
    records.push_back({{Day_Names[Iso_Day_Of_Week(date)],
                        Two_Digits(date.Day) + "." + Two_Digits(date.Month) + "." + std::to_string(date.Year),
                        Time_Text(start) + " - " + Time_Text(start + worked), "Celkem", Time_Text(worked), ""}});
    const int user_rows = static_cast<int>(next(6));
    if (user_rows == 0)
    {
        records[0][Work_Type_Field] = Types[next(7)];
        return records;
    }
    std::vector<Work_Record> users;
    int booked = 0;
    for (int row = 0; row < user_rows; ++row)
    {
        const int minutes = 15 + static_cast<int>(next(150));
        booked += minutes;
        users.push_back({{"", "", "", std::string(Types[row]), Time_Text(minutes), "remark " + std::to_string(row)}});
    }
    const int unassigned = worked - booked;
    records.push_back(
        {{"", "", "", "Office", unassigned < 0 ? "- " + Time_Text(-unassigned) : Time_Text(unassigned), ""}});
    records.insert(records.end(), users.begin(), users.end());
    return records;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double Milliseconds_Since(std::chrono::steady_clock::time_point begin)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - begin).count();
}

// Runs the work in a child process; its time (measured inside), the processor time of the
// whole child (which a shared machine's load does not stretch) and its peak memory.
struct Child_Figures
{
    double Milliseconds = -1;
    double Cpu_Milliseconds = -1;
    long Peak_Kilobytes = -1;
};

template <typename Work>
Child_Figures In_Child(Work work)
{
    int pipe_ends[2];
    if (::pipe(pipe_ends) != 0) return {};
    const pid_t child = ::fork();
    if (child == 0)
    {
        const auto begin = std::chrono::steady_clock::now();
        const bool done = work();
        const double milliseconds = done ? Milliseconds_Since(begin) : -1;
        (void)!::write(pipe_ends[1], &milliseconds, sizeof milliseconds);
        ::_exit(done ? 0 : 1);
    }
    ::close(pipe_ends[1]);
    Child_Figures figures;
    if (::read(pipe_ends[0], &figures.Milliseconds, sizeof figures.Milliseconds) != sizeof figures.Milliseconds)
        figures.Milliseconds = -1;
    ::close(pipe_ends[0]);
    int status = 0;
    rusage usage{};
    if (::wait4(child, &status, 0, &usage) == child)
    {
        figures.Peak_Kilobytes = usage.ru_maxrss;
        const auto milliseconds = [](const timeval& time) {
            return time.tv_sec * 1000.0 + time.tv_usec / 1000.0;
        };
        figures.Cpu_Milliseconds = milliseconds(usage.ru_utime) + milliseconds(usage.ru_stime);
    }
    return figures;
}

// About 100 MB of target log, written as it is made: days with long remarks from 1800 on.
bool Write_Large_Log(const std::string& path, std::size_t& lines, Calendar_Date& last_date)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    unsigned seed = 1800;
    std::size_t bytes = 0;
    const std::string remark(150, 'r');
    for (Calendar_Date date{1800, 1, 6}; bytes < 100u * 1000 * 1000; date = Add_Days(date, 1))
    {
        if (Iso_Day_Of_Week(date) > 5) continue;
        std::string block = "\r\n";
        for (Work_Record& record : Generated_Day(date, seed))
        {
            if (record[Date_Field].empty()) record[Remark_Field] += remark;
            block += record[0] + ";" + record[1] + ";" + record[2] + ";" + record[3] + ";" + record[4] + ";" +
                     record[5] + "\r\n";
            ++lines;
        }
        ++lines;
        bytes += block.size();
        last_date = date;
        if (std::fwrite(block.data(), 1, block.size(), file) != block.size()) return std::fclose(file), false;
    }
    return std::fclose(file) == 0;
}

int Large_Log_Figures(const Program_Paths& paths, int runs)
{
    Settings settings;
    settings.Target_Log_File_Name = paths.File("Work_Log.csv");
    std::size_t lines = 0;
    Calendar_Date last_date;
    if (!Write_Large_Log(settings.Target_Log_File_Name, lines, last_date)) return std::perror("Work_Log.csv"), 1;
    const History_Settings history = History_Settings_From(paths, settings, Date_Time_Patterns{});
    std::vector<double> first_times;
    std::vector<double> first_cpu_times;
    long peak = 0;
    for (int run = 0; run < runs; ++run)
    {
        History_Store::Remove_Files(history.Store_Path());
        const Child_Figures first = In_Child([&] {
            const History_Days days = History_Days::Load(history, History_Days::Missing_Store::Read_In);
            const History_Report report = days.Report(History_Period_Containing(History_Period_Kind::All, {}));
            return days.Problem().empty() && !report.Days.empty();
        });
        if (first.Milliseconds < 0) return std::fprintf(stderr, "first report failed\n"), 1;
        first_times.push_back(first.Milliseconds);
        first_cpu_times.push_back(first.Cpu_Milliseconds);
        peak = std::max(peak, first.Peak_Kilobytes);
    }
    std::vector<double> day_times;
    std::vector<double> day_cpu_times;
    for (int run = 0; run < std::max(runs, 11); ++run)
    {
        const Child_Figures one_day = In_Child([&] {
            const History_Period period = Custom_History_Period(last_date, last_date);
            const History_Days days = History_Days::Load(history, History_Days::Missing_Store::Read_In, {}, period);
            return days.Report(period).Days.size() == 1;
        });
        if (one_day.Milliseconds < 0) return std::fprintf(stderr, "one-day report failed\n"), 1;
        day_times.push_back(one_day.Milliseconds);
        day_cpu_times.push_back(one_day.Cpu_Milliseconds);
    }
    std::printf(
        "large_target_log_lines %zu\nlarge_first_report_ms %.1f\nlarge_first_report_cpu_ms %.1f\n"
        "large_first_report_peak_kb %ld\nlarge_one_day_report_ms %.2f\nlarge_one_day_report_cpu_ms %.2f\n",
        lines, Median(first_times), Median(first_cpu_times), peak, Median(day_times), Median(day_cpu_times));
    return 0;
}

}  // namespace

int main(int argc, char* argv[])
{
    if (argc < 2) return std::fprintf(stderr, "usage: %s PROGRAM_DIRECTORY [runs [large]]\n", argv[0]), 2;
    const Program_Paths paths(argv[1]);
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    if (argc > 3 && std::string(argv[3]) == "large") return Large_Log_Figures(paths, runs);

    // Ten years of working days, in the default pattern, as the export writes them.
    std::string target_log;
    unsigned seed = 2026;
    std::size_t day_count = 0;
    std::vector<Work_Record> last_day;
    for (Calendar_Date date{2016, 1, 4}; date < Calendar_Date{2026, 1, 1}; date = Add_Days(date, 1))
    {
        if (Iso_Day_Of_Week(date) > 5) continue;
        last_day = Generated_Day(date, seed);
        target_log += "\r\n";
        for (const Work_Record& record : last_day)
            target_log += record[0] + ";" + record[1] + ";" + record[2] + ";" + record[3] + ";" + record[4] + ";" +
                          record[5] + "\r\n";
        ++day_count;
    }
    Settings settings;
    settings.Target_Log_File_Name = paths.File("Work_Log.csv");
    Date_Time_Patterns patterns;
    const int descriptor = ::open(settings.Target_Log_File_Name.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (descriptor < 0 || !Write_All(descriptor, target_log)) return std::perror("Work_Log.csv"), 1;
    ::close(descriptor);
    const History_Settings history = History_Settings_From(paths, settings, patterns);

    std::vector<double> read_times;
    for (int run = 0; run < runs; ++run)
    {
        const auto begin = std::chrono::steady_clock::now();
        const History_Rebuild_Result result = Rebuild_History_Store(history);
        read_times.push_back(Milliseconds_Since(begin));
        if (!result.Written || result.Reading.Days.size() != day_count || !result.Reading.Clean())
            return std::fprintf(stderr, "reading failed: %s %s\n", result.Failure.c_str(),
                                result.Reading.Problems_Text().c_str()),
                   1;
    }

    // The export of the last day again, as a repeated start would: one replacing transaction.
    Fake_Clock clock;
    Error_List errors(clock, patterns.Long_Time);
    Null_Dialogs dialogs;
    Start_Up_Values start_up;
    Language_Texts texts;
    Posix_Work_Log_File_System files;
    Work_Log_Context context{paths, clock, patterns, errors, dialogs, settings, start_up, texts, files};
    std::vector<double> export_times;
    for (int run = 0; run < std::max(runs, 21); ++run)
    {
        const auto begin = std::chrono::steady_clock::now();
        Record_Exported_Day_In_History(context, last_day);
        export_times.push_back(Milliseconds_Since(begin));
    }
    if (!errors.Lines().empty()) return std::fprintf(stderr, "export failed: %s\n", errors.Lines()[0].c_str()), 1;

    // The floor under any synced write on this disk: 4 KB written and synced.
    std::vector<double> sync_times;
    const std::string probe_path = paths.File("sync_probe");
    const int probe = ::open(probe_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    for (int run = 0; probe >= 0 && run < 21; ++run)
    {
        const auto begin = std::chrono::steady_clock::now();
        if (!Write_All(probe, std::string(4096, 'x')) || ::fsync(probe) != 0) break;
        sync_times.push_back(Milliseconds_Since(begin));
    }
    if (probe >= 0) ::close(probe);
    ::unlink(probe_path.c_str());
    if (sync_times.empty()) return std::perror("sync probe"), 1;

    std::printf("fsync_ms %.2f\n", Median(sync_times));
    std::printf("days %zu\ntarget_log_bytes %zu\nread_ms %.1f\nexport_transaction_ms %.2f\n", day_count,
                target_log.size(), Median(read_times), Median(export_times));
    return 0;
}

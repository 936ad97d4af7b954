// zentavo-logger: answers --report (and --rebuild, --version) itself, without the window
// toolkit, and hands every other start to the window program, which keeps this process.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "config/Program_Version.h"
#include "history/Calendar.h"
#include "history/Date_Pattern_Cache.h"
#include "history/History_Command_Line.h"
#include "platform/Autostart_Entry.h"
#include "platform/Clock.h"
#include "platform/Date_Time_Patterns.h"
#include "platform/Program_Folder.h"
#include "platform/Xdg_Directories.h"

#ifndef ZL_WINDOW_FROM_BIN
#define ZL_WINDOW_FROM_BIN "../libexec/zentavo-logger/zentavo-logger-window"
#endif

namespace
{

constexpr const char* Window_Program_Name = "zentavo-logger-window";

// Beside this program (a build's dist/ folder), else where the installation keeps it.
std::string Window_Program_Path()
{
    const std::string directory = Executable_Directory();
    std::string beside = directory + Window_Program_Name;
    if (::access(beside.c_str(), X_OK) == 0) return beside;
    return directory + ZL_WINDOW_FROM_BIN;
}

// Only the report's own requests are answered here; anything else, a mistake included,
// is the window program's to answer, so that both speak with one voice.
bool Is_Report_Request(const std::vector<std::string>& arguments)
{
    if (arguments.empty()) return false;
    const std::string& first = arguments.front();
    if (arguments.size() == 1 && first == "--version") return true;
    return first == "--report" || first.rfind("--report=", 0) == 0 || first == "--rebuild";
}

}  // namespace

int main(int argc, char* argv[])
{
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const std::string window_program = Window_Program_Path();
    if (Is_Report_Request(arguments))
    {
        // The locale's date pattern as the window program worked it out; without it the
        // window program answers (and keeps the pattern for the next time).
        const std::optional<Date_Pattern_Cache_Key> key = Process_Date_Pattern_Cache_Key(window_program);
        const std::optional<std::string> short_date =
            key ? Read_Date_Pattern_Cache(Date_Pattern_Cache_Path(), *key) : std::nullopt;
        if (short_date || arguments.front() == "--version")
        {
            History_Command_Line_Environment environment;
            environment.Today = Calendar_Date_Of(System_Clock().Now());
            environment.Version = ZL_PROGRAM_VERSION;
            return Run_History_Command_Line(arguments, environment, [&] {
                Date_Time_Patterns patterns;
                patterns.Short_Date = *short_date;
                return Read_History_Settings(
                    Program_Paths(Existing_Program_Directory(Executable_Directory(), Process_Xdg_Environment())),
                    patterns);
            });
        }
    }
    // The same process goes on as the window program, with the same arguments and name. An
    // autostart entry it writes names this command, which the user installed and started.
    std::string command(4096, '\0');
    const ssize_t length = ::readlink("/proc/self/exe", command.data(), command.size() - 1);
    if (length > 0) ::setenv(Command_Path_Variable, command.substr(0, std::size_t(length)).c_str(), 1);
    ::execv(window_program.c_str(), argv);
    std::fprintf(stderr, "zentavo-logger: %s cannot be started\n", window_program.c_str());
    return 1;
}

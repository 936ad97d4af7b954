#include "platform/Autostart_Entry.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/Posix_File.h"

std::string Autostart_File_Path(const Xdg_Environment& environment)
{
    return Xdg_Config_Home(environment) + "/autostart/zentavo-logger.desktop";
}

bool Autostart_File_Exists(const std::string& path)
{
    struct stat status
    {
    };
    return ::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

std::string Desktop_Exec_Argument(const std::string& executable_path)
{
    constexpr std::string_view reserved = " \t\n\"'\\><~|&;$*?#()`";
    bool quote = false;
    for (const char character : executable_path)
    {
        const auto byte = static_cast<unsigned char>(character);
        if (byte < 0x20 || byte == 0x7F) return std::string();
        if (reserved.find(character) != std::string_view::npos) quote = true;
    }
    std::string argument;
    if (quote) argument += '"';
    for (const char character : executable_path)
    {
        // Inside quotes " ` $ \ take a backslash; the string rule then doubles every backslash.
        if (quote && (character == '"' || character == '`' || character == '$')) argument += "\\\\";
        else if (quote && character == '\\') argument += "\\\\\\";
        else if (character == '%') argument += '%';  // "%%" is a literal percent sign, not a field code
        argument += character;
    }
    if (quote) argument += '"';
    return argument;
}

std::string Autostart_Entry_Text(const std::string& executable_path)
{
    // TryExec: once the program is removed the session skips the entry instead of failing
    // at every login. A plain string value: only the backslash is escaped.
    std::string try_exec;
    for (const char character : executable_path)
    {
        if (character == '\\') try_exec += '\\';
        try_exec += character;
    }
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Zentavo Logger\n"
           "Comment=Keeps the log of one working day\n"
           "TryExec=" +
           try_exec +
           "\n"
           "Exec=" +
           Desktop_Exec_Argument(executable_path) +
           "\n"
           "Icon=zentavo-logger\n"
           "Terminal=false\n"
           "X-GNOME-Autostart-enabled=true\n";
}

bool Write_Autostart_File(const std::string& path, const std::string& executable_path, std::string& failure)
{
    if (Desktop_Exec_Argument(executable_path).empty())
    {
        failure = "the program's path " + executable_path + " cannot be written into a desktop entry";
        return false;
    }
    const std::string folder = Directory_Of(path);
    if (!Make_Private_Directories(folder))
    {
        failure = "cannot create " + folder + ": " + std::strerror(errno);
        return false;
    }
    std::string temporary = path + ".XXXXXX";
    const int descriptor = ::mkstemp(temporary.data());
    if (descriptor < 0)
    {
        failure = "cannot create a file in " + folder + ": " + std::strerror(errno);
        return false;
    }
    bool written = ::fchmod(descriptor, 0644) == 0 && Write_All(descriptor, Autostart_Entry_Text(executable_path)) &&
                   ::fsync(descriptor) == 0;
    int error_number = errno;
    if (::close(descriptor) != 0 && written)
    {
        written = false;
        error_number = errno;
    }
    if (written && ::rename(temporary.c_str(), path.c_str()) != 0)
    {
        written = false;
        error_number = errno;
    }
    if (!written)
    {
        ::unlink(temporary.c_str());
        failure = "cannot write " + path + ": " + std::strerror(error_number);
    }
    return written;
}

bool Remove_Autostart_File(const std::string& path, std::string& failure)
{
    if (::unlink(path.c_str()) == 0 || errno == ENOENT) return true;
    failure = "cannot remove " + path + ": " + std::strerror(errno);
    return false;
}

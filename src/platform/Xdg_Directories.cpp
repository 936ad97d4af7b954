#include "platform/Xdg_Directories.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace
{
std::string Environment_Value(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr ? std::string(value) : std::string();
}

// Relative values are invalid by the base-directory rules and must be ignored.
std::string Base_Directory(const std::string& value, const std::string& home, const char* fallback)
{
    std::string directory = !value.empty() && value.front() == '/' ? value : home + fallback;
    while (directory.size() > 1 && directory.back() == '/') directory.pop_back();
    return directory;
}

bool Is_Directory(const std::string& path)
{
    struct stat status
    {
    };
    return ::stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}
}  // namespace

Xdg_Environment Process_Xdg_Environment()
{
    Xdg_Environment environment;
    environment.Xdg_Data_Home = Environment_Value("XDG_DATA_HOME");
    environment.Xdg_Config_Home = Environment_Value("XDG_CONFIG_HOME");
    environment.Home = Environment_Value("HOME");
    if (environment.Home.empty())
    {
        if (const passwd* entry = ::getpwuid(::getuid()); entry != nullptr && entry->pw_dir != nullptr)
            environment.Home = entry->pw_dir;
    }
    return environment;
}

std::string Xdg_Data_Home(const Xdg_Environment& environment)
{
    return Base_Directory(environment.Xdg_Data_Home, environment.Home, "/.local/share");
}

std::string Xdg_Config_Home(const Xdg_Environment& environment)
{
    return Base_Directory(environment.Xdg_Config_Home, environment.Home, "/.config");
}

bool Make_Private_Directories(const std::string& path)
{
    if (path.empty()) return false;
    if (Is_Directory(path)) return true;
    for (std::size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1))
    {
        const std::string part = slash == std::string::npos ? path : path.substr(0, slash);
        if (!part.empty() && ::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
        if (slash == std::string::npos) break;
    }
    return Is_Directory(path);
}

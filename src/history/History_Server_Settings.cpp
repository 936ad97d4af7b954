#include "history/History_Server_Settings.h"

#include <pwd.h>
#include <unistd.h>

#include "platform/Ini_File.h"

namespace
{
constexpr const char* Section = "History_Server";

std::string Login_Name()
{
    if (const passwd* entry = ::getpwuid(::geteuid()); entry != nullptr && entry->pw_name != nullptr)
        return entry->pw_name;
    return {};
}

std::string Host_Name()
{
    char name[256] = {};
    if (::gethostname(name, sizeof name - 1) != 0) return {};
    return name;
}
}  // namespace

History_Server_Settings Read_History_Server_Settings(const std::string& setup_ini_path)
{
    const Ini_File ini = Ini_File::Read_Once(setup_ini_path);
    History_Server_Settings settings;
    settings.Connection = ini.Read_String(Section, "Connection", "");
    if (!settings.Configured()) return settings;
    settings.Person = ini.Read_String(Section, "Person", "");
    if (settings.Person.empty()) settings.Person = Login_Name();
    settings.Machine = ini.Read_String(Section, "Machine", "");
    if (settings.Machine.empty()) settings.Machine = Host_Name();
    return settings;
}

#include "platform/Runtime_Directory.h"

#include <sys/stat.h>

#include <cerrno>
#include <vector>

namespace
{
constexpr int Spare_Names = 10;

bool Usable(const std::string& path, uid_t user, std::size_t max_length)
{
    return !path.empty() && path.front() == '/' && path.size() <= max_length && Is_Private_Directory(path, user);
}

std::string Without_Trailing_Slashes(std::string path)
{
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}
}  // namespace

bool Is_Private_Directory(const std::string& path, uid_t user)
{
    struct stat status
    {
    };
    return ::lstat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode) && status.st_uid == user &&
           (status.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

bool Is_Own_Socket(const std::string& path, uid_t user)
{
    struct stat status
    {
    };
    return ::lstat(path.c_str(), &status) == 0 && S_ISSOCK(status.st_mode) && status.st_uid == user;
}

std::string Private_Runtime_Directory(const Runtime_Directory_Places& places, uid_t user, std::size_t max_length)
{
    std::string runtime = Without_Trailing_Slashes(places.Runtime);
    if (Usable(runtime, user, max_length)) return runtime;

    std::vector<std::string> bases;
    const std::string temporary = Without_Trailing_Slashes(places.Temporary);
    if (!temporary.empty() && temporary.front() == '/') bases.push_back(temporary);
    if (temporary != "/tmp") bases.emplace_back("/tmp");

    const std::string name = "zentavo-logger-" + std::to_string(user);
    for (const std::string& base : bases)
        for (int spare = 0; spare < Spare_Names; ++spare)
        {
            std::string folder =
                (base == "/" ? std::string() : base) + "/" + name + (spare == 0 ? "" : "-" + std::to_string(spare));
            if (folder.size() > max_length) break;
            // Made here, it is the user's with mode 0700; found, it must prove to be.
            if (::mkdir(folder.c_str(), S_IRWXU) == 0)
                ::chmod(folder.c_str(), S_IRWXU);  // whatever the umask took away
            else if (errno != EEXIST) continue;
            if (Usable(folder, user, max_length)) return folder;
        }
    return {};
}

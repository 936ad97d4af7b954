#include "history/Date_Pattern_Cache.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/Posix_File.h"

namespace
{

std::string Environment_Value(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

}  // namespace

std::optional<Date_Pattern_Cache_Key> Process_Date_Pattern_Cache_Key(const std::string& window_program_path)
{
    struct stat status
    {
    };
    if (::stat(window_program_path.c_str(), &status) != 0) return std::nullopt;
    Date_Pattern_Cache_Key key;
    key.Locale = Environment_Value("LC_ALL") + ',' + Environment_Value("LC_TIME") + ',' + Environment_Value("LANG");
    key.Window_Program = std::to_string(status.st_size) + ',' + std::to_string(status.st_mtim.tv_sec) + '.' +
                         std::to_string(status.st_mtim.tv_nsec);
    return key;
}

std::string Date_Pattern_Cache_Path()
{
    std::string base = Environment_Value("XDG_CACHE_HOME");
    if (base.empty() || base[0] != '/')
    {
        const std::string home = Environment_Value("HOME");
        if (home.empty()) return {};
        base = home + "/.cache";
    }
    return base + "/zentavo-logger/date-pattern";
}

std::optional<std::string> Read_Date_Pattern_Cache(const std::string& path, const Date_Pattern_Cache_Key& key)
{
    std::string content;
    if (path.empty() || !Read_Whole_File(path, content)) return std::nullopt;
    // Two lines: the key, the pattern.
    const std::size_t end_of_key = content.find('\n');
    if (end_of_key == std::string::npos || content.compare(0, end_of_key, key.Text()) != 0 ||
        end_of_key != key.Text().size())
        return std::nullopt;
    const std::size_t end_of_pattern = content.find('\n', end_of_key + 1);
    if (end_of_pattern == std::string::npos || end_of_pattern == end_of_key + 1) return std::nullopt;
    return content.substr(end_of_key + 1, end_of_pattern - end_of_key - 1);
}

bool Write_Date_Pattern_Cache(const std::string& path, const Date_Pattern_Cache_Key& key,
                              const std::string& short_date_pattern)
{
    if (path.empty() || short_date_pattern.find('\n') != std::string::npos) return false;
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), error);
    // Written aside and renamed: a reader never sees half an entry.
    const std::string aside = path + ".new-" + std::to_string(::getpid());
    {
        std::ofstream file(aside, std::ios::binary | std::ios::trunc);
        file << key.Text() << '\n' << short_date_pattern << '\n';
        if (!file.flush())
        {
            std::filesystem::remove(aside, error);
            return false;
        }
    }
    if (std::rename(aside.c_str(), path.c_str()) == 0) return true;
    std::filesystem::remove(aside, error);
    return false;
}

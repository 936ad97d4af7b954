#include "platform/Seeded_Files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <sstream>
#include <system_error>

#include "platform/Code_Page.h"
#include "platform/Posix_File.h"

namespace
{
constexpr std::string_view User_Settings = "Setup.ini";

struct Source_File
{
    std::string Relative;
    std::string Path;
    std::uint64_t Size = 0;
    std::int64_t Time_Ns = 0;
};

// The files a fill copies: regular, not executable, in source and its subfolders.
void Source_Files(const std::filesystem::path& folder, const std::string& prefix, std::vector<Source_File>& files)
{
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error))
    {
        const std::string name = prefix + entry.path().filename().string();
        struct stat status
        {
        };
        if (::stat(entry.path().c_str(), &status) != 0) continue;
        if (S_ISDIR(status.st_mode)) Source_Files(entry.path(), name + "/", files);
        else if (S_ISREG(status.st_mode) && (status.st_mode & S_IXUSR) == 0 && name != User_Settings)
            files.push_back({name, entry.path().string(), std::uint64_t(status.st_size),
                             std::int64_t(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec});
    }
}

// Replaces target with content in one step; the file appears whole or not at all.
bool Replace_File(const std::string& target, const std::string& content)
{
    const std::string folder = Directory_Of(target);
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return false;
    std::string temporary = target + ".refresh-XXXXXX";
    const int descriptor = ::mkstemp(temporary.data());
    if (descriptor < 0) return false;
    bool written = ::fchmod(descriptor, 0644) == 0 && Write_All(descriptor, content) && ::fsync(descriptor) == 0;
    written = ::close(descriptor) == 0 && written;
    if (written && ::rename(temporary.c_str(), target.c_str()) == 0) return true;
    ::unlink(temporary.c_str());
    return false;
}
}  // namespace

std::string Content_Hash(std::string_view content)
{
    std::uint64_t hash = 14695981039346656037ULL;
    for (const char character : content)
    {
        hash ^= static_cast<unsigned char>(character);
        hash *= 1099511628211ULL;
    }
    char text[17];
    std::snprintf(text, sizeof text, "%016" PRIx64, hash);
    return text;
}

Seed_Manifest Read_Seed_Manifest(const std::string& folder)
{
    Seed_Manifest manifest;
    std::string content;
    if (!Read_Whole_File(folder + "/" + Seed_Manifest_Name, content)) return manifest;
    std::istringstream lines(content);
    std::string line;
    while (std::getline(lines, line))
    {
        std::istringstream fields(line);
        Seeded_File file;
        std::string path;
        if (fields >> file.Hash >> file.Source_Size >> file.Source_Time_Ns && fields.get() == ' ' &&
            std::getline(fields, path) && !path.empty())
            manifest[path] = file;
    }
    return manifest;
}

bool Write_Seed_Manifest(const std::string& folder, const Seed_Manifest& manifest)
{
    std::string content;
    for (const auto& [path, file] : manifest)
        content += file.Hash + " " + std::to_string(file.Source_Size) + " " + std::to_string(file.Source_Time_Ns) +
                   " " + path + "\n";
    return Replace_File(folder + "/" + Seed_Manifest_Name, content);
}

bool Record_Seeded_Files(const std::string& source, const std::string& folder, std::string& failure)
{
    std::vector<Source_File> files;
    Source_Files(source, "", files);
    Seed_Manifest manifest;
    for (const Source_File& file : files)
    {
        std::string content;
        if (!Read_Whole_File(folder + "/" + file.Relative, content)) continue;
        manifest[file.Relative] = {Content_Hash(content), file.Size, file.Time_Ns};
    }
    if (Write_Seed_Manifest(folder, manifest)) return true;
    failure = "cannot write " + folder + "/" + Seed_Manifest_Name + ": " + std::strerror(errno);
    return false;
}

Seed_Refresh Refresh_Seeded_Files(const std::string& source, const std::string& folder)
{
    Seed_Refresh result;
    std::vector<Source_File> files;
    Source_Files(source, "", files);
    // The protocol names the files in a steady order, whatever the directory's.
    std::sort(files.begin(), files.end(),
              [](const Source_File& a, const Source_File& b) { return a.Relative < b.Relative; });
    Seed_Manifest manifest = Read_Seed_Manifest(folder);
    bool manifest_changed = false;
    for (const Source_File& file : files)
    {
        const auto known = manifest.find(file.Relative);
        if (known != manifest.end() && known->second.Source_Size == file.Size &&
            known->second.Source_Time_Ns == file.Time_Ns)
            continue;
        std::string installed;
        if (!Read_Whole_File(file.Path, installed)) continue;
        const std::string installed_hash = Content_Hash(installed);
        const std::string target = folder + "/" + file.Relative;
        std::string copy;
        int error_number = 0;
        const bool copy_exists = Read_Whole_File(target, copy, error_number) || error_number != ENOENT;
        const std::string copy_hash = Content_Hash(copy);
        Seeded_File now{installed_hash, file.Size, file.Time_Ns};

        const bool replace = known != manifest.end()
                                 ? copy_exists && copy_hash == known->second.Hash && copy_hash != installed_hash
                                 : !copy_exists;
        if (replace)
        {
            if (!Replace_File(target, installed))
            {
                if (result.Failure.empty()) result.Failure = "cannot write " + target + ": " + std::strerror(errno);
                continue;
            }
            result.Refreshed.push_back(file.Relative);
        }
        else if (!copy_exists) continue;  // removed by the user: it stays removed
        else if (copy_hash != installed_hash)
        {
            // The user's own content (or an older version's, which cannot be told apart): kept,
            // and the installed file's stamp noted so that it is not read again at every start.
            if (known == manifest.end() || known->second.Hash != copy_hash) result.Kept.push_back(file.Relative);
            now.Hash = known != manifest.end() ? known->second.Hash : "-";
        }
        manifest[file.Relative] = now;
        manifest_changed = true;
    }
    if (manifest_changed && !Write_Seed_Manifest(folder, manifest) && result.Failure.empty())
        result.Failure = "cannot write " + folder + "/" + Seed_Manifest_Name + ": " + std::strerror(errno);
    return result;
}

std::string Seed_Refresh_Protocol_Text(const Seed_Refresh& refresh, const std::string& source_cp1250)
{
    const auto joined = [](const std::vector<std::string>& names) {
        std::string text;
        for (const std::string& name : names) text += (text.empty() ? "" : ", ") + File_Name_To_Cp1250(name);
        return text;
    };
    std::string text = " - PREPARE_PROGRAM_FOLDER - " + std::string(refresh.Failure.empty() ? "OK" : "REFRESH_FAILED") +
                       " - program files refreshed from " + source_cp1250 + ": " +
                       (refresh.Refreshed.empty() ? std::string("none") : joined(refresh.Refreshed));
    if (!refresh.Kept.empty()) text += "; kept as changed by the user: " + joined(refresh.Kept);
    if (!refresh.Failure.empty()) text += "; " + File_Name_To_Cp1250(refresh.Failure);
    return text;
}

#include "config/Language_Counterpart.h"

#include <sys/stat.h>

#include "config/Program_Paths.h"
#include "platform/Posix_File.h"
#include "platform/Seeded_Files.h"

namespace
{

// A name from a language file stays inside the program folder.
bool Inside_The_Folder(const std::string& name)
{
    if (name.empty() || name.front() == '/') return false;
    return name != ".." && name.rfind("../", 0) != 0 && name.find("/../") == std::string::npos &&
           (name.size() < 3 || name.compare(name.size() - 3, 3, "/..") != 0);
}

bool Is_Regular_File(const std::string& path)
{
    struct stat status = {};
    return ::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

}  // namespace

std::string Language_Counterpart(const Program_Paths& paths, const std::string& file, const std::string& counterpart)
{
    if (counterpart == file || !Inside_The_Folder(counterpart) || !Is_Regular_File(paths.File(counterpart)))
        return file;
    std::string content;
    if (!Read_Whole_File(paths.File(file), content)) return counterpart;
    // The seeding manifest tells a copy the user changed (or one found there, hash "-");
    // a folder without one is the build's or a portable one, refreshed from the sources.
    const Seed_Manifest manifest = Read_Seed_Manifest(paths.Program_Directory);
    const auto seeded = manifest.find(file);
    if (seeded != manifest.end() && seeded->second.Hash != Content_Hash(content)) return file;
    return counterpart;
}

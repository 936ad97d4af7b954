#include "platform/Program_Folder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "platform/Posix_File.h"
#include "platform/Seeded_Files.h"

namespace
{
std::string Without_Trailing_Slash(std::string path)
{
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

bool Is_Regular_File(const std::string& path)
{
    struct stat status
    {
    };
    return ::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

// Why a path that should be the language file is none, for the message; empty when
// nothing is there at all.
std::string Not_A_File_Cause(const std::string& path)
{
    struct stat status
    {
    };
    if (::lstat(path.c_str(), &status) != 0) return {};
    if (S_ISLNK(status.st_mode) && ::stat(path.c_str(), &status) != 0)
        return path + " is a symbolic link to a file that does not exist";
    if (S_ISDIR(status.st_mode)) return path + " is a folder";
    if (S_ISFIFO(status.st_mode)) return path + " is a FIFO (a named pipe)";
    if (!S_ISREG(status.st_mode)) return path + " is a device or a socket";
    return {};
}

// A folder without any write bit counts as read-only even for root, as files do.
bool Is_Writable_Directory(const std::string& path)
{
    struct stat status
    {
    };
    if (::stat(path.c_str(), &status) != 0 || !S_ISDIR(status.st_mode)) return false;
    return (status.st_mode & 0222) != 0 && ::access(path.c_str(), W_OK) == 0;
}

std::string Reason(int error_number) { return std::strerror(error_number); }

bool Copy_File(const std::string& source, const std::string& target, std::string& failure)
{
    std::string content;
    if (!Read_Whole_File(source, content))
    {
        failure = "cannot read " + source + ": " + Reason(errno);
        return false;
    }
    const int descriptor = ::open(target.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (descriptor < 0)
    {
        failure = "cannot create " + target + ": " + Reason(errno);
        return false;
    }
    const bool written = Write_All(descriptor, content) && ::fsync(descriptor) == 0;
    const int error_number = errno;
    ::close(descriptor);
    if (!written) failure = "cannot write " + target + ": " + Reason(error_number);
    return written;
}

bool Copy_Folder(const std::filesystem::path& source, const std::filesystem::path& target, std::string& failure)
{
    std::error_code error;
    std::filesystem::directory_iterator entries(source, error);
    if (error)
    {
        failure = "cannot read " + source.string() + ": " + error.message();
        return false;
    }
    for (const auto& entry : entries)
    {
        const std::filesystem::path target_path = target / entry.path().filename();
        const auto status = entry.status(error);
        if (error) continue;
        if (std::filesystem::is_directory(status))
        {
            if (::mkdir(target_path.c_str(), 0700) != 0)
            {
                failure = "cannot create " + target_path.string() + ": " + Reason(errno);
                return false;
            }
            if (!Copy_Folder(entry.path(), target_path, failure)) return false;
        }
        else if (std::filesystem::is_regular_file(status) &&
                 (status.permissions() & std::filesystem::perms::owner_exec) == std::filesystem::perms::none)
        {
            if (!Copy_File(entry.path().string(), target_path.string(), failure)) return false;
        }
    }
    return true;
}
}  // namespace

bool Fill_User_Folder(const std::string& source, const std::string& target, std::string& failure)
{
    const std::string target_folder = Without_Trailing_Slash(target);
    const std::string parent = Directory_Of(target_folder);
    if (!Make_Private_Directories(parent))
    {
        failure = "cannot create " + parent + ": " + Reason(errno);
        return false;
    }
    // Filled beside its final place under another name, then renamed in one step.
    std::string filling =
        parent + "/." + target_folder.substr(parent.size() + (parent == "/" ? 0 : 1)) + ".filling-XXXXXX";
    if (::mkdtemp(filling.data()) == nullptr)
    {
        failure = "cannot create a folder in " + parent + ": " + Reason(errno);
        return false;
    }
    bool filled = Copy_Folder(source, filling, failure) && Record_Seeded_Files(source, filling, failure);
    if (filled && ::rename(filling.c_str(), target_folder.c_str()) != 0)
    {
        const int error_number = errno;
        // Another start on another display filled it first: theirs is as good as ours.
        filled = error_number == EEXIST || error_number == ENOTEMPTY;
        if (!filled) failure = "cannot create " + target_folder + ": " + Reason(error_number);
    }
    std::error_code ignored;
    if (std::filesystem::exists(filling, ignored)) std::filesystem::remove_all(filling, ignored);
    if (filled)
    {
        // The new name is durable once its parent folder is.
        const int descriptor = ::open(parent.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (descriptor >= 0)
        {
            ::fsync(descriptor);
            ::close(descriptor);
        }
    }
    return filled;
}

std::string Existing_Program_Directory(const std::string& executable_directory, const Xdg_Environment& environment)
{
    const std::string beside = Without_Trailing_Slash(executable_directory);
    if (Is_Regular_File(beside + "/" + Marking_Language_File) && Is_Writable_Directory(beside)) return beside + "/";
    return Xdg_Data_Home(environment) + "/" + User_Folder_Name + "/";
}

Program_Folder_Choice Choose_Program_Folder(const std::string& executable_directory,
                                            const std::string& installed_data_directory,
                                            const Xdg_Environment& environment)
{
    Program_Folder_Choice choice;
    const std::string beside = Without_Trailing_Slash(executable_directory);
    const bool data_beside = Is_Regular_File(beside + "/" + Marking_Language_File);
    if (data_beside && Is_Writable_Directory(beside))
    {
        choice.Portable = true;
        choice.Program_Directory = beside + "/";
        return choice;
    }

    const std::string user_folder = Xdg_Data_Home(environment) + "/" + User_Folder_Name;
    struct stat status
    {
    };
    if (::stat(user_folder.c_str(), &status) == 0)
    {
        // An installation into the data home itself (prefix ~/.local with the data in
        // share/) would have the program write into its installation, where the next
        // install overwrites the user's settings.
        struct stat installed
        {
        };
        if (::stat(installed_data_directory.c_str(), &installed) == 0 && installed.st_dev == status.st_dev &&
            installed.st_ino == status.st_ino)
        {
            choice.Failure = "The installed data in " + user_folder +
                             " is the folder where the user's files belong. Install the program with its data "
                             "elsewhere (scripts/install.sh puts it in lib/zentavo-logger).";
            return choice;
        }
        // Whatever is there is the user's; a file in its place shows up as the first
        // file the start-up cannot create, with its real path.
        choice.Program_Directory = user_folder + "/";
        const std::string source =
            data_beside
                ? beside
                : Without_Trailing_Slash(std::filesystem::path(installed_data_directory).lexically_normal().string());
        if (S_ISDIR(status.st_mode) && Is_Regular_File(source + "/" + Marking_Language_File))
            choice.Refresh_Source = source;
        return choice;
    }

    // A read-only portable folder is the data to copy; otherwise the installed data.
    choice.Data_Source =
        data_beside
            ? beside
            : Without_Trailing_Slash(std::filesystem::path(installed_data_directory).lexically_normal().string());
    if (!Is_Regular_File(choice.Data_Source + "/" + Marking_Language_File))
    {
        std::string cause = Not_A_File_Cause(choice.Data_Source + "/" + Marking_Language_File);
        if (cause.empty()) cause = Not_A_File_Cause(beside + "/" + Marking_Language_File);
        choice.Failure = cause.empty() ? "The program's data was not found: neither " + beside + " nor " +
                                             choice.Data_Source + " holds " + Marking_Language_File + "."
                                       : "The program's data cannot be used: " + cause + ", not the language file.";
        return choice;
    }
    std::string failure;
    if (!Fill_User_Folder(choice.Data_Source, user_folder, failure))
    {
        choice.Failure =
            "The folder " + user_folder + " could not be prepared from " + choice.Data_Source + ": " + failure + ".";
        return choice;
    }
    choice.Filled = true;
    choice.Program_Directory = user_folder + "/";
    return choice;
}

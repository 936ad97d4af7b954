#include "platform/File_Error.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

File_Error File_Error_From_Errno(int error_number)
{
    switch (error_number)
    {
    case EACCES:
    case EPERM:
    case EROFS: return {ERROR_ACCESS_DENIED, "Access is denied."};
    case EBUSY:
    case ETXTBSY:
        return {ERROR_SHARING_VIOLATION,
                "The process cannot access the file because it is being used by another process."};
    case ENOTDIR: return {ERROR_PATH_NOT_FOUND, "The system cannot find the path specified."};
    case ENODEV:
    case ENXIO:
    case ENOMEDIUM: return {ERROR_NOT_READY, "The device is not ready."};
    default: return {error_number, std::strerror(error_number)};
    }
}

File_Error File_Error_For_Path(int error_number, const std::string& path)
{
    if (error_number == ENOENT)
    {
        const std::size_t slash = path.rfind('/');
        const std::string directory = slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
        struct stat status
        {
        };
        if (::stat(directory.c_str(), &status) != 0 || !S_ISDIR(status.st_mode)) return File_Error_From_Errno(ENOTDIR);
    }
    return File_Error_From_Errno(error_number);
}

bool Is_Read_Only_File(const std::string& path)
{
    struct stat status
    {
    };
    if (::stat(path.c_str(), &status) != 0) return false;
    return (status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

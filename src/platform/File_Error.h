#pragma once
// File errors reported with the numbers the protocol lines have always used.
#include <string>

inline constexpr int ERROR_PATH_NOT_FOUND = 3;
inline constexpr int ERROR_ACCESS_DENIED = 5;
inline constexpr int ERROR_NOT_READY = 21;
inline constexpr int ERROR_SHARING_VIOLATION = 32;
inline constexpr int ERROR_UNRECOGNIZED_VOLUME = 1005;

struct File_Error
{
    int Code = 0;      // the number written into protocol lines
    std::string Text;  // the readable message for it
};

// Maps a POSIX errno to the number and text that a protocol line shows.
File_Error File_Error_From_Errno(int error_number);

// True when the file exists and its mode has no write bit at all; such a file is
// refused with ERROR_ACCESS_DENIED even for root.
bool Is_Read_Only_File(const std::string& path);

// As File_Error_From_Errno, but a missing file whose directory is missing too is
// ERROR_PATH_NOT_FOUND, as the path-not-found error has always been reported.
File_Error File_Error_For_Path(int error_number, const std::string& path);

#pragma once
// Whole-file reading, complete writing and path splitting shared by every file the core touches.
#include <sys/types.h>

#include <cstdint>
#include <string>
#include <string_view>

// The mode a new file is created with: never writable by others, whatever the umask.
inline constexpr mode_t New_File_Mode = 0664;

// Opens a file that must be a regular file (a symbolic link to one is fine). The open
// never blocks: a FIFO or a device in its place is refused at once, as is a directory.
// Gives the descriptor (O_CLOEXEC, in blocking mode again), or -1 with error_number set:
// EISDIR for a directory, EINVAL for any other file that is not a regular file.
int Open_Regular_File(const std::string& path, int flags, int& error_number, mode_t mode = New_File_Mode);

// Reads a regular file whole into content (cleared first); false when the path is not a
// readable regular file or a read failed, with the cause in error_number.
bool Read_Whole_File(const std::string& path, std::string& content, int& error_number);
bool Read_Whole_File(const std::string& path, std::string& content);
// The same for a file that is read at every start and held whole: one larger than
// max_bytes is refused unread (EFBIG), so no file put in its place can stall the start.
bool Read_Whole_File(const std::string& path, std::string& content, int& error_number, std::uint64_t max_bytes);
// The limit of the configuration files: Setup.ini, the language file, Work_Type_List, File_List.
inline constexpr std::uint64_t Configuration_File_Size_Limit = 1024 * 1024;

// Writes all of data to the descriptor, resuming after interrupts and partial writes; on
// false errno still holds the cause.
bool Write_All(int descriptor, std::string_view data);

// The directory part of a path: "." for a bare name, "/" for a file in the root.
std::string Directory_Of(const std::string& path);

// The path a replacement has to be written to: where a chain of symbolic links ends (a
// link whose target is missing included), so that the link stays a link. A path that is no
// link is given back as it is.
std::string Final_Link_Target(const std::string& path);

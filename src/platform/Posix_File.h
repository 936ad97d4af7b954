#pragma once
// Whole-file reading, complete writing and path splitting shared by every file the core touches.
#include <string>
#include <string_view>

// Reads a regular file whole into content (cleared first); false when the path is not a
// readable regular file or a read failed.
bool Read_Whole_File(const std::string& path, std::string& content);

// Writes all of data to the descriptor, resuming after interrupts and partial writes; on
// false errno still holds the cause.
bool Write_All(int descriptor, std::string_view data);

// The directory part of a path: "." for a bare name, "/" for a file in the root.
std::string Directory_Of(const std::string& path);

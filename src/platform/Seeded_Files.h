#pragma once
// What the first start copied into the user's folder, so that a newer installation's data
// reaches users who already have the folder: a copy the user never changed is refreshed
// from the installation, a changed one is kept. The manifest in the user's folder holds
// one line per copied file: the hash of the content copied, the installed file's size and
// modification time (so an unchanged installation costs one stat per file), and the path
// relative to the folder.
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

inline constexpr const char* Seed_Manifest_Name = ".zentavo-logger-seeded";

// A 64-bit FNV-1a hash in 16 hexadecimal digits: it tells contents apart, nothing more.
std::string Content_Hash(std::string_view content);

struct Seeded_File
{
    std::string Hash;  // of the content copied; "-" when unknown (found, not copied)
    std::uint64_t Source_Size = 0;
    std::int64_t Source_Time_Ns = 0;
};
using Seed_Manifest = std::map<std::string, Seeded_File>;

Seed_Manifest Read_Seed_Manifest(const std::string& folder);
bool Write_Seed_Manifest(const std::string& folder, const Seed_Manifest& manifest);

// The manifest of a folder just filled from source: every file of source as it is now.
bool Record_Seeded_Files(const std::string& source, const std::string& folder, std::string& failure);

struct Seed_Refresh
{
    std::vector<std::string> Refreshed;  // relative paths replaced or added from source
    std::vector<std::string> Kept;       // changed by the user, so not replaced
    std::string Failure;                 // the first file that could not be refreshed
};
// Brings the folder's unchanged copies up to source. Setup.ini is the user's settings and
// never refreshed; a file the user removed stays removed.
Seed_Refresh Refresh_Seeded_Files(const std::string& source, const std::string& folder);

// The protocol line of a refresh (CP1250 paths): which files came from source, which the
// user's changes kept, and a failure.
std::string Seed_Refresh_Protocol_Text(const Seed_Refresh& refresh, const std::string& source_cp1250);

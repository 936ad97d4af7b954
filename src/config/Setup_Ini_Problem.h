#pragma once
// Why Setup.ini could not be read, for the protocol: a missing file is no problem (the
// defaults are its meaning), but one too large, unreadable or not a file hides the user's
// settings, and the protocol says which.
#include <optional>
#include <string>

std::optional<std::string> Setup_Ini_Problem(const std::string& setup_ini_path);

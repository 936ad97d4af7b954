#pragma once
// The Format function of the message and file-line patterns: "%" [index ":"] ["-"]
// [width] ["." precision] "s", and "%%" for one percent sign. A specifier without an
// index takes the argument after the one used last. Every other character is copied.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Gives no value when the pattern does not fit its arguments: an index past the last
// argument, a conversion other than "s", or a specifier left unfinished.
std::optional<std::string> Format(std::string_view pattern, const std::vector<std::string>& arguments);

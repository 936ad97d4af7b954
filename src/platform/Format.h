#pragma once
// The Format function of the message and file-line patterns: "%" [index ":"] ["-"]
// [width] ["." precision] "s", and "%%" for one percent sign. A specifier without an
// index takes the argument after the one used last. Every other character is copied.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Gives no value when the pattern does not fit its arguments: an index past the last
// argument, a conversion other than "s", or a specifier left unfinished.
std::optional<std::string> Format(std::string_view pattern, const std::vector<std::string>& arguments);

// The pieces of a specifier as Format reads them, for code that reads its patterns back.
bool Is_Format_Digit(char character);
// Reads a run of digits at position and moves past it; saturates instead of overflowing.
std::size_t Read_Format_Number(std::string_view pattern, std::size_t& position);

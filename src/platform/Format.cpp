#include "platform/Format.h"

#include <cstddef>

namespace
{

// A width or precision above this is refused: no real pattern needs it, and honouring
// "%999999999s" would allocate gigabytes from one line of a user-edited file.
constexpr std::size_t Maximum_Width = 4096;

}  // namespace

bool Is_Format_Digit(char character) { return character >= '0' && character <= '9'; }

std::size_t Read_Format_Number(std::string_view pattern, std::size_t& position)
{
    std::size_t value = 0;
    while (position < pattern.size() && Is_Format_Digit(pattern[position]))
    {
        if (value <= 100000000) value = value * 10 + static_cast<std::size_t>(pattern[position] - '0');
        ++position;
    }
    return value;
}

std::optional<std::string> Format(std::string_view pattern, const std::vector<std::string>& arguments)
{
    std::string out;
    std::size_t next_argument = 0;
    std::size_t position = 0;
    const std::size_t size = pattern.size();

    while (position < size)
    {
        const char character = pattern[position++];
        if (character != '%')
        {
            out += character;
            continue;
        }
        if (position >= size) return std::nullopt;
        if (pattern[position] == '%')
        {
            out += '%';
            ++position;
            continue;
        }

        // Index: digits followed by ':'; digits without ':' are the width.
        std::size_t argument_index = next_argument;
        std::size_t width = 0;
        bool width_given = false;
        if (Is_Format_Digit(pattern[position]))
        {
            const std::size_t number = Read_Format_Number(pattern, position);
            if (position < size && pattern[position] == ':')
            {
                argument_index = number;
                ++position;
            }
            else
            {
                width = number;
                width_given = true;
            }
        }

        bool left_aligned = false;
        if (!width_given)
        {
            if (position < size && pattern[position] == '-')
            {
                left_aligned = true;
                ++position;
            }
            if (position < size && Is_Format_Digit(pattern[position])) width = Read_Format_Number(pattern, position);
        }

        std::size_t precision = 0;
        bool precision_given = false;
        if (position < size && pattern[position] == '.')
        {
            ++position;
            precision = Read_Format_Number(pattern, position);
            precision_given = true;
        }

        if (position >= size) return std::nullopt;
        const char conversion = pattern[position++];
        if (conversion != 's' && conversion != 'S') return std::nullopt;
        if (width > Maximum_Width) return std::nullopt;
        if (argument_index >= arguments.size()) return std::nullopt;

        std::string_view text = arguments[argument_index];
        if (precision_given && precision < text.size()) text = text.substr(0, precision);
        const std::size_t padding = width > text.size() ? width - text.size() : 0;
        if (!left_aligned) out.append(padding, ' ');
        out += text;
        if (left_aligned) out.append(padding, ' ');
        next_argument = argument_index + 1;
    }
    return out;
}

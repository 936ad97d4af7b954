#include "platform/Ini_File.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <vector>

#include "platform/File_Error.h"
#include "platform/Posix_File.h"

namespace
{

// Every read of the file goes through here; a file past the limit reads as one that
// cannot be read.
bool Read_Configuration_File(const std::string& path, std::string& content)
{
    int ignored = 0;
    return Read_Whole_File(path, content, ignored, Configuration_File_Size_Limit);
}

// One line of the file: where it starts, where its text ends and where its line end ends.
struct Ini_Line
{
    std::size_t Begin = 0;
    std::size_t Text_End = 0;
    std::size_t End = 0;
};

enum class Line_Kind
{
    Other,
    Section,
    Key
};

struct Parsed_Line
{
    Line_Kind Kind = Line_Kind::Other;
    std::string_view Name;   // section or key name, trimmed
    std::string_view Value;  // key value, trimmed
};

// A stray CR counts as blank, so that it never becomes part of a name or value.
bool Is_Blank(char character) { return character == ' ' || character == '\t' || character == '\r'; }

std::string_view Trim(std::string_view text)
{
    while (!text.empty() && Is_Blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && Is_Blank(text.back())) text.remove_suffix(1);
    return text;
}

char Lower(char character)
{
    return (character >= 'A' && character <= 'Z') ? static_cast<char>(character - 'A' + 'a') : character;
}

bool Same_Name(std::string_view left, std::string_view right)
{
    if (left.size() != right.size()) return false;
    for (std::size_t index = 0; index < left.size(); ++index)
    {
        if (Lower(left[index]) != Lower(right[index])) return false;
    }
    return true;
}

std::vector<Ini_Line> Split_Lines(const std::string& content)
{
    std::vector<Ini_Line> lines;
    std::size_t begin = 0;
    while (begin < content.size())
    {
        Ini_Line line;
        line.Begin = begin;
        const std::size_t line_feed = content.find('\n', begin);
        if (line_feed == std::string::npos)
        {
            line.Text_End = content.size();
            line.End = content.size();
        }
        else
        {
            line.Text_End = line_feed;
            line.End = line_feed + 1;
        }
        if (line.Text_End > line.Begin && content[line.Text_End - 1] == '\r') --line.Text_End;
        lines.push_back(line);
        begin = line.End;
    }
    return lines;
}

// A line "[name]" opens a section; "name=value" is a key; anything else (blank lines,
// comments, a "[" without "]", text without "=") is kept but ignored.
Parsed_Line Parse_Line(std::string_view text)
{
    Parsed_Line parsed;
    const std::string_view trimmed = Trim(text);
    if (trimmed.empty() || trimmed.front() == ';') return parsed;
    if (trimmed.front() == '[')
    {
        const std::size_t closing = trimmed.find(']');
        if (closing != std::string_view::npos)
        {
            parsed.Kind = Line_Kind::Section;
            parsed.Name = Trim(trimmed.substr(1, closing - 1));
            return parsed;
        }
    }
    const std::size_t equals = trimmed.find('=');
    if (equals == std::string_view::npos) return parsed;
    parsed.Kind = Line_Kind::Key;
    parsed.Name = Trim(trimmed.substr(0, equals));
    parsed.Value = Trim(trimmed.substr(equals + 1));
    return parsed;
}

// Where the section's lines and the key's line lie in the file; npos when absent.
struct Key_Location
{
    std::size_t Section_Line = std::string::npos;
    std::size_t Last_Content_Line = std::string::npos;  // last non-blank line of the section
    std::size_t Key_Line = std::string::npos;
};

Key_Location Locate(const std::string& content, const std::vector<Ini_Line>& lines, std::string_view section,
                    std::string_view key)
{
    Key_Location location;
    bool inside = false;
    for (std::size_t index = 0; index < lines.size(); ++index)
    {
        const std::string_view text(content.data() + lines[index].Begin, lines[index].Text_End - lines[index].Begin);
        const Parsed_Line parsed = Parse_Line(text);
        if (parsed.Kind == Line_Kind::Section)
        {
            if (inside) break;  // only the first matching section counts
            if (Same_Name(parsed.Name, section))
            {
                inside = true;
                location.Section_Line = index;
                location.Last_Content_Line = index;
            }
            continue;
        }
        if (!inside) continue;
        if (!Trim(text).empty()) location.Last_Content_Line = index;
        if (parsed.Kind == Line_Kind::Key && Same_Name(parsed.Name, key))
        {
            location.Key_Line = index;
            break;
        }
    }
    return location;
}

unsigned long Temporary_Counter = 0;

// Replaces the file through a temporary file in the same directory, so that a failed
// write leaves the old file whole.
bool Replace_File(const std::string& path, const std::string& content)
{
    if (Is_Read_Only_File(path)) return false;
    // A symbolic link stays a link to the rewritten file.
    const std::string target = Final_Link_Target(path);
    struct stat old_status
    {
    };
    const bool existed = ::stat(target.c_str(), &old_status) == 0;
    if (existed && !S_ISREG(old_status.st_mode)) return false;

    // A new file is never writable by others; a replaced file keeps its mode.
    std::string temporary;
    int descriptor = -1;
    for (int attempt = 0; attempt < 100 && descriptor < 0; ++attempt)
    {
        temporary = Directory_Of(target) + "/.ini_write_" + std::to_string(::getpid()) + "_" +
                    std::to_string(++Temporary_Counter);
        descriptor = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, New_File_Mode);
        if (descriptor < 0 && errno != EEXIST) return false;
    }
    if (descriptor < 0) return false;

    bool ok = !existed || ::fchmod(descriptor, old_status.st_mode & 07777) == 0;
    ok = ok && Write_All(descriptor, content);
    ok = ok && ::fsync(descriptor) == 0;
    ok = (::close(descriptor) == 0) && ok;
    ok = ok && ::rename(temporary.c_str(), target.c_str()) == 0;
    if (!ok) ::unlink(temporary.c_str());
    return ok;
}

// What a line written after text needs first: a last line without its line end gets one,
// and a lone CR is completed to CR LF.
std::string_view Line_End_Completion(std::string_view text)
{
    if (text.empty() || text.back() == '\n') return "";
    return text.back() == '\r' ? "\n" : "\r\n";
}

// A value must stay on its line; whatever follows a line break would become lines of its own.
std::string_view Single_Line(std::string_view value)
{
    const std::size_t line_break = value.find_first_of("\r\n");
    return line_break == std::string_view::npos ? value : value.substr(0, line_break);
}

struct Named_Color
{
    const char* Name;
    std::uint32_t Value;
};

constexpr std::array<Named_Color, 22> Color_Names = {{
    {"clBlack", 0x000000},      {"clMaroon", 0x000080},  {"clGreen", 0x008000}, {"clOlive", 0x008080},
    {"clNavy", 0x800000},       {"clPurple", 0x800080},  {"clTeal", 0x808000},  {"clGray", 0x808080},
    {"clSilver", 0xC0C0C0},     {"clRed", 0x0000FF},     {"clLime", 0x00FF00},  {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000},       {"clFuchsia", 0xFF00FF}, {"clAqua", 0xFFFF00},  {"clWhite", 0xFFFFFF},
    {"clMoneyGreen", 0xC0DCC0}, {"clSkyBlue", 0xF0CAA6}, {"clCream", 0xF0FBFF}, {"clMedGray", 0xA4A0A0},
    {"clLtGray", 0xC0C0C0},     {"clDkGray", 0x808080},
}};

int Hex_Digit_Value(char character)
{
    if (character >= '0' && character <= '9') return character - '0';
    const char lower = Lower(character);
    if (lower >= 'a' && lower <= 'f') return lower - 'a' + 10;
    return -1;
}

}  // namespace

std::optional<std::int32_t> Parse_Ini_Integer(std::string_view text)
{
    std::size_t position = 0;
    bool negative = false;
    if (position < text.size() && (text[position] == '+' || text[position] == '-'))
    {
        negative = text[position] == '-';
        ++position;
    }
    bool hexadecimal = false;
    if (position < text.size() && text[position] == '$')
    {
        hexadecimal = true;
        ++position;
    }
    else if (position + 1 < text.size() && text[position] == '0' && Lower(text[position + 1]) == 'x')
    {
        hexadecimal = true;
        position += 2;
    }
    if (position >= text.size()) return std::nullopt;

    std::uint64_t magnitude = 0;
    for (; position < text.size(); ++position)
    {
        const int digit = hexadecimal ? Hex_Digit_Value(text[position])
                                      : (text[position] >= '0' && text[position] <= '9' ? text[position] - '0' : -1);
        if (digit < 0) return std::nullopt;
        magnitude = magnitude * (hexadecimal ? 16 : 10) + static_cast<std::uint64_t>(digit);
        if (magnitude > 0xFFFFFFFFull) return std::nullopt;
    }

    if (hexadecimal)
    {
        // Hexadecimal digits give the 32 bits directly: $FFFFFFFF is -1.
        std::uint32_t bits = static_cast<std::uint32_t>(magnitude);
        if (negative) bits = 0u - bits;
        return static_cast<std::int32_t>(bits);
    }
    if (negative)
    {
        if (magnitude > 2147483648ull) return std::nullopt;
        return static_cast<std::int32_t>(-static_cast<std::int64_t>(magnitude));
    }
    if (magnitude > 2147483647ull) return std::nullopt;
    return static_cast<std::int32_t>(magnitude);
}

std::optional<std::uint32_t> Parse_Ini_Color(std::string_view text)
{
    for (const Named_Color& color : Color_Names)
    {
        if (Same_Name(text, color.Name)) return color.Value;
    }
    const std::optional<std::int32_t> number = Parse_Ini_Integer(text);
    // Only plain BGR values are colours here; system colours and negative numbers are not.
    if (!number || *number < 0 || *number > 0x00FFFFFF) return std::nullopt;
    return static_cast<std::uint32_t>(*number);
}

Ini_File::Ini_File(std::string path) : File_Path(std::move(path)) {}

Ini_File Ini_File::Read_Once(std::string path)
{
    Ini_File ini(std::move(path));
    ini.Refresh_Copy();
    return ini;
}

void Ini_File::Refresh_Copy()
{
    Copy.clear();
    Copy_Exists = Read_Configuration_File(File_Path, Copy);
    if (!Copy_Exists) Copy.clear();
    Copy_Held = true;
}

bool Ini_File::Read_Content(std::string& content) const
{
    if (!Copy_Held) return Read_Configuration_File(File_Path, content);
    if (!Copy_Exists) return false;
    content = Copy;
    return true;
}

std::optional<std::string> Ini_File::Read_Value(std::string_view section, std::string_view key) const
{
    std::string content;
    if (!Read_Content(content)) return std::nullopt;
    const std::vector<Ini_Line> lines = Split_Lines(content);
    const Key_Location location = Locate(content, lines, section, key);
    if (location.Key_Line == std::string::npos) return std::nullopt;
    const Ini_Line& line = lines[location.Key_Line];
    return std::string(Parse_Line(std::string_view(content.data() + line.Begin, line.Text_End - line.Begin)).Value);
}

bool Ini_File::Key_Exists(std::string_view section, std::string_view key) const
{
    return Read_Value(section, key).has_value();
}

std::string Ini_File::Read_String(std::string_view section, std::string_view key, std::string_view default_value) const
{
    std::optional<std::string> value = Read_Value(section, key);
    return value ? std::move(*value) : std::string(default_value);
}

std::int32_t Ini_File::Read_Integer(std::string_view section, std::string_view key, std::int32_t default_value) const
{
    const std::optional<std::string> value = Read_Value(section, key);
    if (!value) return default_value;
    return Parse_Ini_Integer(*value).value_or(default_value);
}

bool Ini_File::Read_Bool(std::string_view section, std::string_view key, bool default_value) const
{
    return Read_Integer(section, key, default_value ? 1 : 0) != 0;
}

std::uint32_t Ini_File::Read_Color(std::string_view section, std::string_view key, std::uint32_t default_value) const
{
    const std::optional<std::string> value = Read_Value(section, key);
    if (!value) return default_value;
    return Parse_Ini_Color(*value).value_or(default_value);
}

bool Ini_File::Write_String(std::string_view section, std::string_view key, std::string_view value)
{
    std::string content;
    if (!Read_Configuration_File(File_Path, content))
    {
        struct stat status
        {
        };
        // Only a missing file starts empty; one that exists but cannot be read is not overwritten.
        if (::stat(File_Path.c_str(), &status) == 0) return false;
        content.clear();
    }
    const std::vector<Ini_Line> lines = Split_Lines(content);
    const Key_Location location = Locate(content, lines, section, key);
    const std::string_view written_value = Single_Line(value);

    std::string updated;
    if (location.Key_Line != std::string::npos)
    {
        const Ini_Line& line = lines[location.Key_Line];
        const std::string_view text(content.data() + line.Begin, line.Text_End - line.Begin);
        const std::string new_text = std::string(Parse_Line(text).Name) + "=" + std::string(written_value);
        if (new_text == text) return true;
        updated = content.substr(0, line.Begin) + new_text + content.substr(line.Text_End);
    }
    else if (location.Section_Line != std::string::npos)
    {
        const Ini_Line& last = lines[location.Last_Content_Line];
        std::string insertion(Line_End_Completion(std::string_view(content).substr(0, last.End)));
        insertion += std::string(key) + "=" + std::string(written_value) + "\r\n";
        updated = content.substr(0, last.End) + insertion + content.substr(last.End);
    }
    else
    {
        updated = content;
        updated += Line_End_Completion(content);
        updated += "[" + std::string(section) + "]\r\n" + std::string(key) + "=" + std::string(written_value) + "\r\n";
    }
    const bool written = Replace_File(File_Path, updated);
    if (Copy_Held) Refresh_Copy();
    return written;
}

bool Ini_File::Write_Integer(std::string_view section, std::string_view key, std::int32_t value)
{
    return Write_String(section, key, std::to_string(value));
}

bool Ini_File::Write_Bool(std::string_view section, std::string_view key, bool value)
{
    return Write_String(section, key, value ? "1" : "0");
}

bool Ini_File::Delete_Key(std::string_view section, std::string_view key)
{
    std::string content;
    if (!Read_Configuration_File(File_Path, content))
    {
        struct stat status
        {
        };
        return ::stat(File_Path.c_str(), &status) != 0;  // a missing file has nothing to delete
    }
    const std::vector<Ini_Line> lines = Split_Lines(content);
    const Key_Location location = Locate(content, lines, section, key);
    if (location.Key_Line == std::string::npos) return true;
    const Ini_Line& line = lines[location.Key_Line];
    const bool written = Replace_File(File_Path, content.substr(0, line.Begin) + content.substr(line.End));
    if (Copy_Held) Refresh_Copy();
    return written;
}

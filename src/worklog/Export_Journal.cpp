#include "worklog/Export_Journal.h"

#include <charconv>

#include "worklog/Day_Log_File.h"

namespace
{

std::string Journal_Path(Work_Log_Context& context) { return context.Day_Log_Path() + Export_Journal_Suffix; }

std::optional<std::uint64_t> Number_From(std::string_view text, int base)
{
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
    return value;
}

std::string Hex(std::uint64_t value)
{
    char buffer[17] = {};
    const auto result = std::to_chars(buffer, buffer + sizeof buffer - 1, value, 16);
    return std::string(buffer, result.ptr);
}

}  // namespace

std::uint64_t Stored_Day_Identity(const std::vector<Work_Record>& stored_records)
{
    // FNV-1a over the records as they are stored.
    std::uint64_t hash = 14695981039346656037ull;
    for (const Work_Record& record : stored_records)
        for (const char byte : Encode_Work_Record(record))
        {
            hash ^= static_cast<unsigned char>(byte);
            hash *= 1099511628211ull;
        }
    return hash;
}

std::optional<Export_Journal_Entry> Read_Export_Journal(Work_Log_Context& context)
{
    const std::string path = Journal_Path(context);
    if (!context.Files.Is_File(path)) return std::nullopt;
    std::string content;
    std::uint64_t size = 0;
    int ignored = 0;
    if (!context.Files.Read_Prefix(path, 65536, content, size, ignored)) return std::nullopt;
    // The length, the identity in hex, then the target's name to the end.
    const std::size_t first = content.find('\n');
    const std::size_t second = first == std::string::npos ? first : content.find('\n', first + 1);
    if (second == std::string::npos) return std::nullopt;
    const auto length = Number_From(std::string_view(content).substr(0, first), 10);
    const auto identity = Number_From(std::string_view(content).substr(first + 1, second - first - 1), 16);
    if (!length || !identity) return std::nullopt;
    return Export_Journal_Entry{content.substr(second + 1), *length, *identity};
}

bool Write_Export_Journal(Work_Log_Context& context, const Export_Journal_Entry& entry, int& error_number)
{
    const std::string path = Journal_Path(context);
    const std::string temporary_path = path + ".tmp";
    const std::string content =
        std::to_string(entry.Length_Before) + "\n" + Hex(entry.Day_Identity) + "\n" + entry.Target_File_Name;
    error_number = 0;
    std::unique_ptr<Writable_File> file = context.Files.Create_Replacement(temporary_path, path, error_number);
    bool written = file && file->Write(content, error_number) && file->Sync(error_number) && file->Close(error_number);
    file.reset();
    written = written && context.Files.Rename(temporary_path, path, error_number);
    if (!written)
    {
        int ignored = 0;
        context.Files.Remove(temporary_path, ignored);
    }
    return written;
}

void Remove_Export_Journal(Work_Log_Context& context)
{
    int ignored = 0;
    const std::string path = Journal_Path(context);
    if (context.Files.Kind_Of(path) != File_Kind::Missing) context.Files.Remove(path, ignored);
}

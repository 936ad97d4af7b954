#include "history/Target_Log_Reader.h"

#include <algorithm>
#include <array>
#include <map>

#include "history/Calendar.h"
#include "platform/Date_Time_Patterns.h"
#include "platform/Format.h"

namespace
{

constexpr std::size_t Maximum_Unfitting_Line_Numbers = 10;

bool Is_Digit(char character) { return character >= '0' && character <= '9'; }

std::size_t Read_Number(std::string_view pattern, std::size_t& position)
{
    std::size_t value = 0;
    while (position < pattern.size() && Is_Digit(pattern[position]))
    {
        if (value <= 100000000) value = value * 10 + static_cast<std::size_t>(pattern[position] - '0');
        ++position;
    }
    return value;
}

// The specifiers exactly as the Format function reads them; the caller has checked that
// Format accepts the pattern.
Target_Log_Pattern Split_Pattern(std::string_view pattern)
{
    Target_Log_Pattern result;
    result.Text = pattern;
    const auto add_literal = [&](char character) {
        if (result.Pieces.empty() || result.Pieces.back().Is_Field) result.Pieces.push_back({});
        result.Pieces.back().Literal += character;
    };
    std::size_t next_argument = 0;
    std::size_t position = 0;
    while (position < pattern.size())
    {
        const char character = pattern[position++];
        if (character != '%')
        {
            add_literal(character);
            continue;
        }
        if (pattern[position] == '%')
        {
            add_literal('%');
            ++position;
            continue;
        }
        Target_Log_Pattern_Piece field;
        field.Is_Field = true;
        field.Field_Index = next_argument;
        bool width_given = false;
        if (Is_Digit(pattern[position]))
        {
            const std::size_t number = Read_Number(pattern, position);
            if (pattern[position] == ':')
            {
                field.Field_Index = number;
                ++position;
            }
            else
            {
                field.Width = number;
                width_given = true;
            }
        }
        if (!width_given)
        {
            if (pattern[position] == '-')
            {
                field.Left_Aligned = true;
                ++position;
            }
            if (Is_Digit(pattern[position])) field.Width = Read_Number(pattern, position);
        }
        if (pattern[position] == '.')
        {
            ++position;
            field.Precision = Read_Number(pattern, position);
        }
        ++position;  // the conversion letter
        next_argument = field.Field_Index + 1;
        result.Pieces.push_back(field);
    }
    return result;
}

// The value without the blanks that the width added.
std::string_view Without_Padding(const Target_Log_Pattern_Piece& field, std::string_view raw)
{
    if (field.Width == 0 || raw.size() != field.Width) return raw;
    if (field.Left_Aligned)
        while (!raw.empty() && raw.back() == ' ') raw.remove_suffix(1);
    else
        while (!raw.empty() && raw.front() == ' ') raw.remove_prefix(1);
    return raw;
}

// Assigns a field's value; a field named twice must read the same both times.
bool Assign(std::array<std::optional<std::string>, Work_Record_Field_Count>& fields,
            const Target_Log_Pattern_Piece& field, std::string_view raw)
{
    const std::string value(Without_Padding(field, raw));
    std::optional<std::string>& slot = fields[field.Field_Index];
    if (slot && *slot != value) return false;
    slot = value;
    return true;
}

std::optional<Work_Record> To_Record(const std::array<std::optional<std::string>, Work_Record_Field_Count>& fields)
{
    Work_Record record;
    for (std::size_t index = 0; index < Work_Record_Field_Count; ++index) record[index] = fields[index].value_or("");
    return record;
}

// Each field takes the text up to the first place where the next literal follows.
std::optional<Work_Record> Parse_Leftmost(const Target_Log_Pattern& pattern, std::string_view line)
{
    std::array<std::optional<std::string>, Work_Record_Field_Count> fields;
    std::size_t position = 0;
    const auto& pieces = pattern.Pieces;
    for (std::size_t index = 0; index < pieces.size(); ++index)
    {
        const Target_Log_Pattern_Piece& piece = pieces[index];
        if (!piece.Is_Field)
        {
            if (line.substr(position, piece.Literal.size()) != piece.Literal) return std::nullopt;
            position += piece.Literal.size();
            continue;
        }
        std::size_t end = line.size();
        if (index + 1 < pieces.size())
        {
            const std::string& literal = pieces[index + 1].Literal;
            if (index + 2 == pieces.size())
            {
                if (line.size() < position + literal.size() || line.substr(line.size() - literal.size()) != literal)
                    return std::nullopt;
                end = line.size() - literal.size();
            }
            else
            {
                end = line.find(literal, position);
                if (end == std::string_view::npos) return std::nullopt;
            }
        }
        if (!Assign(fields, piece, line.substr(position, end - position))) return std::nullopt;
        position = end;
    }
    if (position != line.size()) return std::nullopt;
    return To_Record(fields);
}

// Each field takes the text from the last place where the literal before it ends.
std::optional<Work_Record> Parse_Rightmost(const Target_Log_Pattern& pattern, std::string_view line)
{
    std::array<std::optional<std::string>, Work_Record_Field_Count> fields;
    std::size_t end = line.size();
    const auto& pieces = pattern.Pieces;
    for (std::size_t index = pieces.size(); index-- > 0;)
    {
        const Target_Log_Pattern_Piece& piece = pieces[index];
        if (!piece.Is_Field)
        {
            const std::size_t size = piece.Literal.size();
            if (end < size || line.substr(end - size, size) != piece.Literal) return std::nullopt;
            end -= size;
            continue;
        }
        std::size_t begin = 0;
        if (index > 0)
        {
            const std::string& literal = pieces[index - 1].Literal;
            if (index == 1)
            {
                if (line.substr(0, literal.size()) != literal || literal.size() > end) return std::nullopt;
                begin = literal.size();
            }
            else
            {
                if (end < literal.size()) return std::nullopt;
                const std::size_t found = line.substr(0, end).rfind(literal);
                if (found == std::string_view::npos) return std::nullopt;
                begin = found + literal.size();
            }
        }
        if (!Assign(fields, piece, line.substr(begin, end - begin))) return std::nullopt;
        end = begin;
    }
    if (end != 0) return std::nullopt;
    return To_Record(fields);
}

bool Gives_Line_Again(std::string_view pattern_text, const Work_Record& record, std::string_view line)
{
    const std::optional<std::string> again =
        Format(pattern_text, std::vector<std::string>(record.Fields.begin(), record.Fields.end()));
    return again && *again == line;
}

bool Same_Counted_Fields(const Work_Record& first, const Work_Record& second)
{
    return first[Date_Field] == second[Date_Field] && first[Work_Type_Field] == second[Work_Type_Field] &&
           first[Duration_Field] == second[Duration_Field];
}

struct Block
{
    Calendar_Date Date;
    std::vector<Work_Record> Records;
    bool Has_Unfitting_Lines = false;
};

}  // namespace

Compiled_Target_Log_Pattern Compile_Target_Log_Pattern(std::string_view format_text)
{
    const std::vector<std::string> six_fields(Work_Record_Field_Count);
    if (!Format(format_text, six_fields))
        return {std::nullopt, "the line pattern " + std::string(format_text) +
                                  " is not valid, only %0:s to %5:s may be used"};
    Target_Log_Pattern pattern = Split_Pattern(format_text);
    std::array<bool, Work_Record_Field_Count> present{};
    for (std::size_t index = 0; index < pattern.Pieces.size(); ++index)
    {
        const Target_Log_Pattern_Piece& piece = pattern.Pieces[index];
        if (!piece.Is_Field) continue;
        present[piece.Field_Index] = true;
        if (index + 1 < pattern.Pieces.size() && pattern.Pieces[index + 1].Is_Field)
            return {std::nullopt, "the line pattern " + std::string(format_text) +
                                      " cannot be read back: two fields follow each other without text between them"};
    }
    if (!present[Date_Field] || !present[Work_Type_Field] || !present[Duration_Field])
        return {std::nullopt, "the line pattern " + std::string(format_text) +
                                  " cannot be read back: it must hold the date (%1:s), the work type (%3:s) and the "
                                  "duration (%4:s)"};
    for (const Target_Log_Pattern_Piece& piece : pattern.Pieces)
    {
        // A cut date or duration can never be read back whole.
        if (piece.Is_Field && piece.Precision && *piece.Precision < 5 &&
            (piece.Field_Index == Duration_Field || piece.Field_Index == Date_Field))
            return {std::nullopt, "the line pattern " + std::string(format_text) +
                                      " cannot be read back: it cuts the date or the duration short"};
    }
    return {std::move(pattern), {}};
}

std::optional<Work_Record> Parse_Target_Log_Line(const Target_Log_Pattern& pattern, std::string_view line)
{
    const std::string& pattern_text = pattern.Text;
    std::optional<Work_Record> leftmost = Parse_Leftmost(pattern, line);
    if (leftmost && !Gives_Line_Again(pattern_text, *leftmost, line)) leftmost.reset();
    std::optional<Work_Record> rightmost = Parse_Rightmost(pattern, line);
    if (rightmost && !Gives_Line_Again(pattern_text, *rightmost, line)) rightmost.reset();
    if (leftmost && rightmost) return Same_Counted_Fields(*leftmost, *rightmost) ? leftmost : std::nullopt;
    return leftmost ? leftmost : rightmost;
}

std::string Target_Log_Reading::Problems_Text() const
{
    if (!Pattern_Problem.empty()) return Pattern_Problem + ".";
    std::string text;
    const auto sentence = [&](std::uint64_t count, const std::string& words) {
        if (count == 0) return;
        if (!text.empty()) text += ' ';
        text += std::to_string(count) + ' ' + words;
    };
    std::string numbers;
    for (std::uint64_t number : First_Unfitting_Line_Numbers)
        numbers += (numbers.empty() ? "" : ", ") + std::to_string(number);
    sentence(Unfitting_Lines, "line(s) do not fit the line pattern and were not counted (line " + numbers +
                                  (Unfitting_Lines > First_Unfitting_Line_Numbers.size() ? ", ...)." : ")."));
    sentence(Orphan_Lines, "line(s) stand before any line with a date and were not counted.");
    sentence(Uncountable_Blocks, "day(s) hold a duration that is not a time and were not counted.");
    sentence(Incomplete_Blocks, "day(s) have no whole block and were counted as far as they were written.");
    return text;
}

Target_Log_Reading Read_Target_Log_Text(std::string_view text, const Target_Log_Format& format,
                                        const Reading_Progress& progress)
{
    Target_Log_Reading reading;
    const Compiled_Target_Log_Pattern compiled = Compile_Target_Log_Pattern(format.Line_Pattern);
    if (!compiled.Pattern)
    {
        reading.Pattern_Problem = compiled.Problem;
        return reading;
    }
    const Target_Log_Pattern& pattern = *compiled.Pattern;

    // Per date: the last whole block, else the last block.
    struct Date_Blocks
    {
        std::optional<Block> Last_Whole;
        std::optional<Block> Last;
        std::uint64_t Count = 0;
    };
    std::map<long long, Date_Blocks> by_date;
    std::optional<Block> current;
    const auto close_block = [&] {
        if (!current) return;
        Date_Blocks& blocks = by_date[Days_Since_Epoch(current->Date)];
        ++blocks.Count;
        if (!current->Has_Unfitting_Lines && Is_Whole_Day_Block(current->Records)) blocks.Last_Whole = *current;
        blocks.Last = std::move(*current);
        current.reset();
    };
    const auto unfitting = [&](std::uint64_t line_number) {
        ++reading.Unfitting_Lines;
        if (reading.First_Unfitting_Line_Numbers.size() < Maximum_Unfitting_Line_Numbers)
            reading.First_Unfitting_Line_Numbers.push_back(line_number);
    };

    constexpr std::uint64_t Progress_Step = 256 * 1024;
    std::uint64_t next_progress = Progress_Step;
    std::size_t position = 0;
    while (position < text.size())
    {
        std::size_t end = text.find_first_of("\r\n", position);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view line = text.substr(position, end - position);
        position = end;
        if (position < text.size())
            position += text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1;
        const std::uint64_t line_number = ++reading.Lines;

        if (progress && position >= next_progress)
        {
            next_progress = position + Progress_Step;
            if (!progress(position, text.size())) return Target_Log_Reading{};
        }

        if (line.empty() || line == format.Separator) continue;
        std::optional<Work_Record> record = Parse_Target_Log_Line(pattern, line);
        if (!record)
        {
            unfitting(line_number);
            if (current) current->Has_Unfitting_Lines = true;
            continue;
        }
        const std::string& date_text = (*record)[Date_Field];
        if (!date_text.empty())
        {
            close_block();
            const std::optional<Date_Time> date = Parse_Date(date_text, format.Short_Date_Pattern);
            if (!date)
            {
                // A Day_Row whose date cannot be read: its rows cannot be placed either.
                unfitting(line_number);
                continue;
            }
            current = Block{{date->Year, date->Month, date->Day}, {std::move(*record)}, false};
            continue;
        }
        if (!current)
        {
            ++reading.Orphan_Lines;
            continue;
        }
        current->Records.push_back(std::move(*record));
    }
    close_block();

    for (auto& [days, blocks] : by_date)
    {
        const bool whole = blocks.Last_Whole.has_value();
        const Block& block = whole ? *blocks.Last_Whole : *blocks.Last;
        reading.Replaced_Blocks += blocks.Count - 1;
        Counted_Day counted = Count_Day_Records(block.Date, block.Records);
        if (!counted.Day)
        {
            ++reading.Uncountable_Blocks;
            continue;
        }
        if (!whole) ++reading.Incomplete_Blocks;
        reading.Days.push_back(std::move(*counted.Day));
    }
    if (progress) progress(text.size(), text.size());
    return reading;
}

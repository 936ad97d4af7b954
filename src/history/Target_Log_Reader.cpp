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
        if (Is_Format_Digit(pattern[position]))
        {
            const std::size_t number = Read_Format_Number(pattern, position);
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
            if (Is_Format_Digit(pattern[position])) field.Width = Read_Format_Number(pattern, position);
        }
        if (pattern[position] == '.')
        {
            ++position;
            field.Precision = Read_Format_Number(pattern, position);
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

using Field_Values = std::array<std::optional<std::string>, Work_Record_Field_Count>;

Work_Record To_Record(const Field_Values& fields)
{
    Work_Record record;
    for (std::size_t index = 0; index < Work_Record_Field_Count; ++index) record[index] = fields[index].value_or("");
    return record;
}

bool Is_Duration(std::string_view text)
{
    if (text.size() > 5 && text.substr(0, 2) == "- ") text.remove_prefix(2);
    return text.size() == 5 && Text_To_Minute_Of_Day(text).Valid;
}

// A reading that the export could have written: the pattern gives the line again, the
// duration is a time, and a row without a date has no day name or span either (only
// the Day_Row carries them).
bool Is_Possible_Row(const Target_Log_Pattern& pattern, const Work_Record& record, std::string_view line,
                     std::string_view short_date_pattern)
{
    if (!Is_Duration(record[Duration_Field])) return false;
    if (record[Date_Field].empty())
    {
        if (!record[Day_Name_Field].empty() || !record[Time_Span_Field].empty()) return false;
    }
    else if (!Parse_Date(record[Date_Field], short_date_pattern))
    {
        return false;
    }
    const std::optional<std::string> again =
        Format(pattern.Text, std::vector<std::string>(record.Fields.begin(), record.Fields.end()));
    return again && *again == line;
}

bool Same_Counted_Fields(const Work_Record& first, const Work_Record& second)
{
    return first[Date_Field] == second[Date_Field] && first[Work_Type_Field] == second[Work_Type_Field] &&
           first[Duration_Field] == second[Duration_Field];
}

// Every way of splitting the line at the pattern's literal texts, as far as it takes to
// see whether the possible readings agree. A literal text may also stand inside a field
// (a remark with the separator in it), so more than one split can fit.
class Line_Splitter
{
public:
    Line_Splitter(const Target_Log_Pattern& pattern, std::string_view line, std::string_view short_date_pattern)
        : Pattern(pattern), Line(line), Short_Date_Pattern(short_date_pattern)
    {
    }

    std::optional<Work_Record> Only_Reading()
    {
        Field_Values fields;
        Split(0, 0, fields);
        if (Too_Many || Ambiguous) return std::nullopt;
        return First;
    }

private:
    // Beyond this many complete splits a line is called unfitting rather than searched on.
    static constexpr int Maximum_Splits = 2048;
    // Splits that fail late cost as much as finished ones: a line of many separators has
    // more ways to be cut than any day could wait for, so every step counts.
    static constexpr int Maximum_Steps = 65536;

    void Split(std::size_t piece_index, std::size_t position, Field_Values& fields)
    {
        if (Too_Many || Ambiguous) return;
        if (++Steps > Maximum_Steps)
        {
            Too_Many = true;
            return;
        }
        const auto& pieces = Pattern.Pieces;
        if (piece_index == pieces.size())
        {
            if (position == Line.size()) Consider(To_Record(fields));
            return;
        }
        const Target_Log_Pattern_Piece& piece = pieces[piece_index];
        if (!piece.Is_Field)
        {
            if (Line.substr(position, piece.Literal.size()) == piece.Literal)
                Split(piece_index + 1, position + piece.Literal.size(), fields);
            return;
        }
        const auto try_end = [&](std::size_t end) {
            std::optional<std::string>& slot = fields[piece.Field_Index];
            const std::optional<std::string> before = slot;
            const std::string value(Without_Padding(piece, Line.substr(position, end - position)));
            if (slot && *slot != value) return;  // a field named twice reads the same both times
            slot = value;
            Split(piece_index + 1, end, fields);
            slot = before;
        };
        if (piece_index + 1 == pieces.size())
        {
            try_end(Line.size());
            return;
        }
        const std::string& literal = pieces[piece_index + 1].Literal;
        if (piece_index + 2 == pieces.size())
        {
            if (Line.size() >= position + literal.size() && Line.substr(Line.size() - literal.size()) == literal)
                try_end(Line.size() - literal.size());
            return;
        }
        for (std::size_t end = Line.find(literal, position); end != std::string_view::npos && !Too_Many && !Ambiguous;
             end = Line.find(literal, end + 1))
            try_end(end);
    }

    void Consider(const Work_Record& record)
    {
        if (++Splits > Maximum_Splits)
        {
            Too_Many = true;
            return;
        }
        if (!Is_Possible_Row(Pattern, record, Line, Short_Date_Pattern)) return;
        if (!First) First = record;
        else if (!Same_Counted_Fields(*First, record)) Ambiguous = true;
    }

    const Target_Log_Pattern& Pattern;
    std::string_view Line;
    std::string_view Short_Date_Pattern;
    std::optional<Work_Record> First;
    bool Ambiguous = false;
    bool Too_Many = false;
    int Steps = 0;
    int Splits = 0;
};

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
        return {std::nullopt,
                "the line pattern " + std::string(format_text) + " is not valid, only %0:s to %5:s may be used"};
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

std::optional<Work_Record> Parse_Target_Log_Line(const Target_Log_Pattern& pattern, std::string_view line,
                                                 std::string_view short_date_pattern)
{
    return Line_Splitter(pattern, line, short_date_pattern).Only_Reading();
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
        std::optional<Work_Record> record = Parse_Target_Log_Line(pattern, line, format.Short_Date_Pattern);
        if (!record)
        {
            // The line may have been this day's row or the next day's Day_Row: the block
            // ends here, and rows after it belong to no day.
            unfitting(line_number);
            if (current) current->Has_Unfitting_Lines = true;
            close_block();
            continue;
        }
        const std::string& date_text = (*record)[Date_Field];
        if (!date_text.empty())
        {
            close_block();
            const std::optional<Date_Time> date = Parse_Date(date_text, format.Short_Date_Pattern);
            current = Block{Calendar_Date_Of(*date), {std::move(*record)}, false};
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

#include "history/Target_Log_Reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <deque>
#include <map>

#include "history/Calendar.h"
#include "platform/Date_Time_Patterns.h"
#include "platform/Format.h"
#include "platform/Posix_File.h"

namespace
{

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
        result.Padded = result.Padded || field.Width > 0 || field.Precision;
        result.Pieces.push_back(field);
    }
    // Literal texts that are all one and the same character, as a separator is.
    for (const Target_Log_Pattern_Piece& piece : result.Pieces)
    {
        if (piece.Is_Field) continue;
        if (piece.Literal.size() != 1 || (result.Separator_Count > 0 && piece.Literal[0] != result.Separator_Character))
        {
            result.Separator_Character = '\0';
            result.Separator_Count = 0;
            break;
        }
        result.Separator_Character = piece.Literal[0];
        ++result.Separator_Count;
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

// Views into the line being split.
using Field_Values = std::array<std::optional<std::string_view>, Work_Record_Field_Count>;

Work_Record To_Record(const Field_Values& fields, bool keep_remark)
{
    Work_Record record;
    for (std::size_t index = 0; index < Work_Record_Field_Count; ++index)
        if (fields[index] && (keep_remark || index != Remark_Field)) record[index] = *fields[index];
    return record;
}

bool Is_Duration(std::string_view text)
{
    if (text.size() > 5 && text.substr(0, 2) == "- ") text.remove_prefix(2);
    return text.size() == 5 && Text_To_Minute_Of_Day(text).Valid;
}

// A reading that the export could have written: the pattern gives the line again, the
// duration is a time (the Day_Row's may be empty past midnight, and the Unassigned_Row's
// then reads "- " when its wrapped value has no text), and a row without a date has no day
// name or span either (only the Day_Row carries them).
bool Is_Possible_Row(const Target_Log_Pattern& pattern, const Work_Record& record, std::string_view line,
                     std::string_view short_date_pattern)
{
    if (record[Date_Field].empty())
    {
        if (!Is_Duration(record[Duration_Field]) && record[Duration_Field] != "- ") return false;
        if (!record[Day_Name_Field].empty() || !record[Time_Span_Field].empty()) return false;
    }
    else if (!Day_Row_Worked_Minutes(record) || !Parse_Date(record[Date_Field], short_date_pattern))
    {
        return false;
    }
    // Without widths or cuts, the split's own pieces put together are the line again.
    if (!pattern.Padded) return true;
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
    // Without keep_remark the remark is left empty (when the pattern need not format the
    // line again to know it): counting a day never reads it.
    Line_Splitter(const Target_Log_Pattern& pattern, std::string_view line, std::string_view short_date_pattern,
                  bool keep_remark = true)
        : Pattern(pattern), Line(line), Short_Date_Pattern(short_date_pattern),
          Keep_Remark(keep_remark || pattern.Padded)
    {
        // Each literal text one separator character, and the line holding exactly as many:
        // every one of them is a separator, so each field ends at the next one.
        Only_Split =
            pattern.Separator_Character != '\0' &&
            std::size_t(std::count(line.begin(), line.end(), pattern.Separator_Character)) == pattern.Separator_Count;
    }

    std::optional<Work_Record> Only_Reading()
    {
        Field_Values fields;
        Split(0, 0, fields);
        if (Too_Many || Ambiguous) return std::nullopt;
        return std::move(First);
    }

    // Some way of cutting the line gave its date field a text with a digit: a Day_Row that
    // did not read, rather than a row of the day before.
    bool Looks_Dated() const { return Dated_Split; }

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
            if (position == Line.size()) Consider(To_Record(fields, Keep_Remark));
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
            std::optional<std::string_view>& slot = fields[piece.Field_Index];
            const std::optional<std::string_view> before = slot;
            const std::string_view value = Without_Padding(piece, Line.substr(position, end - position));
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
        {
            try_end(end);
            if (Only_Split) return;
        }
    }

    void Consider(Work_Record record)
    {
        if (++Splits > Maximum_Splits)
        {
            Too_Many = true;
            return;
        }
        if (record[Date_Field].find_first_of("0123456789") != std::string::npos) Dated_Split = true;
        if (!Is_Possible_Row(Pattern, record, Line, Short_Date_Pattern)) return;
        if (!First) First = std::move(record);
        else if (!Same_Counted_Fields(*First, record)) Ambiguous = true;
    }

    const Target_Log_Pattern& Pattern;
    std::string_view Line;
    std::string_view Short_Date_Pattern;
    bool Keep_Remark = true;
    std::optional<Work_Record> First;
    bool Only_Split = false;
    bool Ambiguous = false;
    bool Too_Many = false;
    bool Dated_Split = false;
    int Steps = 0;
    int Splits = 0;
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
    for (std::uint64_t number : First_Left_Out_Line_Numbers)
        numbers += (numbers.empty() ? "" : ", ") + std::to_string(number);
    sentence(Left_Out_Lines, "line(s) of the target log were left out of the count (line " + numbers +
                                 (Left_Out_Lines > First_Left_Out_Line_Numbers.size() ? ", ...)." : ")."));
    sentence(Uncountable_Blocks, "day(s) hold a duration that is not a time and were not counted.");
    sentence(Incomplete_Blocks, "day(s) have no whole block and were counted as far as they were written.");
    sentence(Summed_Dates, "date(s) have blocks of more than one export, which were added up.");
    return text;
}

namespace
{

constexpr std::size_t Maximum_Line_Numbers = 10;

// One block as read: none in place of a line that did not read.
struct Block
{
    Calendar_Date Date;
    std::uint64_t Day_Row_Hash = 0;
    std::size_t Pattern_Index = 0;
    std::uint64_t First_Line = 0;
    std::vector<std::optional<Work_Record>> Lines;
    bool Has_Left_Out_Lines = false;
};

// The blocks of one date that begin with the same Day_Row: one export, written again. The
// Day_Row is known by a 64-bit hash of its line, so that a long log's dates cost no copy of it.
struct Export_Group
{
    std::uint64_t Day_Row_Hash = 0;
    std::uint32_t Pattern_Index = 0;
    std::uint32_t Blocks = 0;
    bool Counted = false;   // Day holds the chosen block: the last whole one, else the last one
    bool Whole = false;     // the chosen block is whole
    bool Last_Cut = false;  // the last block is short of lines, with none left out
    History_Day Day;
    std::vector<History_Record> Records;  // the chosen block's, when its date is listed
};

// A date's first export; the exports of other computers to the same date lie aside.
struct Date_Entry
{
    long long Day = 0;
    Export_Group First;
    std::int32_t Others = -1;  // index into Other_Exports
};

std::uint64_t Line_Hash(std::string_view line)
{
    std::uint64_t hash = 14695981039346656037ull;  // FNV-1a
    for (const char character : line) hash = (hash ^ static_cast<unsigned char>(character)) * 1099511628211ull;
    return hash;
}

void Add_Up(History_Day& sum, const History_Day& day)
{
    sum.Worked_Minutes += day.Worked_Minutes;
    for (const Work_Type_Minutes& entry : day.By_Work_Type)
    {
        const auto same = std::find_if(
            sum.By_Work_Type.begin(), sum.By_Work_Type.end(),
            [&](const Work_Type_Minutes& kept) { return Same_Work_Type(kept.Work_Type, entry.Work_Type); });
        if (same != sum.By_Work_Type.end()) same->Minutes += entry.Minutes;
        else sum.By_Work_Type.push_back(entry);
    }
}

}  // namespace

struct Target_Log_Reader::State
{
    Target_Log_Format Format;
    std::vector<Target_Log_Pattern> Patterns;  // the current one first
    Target_Log_Reading Reading;
    // The dates in order, as an export appends them; a date that comes after a later one
    // (a log put together by hand) waits in Late, to be merged at the end.
    std::deque<Date_Entry> Dates;
    std::map<long long, Date_Entry> Late;
    std::vector<std::vector<Export_Group>> Other_Exports;
    std::optional<Block> Current;
    bool After_Separator = true;                                    // a Day_Row belongs here
    std::string Pending;                                            // a line not ended yet
    bool Skip_Line_Feed = false;                                    // the last piece ended in CR
    std::optional<std::pair<Calendar_Date, Calendar_Date>> Listed;  // the dates whose records are kept

    void Left_Out(std::uint64_t line_number)
    {
        ++Reading.Left_Out_Lines;
        if (Reading.First_Left_Out_Line_Numbers.size() < Maximum_Line_Numbers)
            Reading.First_Left_Out_Line_Numbers.push_back(line_number);
    }

    void Unfitting(std::uint64_t line_number)
    {
        ++Reading.Unfitting_Lines;
        if (Reading.First_Unfitting_Line_Numbers.size() < Maximum_Line_Numbers)
            Reading.First_Unfitting_Line_Numbers.push_back(line_number);
        Left_Out(line_number);
    }

    bool Is_Listed(const Calendar_Date& date) const
    {
        return Listed && !(date < Listed->first) && !(Listed->second < date);
    }

    Date_Entry& Entry_Of(long long day)
    {
        if (Dates.empty() || Dates.back().Day < day) return Dates.emplace_back(Date_Entry{day, {}, -1});
        const auto found =
            std::lower_bound(Dates.begin(), Dates.end(), day,
                             [](const Date_Entry& entry, long long wanted) { return entry.Day < wanted; });
        if (found != Dates.end() && found->Day == day) return *found;
        return Late.try_emplace(day, Date_Entry{day, {}, -1}).first->second;
    }

    Export_Group& Group_Of(Date_Entry& entry, std::uint64_t day_row_hash, std::size_t pattern_index)
    {
        const auto fresh = [&] {
            Export_Group group;
            group.Day_Row_Hash = day_row_hash;
            group.Pattern_Index = static_cast<std::uint32_t>(pattern_index);
            return group;
        };
        if (entry.First.Blocks == 0)
        {
            entry.First = fresh();
            return entry.First;
        }
        if (entry.First.Day_Row_Hash == day_row_hash) return entry.First;
        if (entry.Others < 0)
        {
            entry.Others = static_cast<std::int32_t>(Other_Exports.size());
            Other_Exports.emplace_back();
        }
        std::vector<Export_Group>& others = Other_Exports[static_cast<std::size_t>(entry.Others)];
        for (Export_Group& group : others)
            if (group.Day_Row_Hash == day_row_hash) return group;
        return others.emplace_back(fresh());
    }

    void Close_Block()
    {
        if (!Current) return;
        Block& block = *Current;
        Export_Group& group = Group_Of(Entry_Of(Days_Since_Epoch(block.Date)), block.Day_Row_Hash, block.Pattern_Index);
        ++group.Blocks;
        std::vector<History_Record> records;
        Counted_Day counted = Count_Day_Lines(block.Date, block.Lines, Is_Listed(block.Date) ? &records : nullptr);
        bool whole = false;
        if (!block.Has_Left_Out_Lines)
        {
            std::vector<Work_Record> rows;
            rows.reserve(block.Lines.size());
            for (std::optional<Work_Record>& line : block.Lines) rows.push_back(std::move(*line));
            whole = Is_Whole_Day_Block(rows);
        }
        if (!counted.Day) Left_Out(block.First_Line);
        group.Last_Cut = !whole && !block.Has_Left_Out_Lines;
        if (whole || !group.Whole)
        {
            group.Counted = counted.Day.has_value();
            group.Day = counted.Day ? std::move(*counted.Day) : History_Day{};
            group.Records = std::move(records);
        }
        group.Whole = group.Whole || whole;
        Current.reset();
    }

    // The date's exports added up into the reading (a date none of which counts has no day).
    void Finish_Date(Date_Entry& entry)
    {
        std::optional<History_Day> sum;
        std::size_t counted_groups = 0;
        std::size_t pattern_index = 0;
        const auto take = [&](Export_Group& group) {
            Reading.Replaced_Blocks += group.Blocks - 1;
            if (!group.Counted)
            {
                ++Reading.Uncountable_Blocks;
                return;
            }
            if (!group.Whole && group.Last_Cut) ++Reading.Incomplete_Blocks;
            ++counted_groups;
            if (!sum)
            {
                sum = std::move(group.Day);
                pattern_index = group.Pattern_Index;
            }
            else Add_Up(*sum, group.Day);
            Reading.Records.insert(Reading.Records.end(), std::make_move_iterator(group.Records.begin()),
                                   std::make_move_iterator(group.Records.end()));
        };
        take(entry.First);
        if (entry.Others >= 0)
        {
            std::vector<Export_Group>& others = Other_Exports[static_cast<std::size_t>(entry.Others)];
            for (Export_Group& group : others) take(group);
            std::vector<Export_Group>().swap(others);
        }
        if (counted_groups > 1) ++Reading.Summed_Dates;
        if (!sum) return;
        Reading.Days.push_back(std::move(*sum));
        Reading.Day_Pattern_Indexes.push_back(static_cast<std::uint16_t>(pattern_index));
    }

    std::optional<Work_Record> Parse(std::string_view line, bool& looks_dated, std::size_t& pattern_index) const
    {
        for (pattern_index = 0; pattern_index < Patterns.size(); ++pattern_index)
        {
            Line_Splitter splitter(Patterns[pattern_index], line, Format.Short_Date_Pattern, Listed.has_value());
            std::optional<Work_Record> record = splitter.Only_Reading();
            if (record) return record;
            looks_dated = looks_dated || splitter.Looks_Dated();
        }
        return std::nullopt;
    }

    void Line(std::string_view line)
    {
        const std::uint64_t line_number = ++Reading.Lines;
        if (line.empty() || line == Format.Separator)
        {
            After_Separator = true;
            return;
        }
        bool looks_dated = false;
        std::size_t pattern_index = 0;
        std::optional<Work_Record> record = Parse(line, looks_dated, pattern_index);
        const bool day_row_expected = After_Separator;
        After_Separator = false;
        if (!record)
        {
            Unfitting(line_number);
            // A Day_Row that does not read begins a day that cannot be named: its rows
            // count for no day. Any other line spoils only itself.
            if (day_row_expected || looks_dated) Close_Block();
            else if (Current)
            {
                Current->Lines.emplace_back();
                Current->Has_Left_Out_Lines = true;
            }
            return;
        }
        const std::string& date_text = (*record)[Date_Field];
        if (!date_text.empty())
        {
            Close_Block();
            const std::optional<Date_Time> date = Parse_Date(date_text, Format.Short_Date_Pattern);
            Current = Block{Calendar_Date_Of(*date), Line_Hash(line), pattern_index, line_number, {}, false};
            Current->Lines.emplace_back(std::move(*record));
            return;
        }
        if (!Current)
        {
            ++Reading.Orphan_Lines;
            Left_Out(line_number);
            return;
        }
        // A User_Row below zero is no time that was worked.
        if (Current->Lines.size() >= 2 && (*record)[Duration_Field].rfind('-', 0) == 0)
        {
            Unfitting(line_number);
            Current->Lines.emplace_back();
            Current->Has_Left_Out_Lines = true;
            return;
        }
        Current->Lines.emplace_back(std::move(*record));
    }
};

Target_Log_Reader::Target_Log_Reader(const Target_Log_Format& format) : Reading_State(std::make_unique<State>())
{
    State& state = *Reading_State;
    state.Format = format;
    state.Listed = format.Records_Between;
    Compiled_Target_Log_Pattern compiled = Compile_Target_Log_Pattern(format.Line_Pattern);
    if (!compiled.Pattern)
    {
        state.Reading.Pattern_Problem = compiled.Problem;
        return;
    }
    state.Patterns.push_back(std::move(*compiled.Pattern));
    for (const std::string& earlier : format.Earlier_Line_Patterns)
    {
        if (earlier == format.Line_Pattern) continue;
        Compiled_Target_Log_Pattern other = Compile_Target_Log_Pattern(earlier);
        if (other.Pattern) state.Patterns.push_back(std::move(*other.Pattern));
    }
}

Target_Log_Reader::~Target_Log_Reader() = default;

void Target_Log_Reader::Number_Lines_After(std::uint64_t lines_before) { Reading_State->Reading.Lines = lines_before; }

void Target_Log_Reader::Feed(std::string_view bytes)
{
    State& state = *Reading_State;
    if (!state.Reading.Pattern_Problem.empty()) return;
    if (state.Skip_Line_Feed && !bytes.empty())
    {
        state.Skip_Line_Feed = false;
        if (bytes.front() == '\n') bytes.remove_prefix(1);
    }
    while (!bytes.empty())
    {
        // find_first_of would search the two characters anew at every byte.
        const std::size_t end = static_cast<std::size_t>(
            std::find_if(bytes.begin(), bytes.end(), [](char byte) { return byte == '\r' || byte == '\n'; }) -
            bytes.begin());
        if (end == bytes.size())
        {
            state.Pending.append(bytes);
            return;
        }
        if (state.Pending.empty()) state.Line(bytes.substr(0, end));
        else
        {
            state.Pending.append(bytes.substr(0, end));
            state.Line(state.Pending);
            state.Pending.clear();
        }
        std::size_t next = end + 1;
        if (bytes[end] == '\r')
        {
            if (next < bytes.size()) next += bytes[next] == '\n' ? 1 : 0;
            else state.Skip_Line_Feed = true;
        }
        bytes.remove_prefix(next);
    }
}

Target_Log_Reading Target_Log_Reader::Finish()
{
    State& state = *Reading_State;
    if (!state.Reading.Pattern_Problem.empty()) return std::move(state.Reading);
    if (!state.Pending.empty())
    {
        state.Line(state.Pending);
        state.Pending.clear();
    }
    state.Close_Block();
    Target_Log_Reading& reading = state.Reading;
    reading.Days.reserve(state.Dates.size() + state.Late.size());
    auto late = state.Late.begin();
    for (Date_Entry& entry : state.Dates)
    {
        for (; late != state.Late.end() && late->first < entry.Day; ++late) state.Finish_Date(late->second);
        state.Finish_Date(entry);
    }
    for (; late != state.Late.end(); ++late) state.Finish_Date(late->second);
    std::deque<Date_Entry>().swap(state.Dates);
    state.Late.clear();
    for (const Target_Log_Pattern& pattern : state.Patterns) reading.Line_Patterns.push_back(pattern.Text);
    return std::move(reading);
}

Target_Log_Reading Read_Target_Log_Text(std::string_view text, const Target_Log_Format& format,
                                        const Reading_Progress& progress)
{
    Target_Log_Reader reader(format);
    constexpr std::size_t Progress_Step = 256 * 1024;
    for (std::size_t position = 0; position < text.size(); position += Progress_Step)
    {
        reader.Feed(text.substr(position, Progress_Step));
        const std::size_t done = std::min(text.size(), position + Progress_Step);
        if (progress && done < text.size() && !progress(done, text.size())) return Target_Log_Reading{};
    }
    Target_Log_Reading reading = reader.Finish();
    if (progress && reading.Pattern_Problem.empty()) progress(text.size(), text.size());
    return reading;
}

bool Read_Target_Log_File(const std::string& path, const Target_Log_Format& format, const Reading_Progress& progress,
                          Target_Log_Reading& reading, std::string& problem, bool& missing, bool& stopped,
                          std::uint64_t offset, std::uint64_t lines_before)
{
    missing = false;
    stopped = false;
    int error_number = 0;
    const int descriptor = Open_Regular_File(path, O_RDONLY, error_number);
    if (descriptor < 0)
    {
        missing = error_number == ENOENT;
        problem = "target log " + path +
                  (missing ? " not found" : std::string(" cannot be read: ") + std::strerror(error_number));
        return false;
    }
    struct stat status
    {
    };
    const std::uint64_t total = ::fstat(descriptor, &status) == 0 ? static_cast<std::uint64_t>(status.st_size) : 0;
    Target_Log_Reader reader(format);
    reader.Number_Lines_After(lines_before);
    if (offset > 0 && ::lseek(descriptor, static_cast<off_t>(offset), SEEK_SET) < 0)
    {
        problem = "target log " + path + " cannot be read: " + std::strerror(errno);
        ::close(descriptor);
        return false;
    }
    std::vector<char> buffer(1024 * 1024);
    std::uint64_t done = offset;
    bool read_whole = true;
    for (;;)
    {
        const ssize_t count = ::read(descriptor, buffer.data(), buffer.size());
        if (count < 0 && errno == EINTR) continue;
        if (count < 0)
        {
            problem = "target log " + path + " cannot be read: " + std::strerror(errno);
            read_whole = false;
            break;
        }
        if (count == 0) break;
        reader.Feed(std::string_view(buffer.data(), static_cast<std::size_t>(count)));
        done += static_cast<std::uint64_t>(count);
        if (progress && !progress(done, std::max(done, total)))
        {
            stopped = true;
            break;
        }
    }
    ::close(descriptor);
    if (!read_whole) return false;
    reading = stopped ? Target_Log_Reading{} : reader.Finish();
    reading.Bytes = done;
    return true;
}

#pragma once
// Reads the target log back into days, with the line pattern it was written with: the
// %n:s placeholders and the literal text between them. Lines that do not fit the pattern
// are left out alone and named by number, never guessed at. A day's block begins at its
// Day_Row, the line whose date field holds a date; the separator line before it is skipped.
// Blocks of one date that begin with the same Day_Row are one export written again (an
// interrupted export and its repetition): the last whole one counts. Blocks of one date with
// different Day_Rows (two computers writing one target log) are added up.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "history/History_Day.h"

// A line pattern compiled for reading back.
struct Target_Log_Pattern_Piece
{
    bool Is_Field = false;
    std::string Literal;          // when not a field
    std::size_t Field_Index = 0;  // 0..5 when a field
    bool Left_Aligned = false;
    std::size_t Width = 0;                 // blanks pad the value up to this
    std::optional<std::size_t> Precision;  // the value was cut to this
};

struct Target_Log_Pattern
{
    std::string Text;  // as the export formats it
    std::vector<Target_Log_Pattern_Piece> Pieces;
    bool Padded = false;  // a field has a width or is cut: a reading must be formatted again to be known
    // When every literal text is this one character: how many there are (none otherwise).
    char Separator_Character = '\0';
    std::size_t Separator_Count = 0;
};

// The pattern as the reader can use it, or why it cannot be read back (a pattern the
// export rejects, one without the date, work type or duration, or two fields with no
// text between them).
struct Compiled_Target_Log_Pattern
{
    std::optional<Target_Log_Pattern> Pattern;
    std::string Problem;  // English, for the protocol and the terminal
};
Compiled_Target_Log_Pattern Compile_Target_Log_Pattern(std::string_view format_text);

// The six fields of one line, or none when no reading of it fits: the pattern gives the
// same line again, the duration is a time, the date (when there is one) a date, and a row
// without a date has no day name or span. Where a literal text also stands inside a field,
// every split is tried; readings that differ in the date, work type or duration make the
// line unfitting, never a guess.
std::optional<Work_Record> Parse_Target_Log_Line(const Target_Log_Pattern& pattern, std::string_view line,
                                                 std::string_view short_date_pattern);

struct Target_Log_Reading
{
    std::vector<History_Day> Days;                            // one per date, oldest first
    std::vector<std::string> Line_Patterns;                   // the patterns tried, the current one first
    std::vector<std::uint16_t> Day_Pattern_Indexes;           // with each day, its pattern in Line_Patterns
    std::vector<History_Record> Records;                      // of Target_Log_Format::Records_Between, date order
    std::string Pattern_Problem;                              // not empty: nothing was read
    std::uint64_t Lines = 0;                                  // lines of the file, separator lines included
    std::uint64_t Bytes = 0;                                  // where the reading of the file ended
    std::uint64_t Unfitting_Lines = 0;                        // neither the separator nor fitting the pattern
    std::uint64_t Orphan_Lines = 0;                           // fitting rows before the first Day_Row
    std::uint64_t Uncountable_Blocks = 0;                     // a block whose durations are not times
    std::uint64_t Replaced_Blocks = 0;                        // earlier blocks of a date that a later one replaced
    std::uint64_t Incomplete_Blocks = 0;                      // counted although no whole block of its date exists
    std::vector<std::uint64_t> First_Unfitting_Line_Numbers;  // 1-based, at most ten
    std::uint64_t Summed_Dates = 0;                           // dates whose different blocks were added up
    // Every line left out of the count (unfitting, orphan, or of a day that cannot be
    // counted), and the first of them by number (1-based, at most ten).
    std::uint64_t Left_Out_Lines = 0;
    std::vector<std::uint64_t> First_Left_Out_Line_Numbers;

    bool Clean() const
    {
        return Pattern_Problem.empty() && Unfitting_Lines == 0 && Orphan_Lines == 0 && Uncountable_Blocks == 0 &&
               Incomplete_Blocks == 0;
    }
    // One English sentence per kind of problem, the left-out lines named by number, and
    // the dates whose blocks were added up; empty when Clean() and nothing was added up.
    std::string Problems_Text() const;
};

struct Target_Log_Format
{
    std::string Line_Pattern;        // Target_Log_File_Format
    std::string Separator;           // Target_Log_File_Separator
    std::string Short_Date_Pattern;  // how the Day_Row's date was written
    // Patterns the log was written with before (tried when Line_Pattern does not read a line).
    std::vector<std::string> Earlier_Line_Patterns{};
    // The dates (both included) whose counted records are kept besides the days, by the
    // same rules, for a listing; none by default.
    std::optional<std::pair<Calendar_Date, Calendar_Date>> Records_Between{};
};

// Called now and then with the bytes read so far and the whole size; false stops the
// reading (the result then holds no days).
using Reading_Progress = std::function<bool(std::uint64_t done, std::uint64_t total)>;

// Reads the text of a target log piece by piece (CP1250, CR LF; LF or CR alone also end a
// line), so that only the days, never the whole text, are held.
class Target_Log_Reader
{
public:
    explicit Target_Log_Reader(const Target_Log_Format& format);
    ~Target_Log_Reader();
    Target_Log_Reader(const Target_Log_Reader&) = delete;
    Target_Log_Reader& operator=(const Target_Log_Reader&) = delete;

    // Lines of the log before the first byte fed, when only its new part is read.
    void Number_Lines_After(std::uint64_t lines_before);
    // The next bytes; a line may be cut anywhere between two calls.
    void Feed(std::string_view bytes);
    // The days of everything fed (the last line need not end with a line break).
    Target_Log_Reading Finish();

private:
    struct State;
    std::unique_ptr<State> Reading_State;
};

// Reads the whole text of a target log.
Target_Log_Reading Read_Target_Log_Text(std::string_view text, const Target_Log_Format& format,
                                        const Reading_Progress& progress = {});

// Reads the target log file in pieces from the byte at offset (whose line is lines_before
// + 1); false with the reason (English, naming the file) when it cannot be opened or read;
// missing is set when there is none. A stopped reading gives true and no days (stopped set).
bool Read_Target_Log_File(const std::string& path, const Target_Log_Format& format, const Reading_Progress& progress,
                          Target_Log_Reading& reading, std::string& problem, bool& missing, bool& stopped,
                          std::uint64_t offset = 0, std::uint64_t lines_before = 0);

#include "history/Target_Log_Reader.h"

#include <gtest/gtest.h>

#include "History_Test_Support.h"

namespace
{

const Target_Log_Format Default_Format{"%0:s;%1:s;%2:s;%3:s;%4:s;%5:s", "", "dd.MM.yyyy"};

std::string Lines(std::initializer_list<std::string> lines)
{
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return text;
}

std::vector<Work_Type_Minutes> Types(std::initializer_list<Work_Type_Minutes> entries) { return entries; }

}  // namespace

// A booked day: the Unassigned_Row's positive time counts under its own type next to the
// user rows; the worked time is the Day_Row's, whatever the rows add up to.
TEST(Target_Log_Reader, BookedDayCountsUserRowsAndUnbookedTimeUnderTheirTypes)
{
    const Target_Log_Reading reading =
        Read_Target_Log_Text(Lines({"", "Monday;30.11.2026;08:00 - 16:30;Celkem;08:30;", ";;;Office;00:30;left over",
                                    ";;;Meeting;02:00;with; semicolons; in the remark", ";;;Coding;06:00;"}),
                             Default_Format);
    ASSERT_EQ(reading.Days.size(), 1u);
    EXPECT_TRUE(reading.Clean()) << reading.Problems_Text();
    EXPECT_EQ(reading.Days[0].Date, (Calendar_Date{2026, 11, 30}));
    EXPECT_EQ(reading.Days[0].Worked_Minutes, 8 * 60 + 30);
    EXPECT_EQ(reading.Days[0].By_Work_Type, Types({{"Office", 30}, {"Meeting", 120}, {"Coding", 360}}));
}

TEST(Target_Log_Reader, DayWithoutUserRowsCountsWholeUnderTheDayRowsType)
{
    const Target_Log_Reading reading =
        Read_Target_Log_Text(Lines({"", "Tuesday;01.12.2026;07:10 - 15:55;Support;08:45;on call"}), Default_Format);
    ASSERT_EQ(reading.Days.size(), 1u);
    EXPECT_EQ(reading.Days[0].Worked_Minutes, 525);
    EXPECT_EQ(reading.Days[0].By_Work_Type, Types({{"Support", 525}}));
}

// More booked than elapsed: the Unassigned_Row reads "- HH:MM" and counts nothing; the
// worked time stays the Day_Row's.
TEST(Target_Log_Reader, OverbookedDayKeepsItsWorkedTimeAndBookedTypes)
{
    const Target_Log_Reading reading =
        Read_Target_Log_Text(Lines({"", "Wednesday;02.12.2026;08:00 - 16:00;Celkem;08:00;", ";;;Office;- 01:00;",
                                    ";;;Coding;05:00;", ";;;Review;04:00;"}),
                             Default_Format);
    ASSERT_EQ(reading.Days.size(), 1u);
    EXPECT_TRUE(reading.Clean()) << reading.Problems_Text();
    EXPECT_EQ(reading.Days[0].Worked_Minutes, 480);
    EXPECT_EQ(reading.Days[0].By_Work_Type, Types({{"Coding", 300}, {"Review", 240}}));
}

// An export that failed part-way left a cut block; its repetition wrote the whole block
// again. Only the whole one counts, whichever order the blocks of other days have.
TEST(Target_Log_Reader, LastWholeBlockOfADateReplacesAnEarlierPartialOne)
{
    const std::string whole_block =
        Lines({"", "Thursday;03.12.2026;08:00 - 12:00;Celkem;04:00;", ";;;Office;01:00;", ";;;Coding;03:00;"});
    const std::string partial_block =
        Lines({"", "Thursday;03.12.2026;08:00 - 12:00;Celkem;04:00;", ";;;Office;01:00;"});
    const std::string other_day = Lines({"", "Friday;04.12.2026;08:00 - 09:00;DEFAULT;01:00;"});

    for (const std::string& text : {partial_block + whole_block + other_day, whole_block + partial_block + other_day})
    {
        const Target_Log_Reading reading = Read_Target_Log_Text(text, Default_Format);
        ASSERT_EQ(reading.Days.size(), 2u);
        EXPECT_EQ(reading.Days[0].By_Work_Type, Types({{"Office", 60}, {"Coding", 180}}));
        EXPECT_EQ(reading.Replaced_Blocks, 1u);
        EXPECT_EQ(reading.Incomplete_Blocks, 0u);
        EXPECT_EQ(reading.Days[1].Date, (Calendar_Date{2026, 12, 4}));
    }

    // Killed before the repetition: the cut block still counts, and is reported as such.
    const Target_Log_Reading cut = Read_Target_Log_Text(other_day + partial_block, Default_Format);
    ASSERT_EQ(cut.Days.size(), 2u);
    EXPECT_EQ(cut.Incomplete_Blocks, 1u);
    EXPECT_FALSE(cut.Clean());
    EXPECT_EQ(cut.Days[0].Worked_Minutes, 240);
    EXPECT_EQ(cut.Days[0].By_Work_Type, Types({{"Celkem", 240}}));
}

// The user's own pattern and separator: fields between other literal texts, a padded
// field, the day's date in another order.
TEST(Target_Log_Reader, UserPatternIsReadBackWithItsLiteralTextAndWidths)
{
    const Target_Log_Format format{"[%1:s] %3:-8s = %4:s (%5:s)", "=== day ===", "yyyy-MM-dd"};
    const Target_Log_Reading reading = Read_Target_Log_Text(
        Lines({"=== day ===", "[2026-12-05] Celkem   = 03:00 ()", "[] Office   = 00:15 (rest)",
               "[] Writing  = 02:45 (a)", "=== day ===", "[2026-12-06] DEFAULT  = 01:30 (weekend)"}),
        format);
    EXPECT_TRUE(reading.Clean()) << reading.Problems_Text();
    ASSERT_EQ(reading.Days.size(), 2u);
    EXPECT_EQ(reading.Days[0].By_Work_Type, Types({{"Office", 15}, {"Writing", 165}}));
    EXPECT_EQ(reading.Days[1].By_Work_Type, Types({{"DEFAULT", 90}}));
}

// Lines that do not fit, or fit in two ways that count differently, are counted with their
// line numbers and never guessed at; a separator inside a field is read where only one
// reading is possible; the rest of the file still counts.
TEST(Target_Log_Reader, LinesThatDoNotFitAreCountedNotGuessed)
{
    const Target_Log_Reading reading = Read_Target_Log_Text(
        Lines({"", "Monday;07.12.2026;08:00 - 10:00;Celkem;02:00;", ";;;Office;00:30;",
               ";;;Semi;colon;01:30;",  // only a work type "Semi;colon" leaves the other fields possible
               "a line someone typed", "", "Tuesday;08.12.2026;08:00 - 09:00;DEFAULT;01:00;",
               ";;;A;01:00;B;02:00;",  // type A for 01:00, or type "A;01:00;B" for 02:00?
               "Wednesday;31.02.2026;08:00 - 09:00;DEFAULT;01:00;", ";;;Lost;00:10;"}),
        Default_Format);
    EXPECT_EQ(reading.Lines, 10u);
    EXPECT_EQ(reading.Unfitting_Lines, 3u);
    EXPECT_EQ(reading.First_Unfitting_Line_Numbers, (std::vector<std::uint64_t>{5, 8, 9}));
    EXPECT_EQ(reading.Orphan_Lines, 1u);  // after the Day_Row whose date does not exist
    ASSERT_EQ(reading.Days.size(), 2u);
    EXPECT_EQ(reading.Days[0].By_Work_Type, Types({{"Office", 30}, {"Semi;colon", 90}}));
    // The row that did not read was a booked row: the Day_Row's type is no work type then.
    EXPECT_EQ(reading.Days[1].Worked_Minutes, 60);
    EXPECT_TRUE(reading.Days[1].By_Work_Type.empty());
    EXPECT_EQ(reading.Incomplete_Blocks, 0u);
    EXPECT_EQ(reading.Left_Out_Lines, 4u);
    EXPECT_NE(reading.Problems_Text().find("line 5, 8, 9, 10)"), std::string::npos) << reading.Problems_Text();
}

// A pattern that ends in text, and a line of hundreds of separators without it: each way
// of cutting the line fails only at its end, and there are more of them than lines in a
// lifetime. The line is called unfitting instead of being searched for hours.
TEST(Target_Log_Reader, ALineOfManySeparatorsIsRefusedNotSearchedForever)
{
    const Target_Log_Format ending_in_text{"%0:s;%1:s;%2:s;%3:s;%4:s;%5:s;", "", "dd.MM.yyyy"};
    const Target_Log_Reading reading = Read_Target_Log_Text(
        Lines({"", "Monday;07.12.2026;08:00 - 10:00;Celkem;02:00;;", ";;;Office;02:00;;", std::string(4000, ';') + "x",
               "", "Tuesday;08.12.2026;08:00 - 09:00;DEFAULT;01:00;;"}),
        ending_in_text);
    EXPECT_EQ(reading.Unfitting_Lines, 1u);
    ASSERT_EQ(reading.Days.size(), 2u);
    EXPECT_EQ(reading.Days[0].Worked_Minutes, 120);
    EXPECT_EQ(reading.Days[1].By_Work_Type, Types({{"DEFAULT", 60}}));
}

TEST(Target_Log_Reader, PatternsThatCannotBeReadBackReadNothing)
{
    const std::string text = Lines({"", "Monday;07.12.2026;08:00 - 10:00;Celkem;02:00;"});
    for (const char* pattern :
         {"%1:s;%3:s", "%1:s;%3:s%4:s", "%1:s;%3:s;%4:.3s", "%1:s;%3:s;%4:d", "%1:s;%7:s;%3:s;%4:s"})
    {
        const Target_Log_Reading reading = Read_Target_Log_Text(text, {pattern, "", "dd.MM.yyyy"});
        EXPECT_FALSE(reading.Pattern_Problem.empty()) << pattern;
        EXPECT_TRUE(reading.Days.empty()) << pattern;
    }
}

TEST(Target_Log_Reader, ParsedLineGivesTheSameLineWhenWrittenAgain)
{
    const Compiled_Target_Log_Pattern compiled = Compile_Target_Log_Pattern("%1:s|%3:5s|%4:s%%");
    ASSERT_TRUE(compiled.Pattern) << compiled.Problem;
    const std::optional<Work_Record> record =
        Parse_Target_Log_Line(*compiled.Pattern, "07.12.2026|   ab|01:00%", "dd.MM.yyyy");
    ASSERT_TRUE(record);
    EXPECT_EQ((*record)[Work_Type_Field], "ab");
    EXPECT_EQ((*record)[Duration_Field], "01:00");
    EXPECT_FALSE(Parse_Target_Log_Line(*compiled.Pattern, "07.12.2026|   ab|01:00", "dd.MM.yyyy"));
    EXPECT_FALSE(Parse_Target_Log_Line(*compiled.Pattern, "07.12.2026|   ab|1 h%", "dd.MM.yyyy"));
}

TEST(Target_Log_Reader, ProgressCanStopTheReading)
{
    std::string text;
    for (int day = 1; day <= 28; ++day)
        for (int repeat = 0; repeat < 400; ++repeat)
            text += Lines({"", "Monday;" + std::string(day < 10 ? "0" : "") + std::to_string(day) +
                                   ".02.2026;08:00 - 09:00;DEFAULT;01:00;"});
    int calls = 0;
    const Target_Log_Reading stopped =
        Read_Target_Log_Text(text, Default_Format, [&](std::uint64_t, std::uint64_t) { return ++calls < 2; });
    EXPECT_EQ(calls, 2);
    EXPECT_TRUE(stopped.Days.empty());
    std::uint64_t last_done = 0;
    const Target_Log_Reading whole =
        Read_Target_Log_Text(text, Default_Format, [&](std::uint64_t done, std::uint64_t total) {
            EXPECT_GE(done, last_done);
            EXPECT_EQ(total, text.size());
            last_done = done;
            return true;
        });
    EXPECT_EQ(last_done, text.size());
    EXPECT_EQ(whole.Days.size(), 28u);
    EXPECT_EQ(whole.Replaced_Blocks, 28u * 399u);
}

// A line a user spoilt by hand, or one an interrupted export cut, is left out alone: the
// rows around it count under their own types, never under the Day_Row's label, and each
// left-out line is named once.
TEST(Target_Log_Reader, ADamagedLineSpoilsOnlyItself)
{
    const Target_Log_Reading reading = Read_Target_Log_Text(
        Lines({"", "Pond\xEBl\xED;07.12.2026;08:00 - 16:00;Pracovn\xED doba;08:00;", ";;;Office;01:00;",
               ";;;Coding;25:00;", ";;;Coding;03:00;", "\x01\x02 junk \xFF", ";;;Review;01:00;", "",
               "\xDAter\xFD;08.12.2026;08:00 - 15:00;Pracovn\xED doba;07:00;", ";;;Office;00:00;", ";;;Meeting;07:00;",
               ";;;Porada;07:0"}),
        Default_Format);
    ASSERT_EQ(reading.Days.size(), 2u);
    EXPECT_EQ(reading.Days[0].Worked_Minutes, 480);
    EXPECT_EQ(reading.Days[0].By_Work_Type, Types({{"Office", 60}, {"Coding", 180}, {"Review", 60}}));
    EXPECT_EQ(reading.Days[1].By_Work_Type, Types({{"Meeting", 420}}));
    EXPECT_EQ(reading.First_Left_Out_Line_Numbers, (std::vector<std::uint64_t>{4, 6, 12}));
    const std::string text = reading.Problems_Text();
    EXPECT_NE(text.find("3 line(s) of the target log were left out of the count (line 4, 6, 12)."), std::string::npos)
        << text;
    EXPECT_EQ(text.find("line 4", text.find("line 4") + 1), std::string::npos) << text;
}

// The export of a day that ran past midnight writes the span with an empty duration (the
// elapsed time wrapped) and an Unassigned_Row without a time; the span gives the day's length.
TEST(Target_Log_Reader, ADayPastMidnightCountsItsSpan)
{
    const Target_Log_Reading reading =
        Read_Target_Log_Text(Lines({"", "Monday;07.12.2026;23:58 - 00:01;Celkem;;", "",
                                    "Tuesday;08.12.2026;22:00 - 01:30;Celkem;;", ";;;Office;- ;", ";;;Coding;02:00;"}),
                             Default_Format);
    EXPECT_TRUE(reading.Clean()) << reading.Problems_Text();
    ASSERT_EQ(reading.Days.size(), 2u);
    EXPECT_EQ(reading.Days[0].Worked_Minutes, 3);
    EXPECT_EQ(reading.Days[0].By_Work_Type, Types({{"Celkem", 3}}));
    EXPECT_EQ(reading.Days[1].Worked_Minutes, 210);
    EXPECT_EQ(reading.Days[1].By_Work_Type, Types({{"Office", 90}, {"Coding", 120}}));
    // An empty duration within one day is no day the export writes.
    const Target_Log_Reading not_across =
        Read_Target_Log_Text(Lines({"", "Monday;07.12.2026;08:00 - 09:00;X;;"}), Default_Format);
    EXPECT_TRUE(not_across.Days.empty());
    EXPECT_EQ(not_across.Unfitting_Lines, 1u);
}

// Two computers writing one target log give a date two different blocks: they add up, and
// the date is named as such; the same block written twice still counts once.
TEST(Target_Log_Reader, BlocksOfOneDateFromTwoExportsAddUp)
{
    const std::string first =
        Lines({"", "Monday;07.12.2026;08:00 - 12:00;Celkem;04:00;", ";;;Office;01:00;", ";;;Coding;03:00;"});
    const std::string second =
        Lines({"", "Monday;07.12.2026;13:00 - 15:00;Celkem;02:00;", ";;;office ;00:00;", ";;;Coding;02:00;"});
    const Target_Log_Reading reading = Read_Target_Log_Text(first + second + first, Default_Format);
    ASSERT_EQ(reading.Days.size(), 1u);
    EXPECT_EQ(reading.Days[0].Worked_Minutes, 360);
    EXPECT_EQ(reading.Days[0].By_Work_Type, Types({{"Office", 60}, {"Coding", 300}}));
    EXPECT_EQ(reading.Summed_Dates, 1u);
    EXPECT_EQ(reading.Replaced_Blocks, 1u);
    EXPECT_NE(reading.Problems_Text().find("1 date(s) have blocks of more than one export"), std::string::npos);
}

// Pieces cut anywhere, a CR LF split between two of them included, read as the whole text.
TEST(Target_Log_Reader, PiecesReadAsTheWholeText)
{
    const std::string text = Lines({"", "Monday;07.12.2026;08:00 - 12:00;Celkem;04:00;", ";;;Office;01:00;",
                                    ";;;Coding;03:00;", "", "Tuesday;08.12.2026;08:00 - 09:00;DEFAULT;01:00;"}) +
                             "\n\rjunk";
    const Target_Log_Reading whole = Read_Target_Log_Text(text, Default_Format);
    for (std::size_t size = 1; size < 9; ++size)
    {
        Target_Log_Reader reader(Default_Format);
        for (std::size_t position = 0; position < text.size(); position += size)
            reader.Feed(text.substr(position, size));
        const Target_Log_Reading pieces = reader.Finish();
        EXPECT_EQ(pieces.Days, whole.Days) << size;
        EXPECT_EQ(pieces.Lines, whole.Lines) << size;
        EXPECT_EQ(pieces.First_Left_Out_Line_Numbers, whole.First_Left_Out_Line_Numbers) << size;
    }
    EXPECT_EQ(whole.Lines, 9u);
    EXPECT_EQ(whole.Days.size(), 2u);
}

// The target-log reader of the history: the input is a line pattern, a zero byte, a
// separator, a zero byte, optionally a pattern the log was written with before and a zero
// byte, and the bytes of a target log. Whatever the input, the reader answers the same way
// twice and the same when fed in pieces, gives valid dates in order with no time below
// zero, names no more lines than it read, and every line it takes is the line the pattern
// writes from what it took.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "Fuzz_Support.h"
#include "history/Calendar.h"
#include "history/History_Access.h"
#include "history/Target_Log_Reader.h"
#include "platform/Format.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string_view input(reinterpret_cast<const char*>(data), size);
    const auto take = [&]() {
        const std::size_t zero = input.find('\0');
        const std::string_view piece = input.substr(0, zero);
        input.remove_prefix(zero == std::string_view::npos ? input.size() : zero + 1);
        return std::string(piece);
    };
    Target_Log_Format format;
    format.Line_Pattern = take().substr(0, 255);
    format.Separator = take();
    format.Short_Date_Pattern = "dd.MM.yyyy";
    if (input.find('\0') != std::string_view::npos) format.Earlier_Line_Patterns.push_back(take().substr(0, 255));
    const std::string_view text = input;

    const Target_Log_Reading reading = Read_Target_Log_Text(text, format);
    const Target_Log_Reading again = Read_Target_Log_Text(text, format);
    ZL_FUZZ_CHECK(reading.Days == again.Days && reading.Unfitting_Lines == again.Unfitting_Lines);
    ZL_FUZZ_CHECK(reading.Unfitting_Lines <= reading.Lines);
    ZL_FUZZ_CHECK(reading.First_Unfitting_Line_Numbers.size() <= 10);
    ZL_FUZZ_CHECK(reading.Left_Out_Lines <= reading.Lines && reading.First_Left_Out_Line_Numbers.size() <= 10);
    for (const std::uint64_t number : reading.First_Left_Out_Line_Numbers) ZL_FUZZ_CHECK(number <= reading.Lines);
    Target_Log_Reader pieces(format);
    for (std::size_t position = 0; position < text.size(); position += 7) pieces.Feed(text.substr(position, 7));
    const Target_Log_Reading in_pieces = pieces.Finish();
    ZL_FUZZ_CHECK(in_pieces.Days == reading.Days && in_pieces.Lines == reading.Lines &&
                  in_pieces.First_Left_Out_Line_Numbers == reading.First_Left_Out_Line_Numbers);
    for (std::size_t index = 0; index < reading.Days.size(); ++index)
    {
        const History_Day& day = reading.Days[index];
        ZL_FUZZ_CHECK(Is_Valid_Calendar_Date(day.Date));
        ZL_FUZZ_CHECK(index == 0 || reading.Days[index - 1].Date < day.Date);
        ZL_FUZZ_CHECK(day.Worked_Minutes >= 0);  // blocks of several exports add up beyond a day
        for (const Work_Type_Minutes& entry : day.By_Work_Type) ZL_FUZZ_CHECK(entry.Minutes > 0);
    }
    const History_Report report =
        Compute_History_Report(reading.Days, History_Period_Containing(History_Period_Kind::All, {}), 480);
    ZL_FUZZ_CHECK(report.Days.size() == reading.Days.size());

    const Compiled_Target_Log_Pattern compiled = Compile_Target_Log_Pattern(format.Line_Pattern);
    ZL_FUZZ_CHECK(compiled.Pattern.has_value() == reading.Pattern_Problem.empty());
    if (!compiled.Pattern) return 0;
    std::size_t position = 0;
    for (int line_count = 0; line_count < 16 && position < text.size(); ++line_count)
    {
        std::size_t end = text.find_first_of("\r\n", position);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view line = text.substr(position, end - position);
        position = end + 1;
        const std::optional<Work_Record> record =
            Parse_Target_Log_Line(*compiled.Pattern, line, format.Short_Date_Pattern);
        if (!record) continue;
        const std::optional<std::string> written =
            Format(format.Line_Pattern, std::vector<std::string>(record->Fields.begin(), record->Fields.end()));
        ZL_FUZZ_CHECK(written && *written == line);
    }
    return 0;
}

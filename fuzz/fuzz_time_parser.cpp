// Times of day as text: whatever the text, a parse that succeeds gives a time of the day,
// and the text written for that time parses back to the same time. Dates written with a
// pattern taken from the input read back to the same date.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "Fuzz_Support.h"
#include "platform/Date_Time_Patterns.h"
#include "worklog/Time_Values.h"

namespace
{

void Check_Time_Text(std::string_view text)
{
    const Hour_Minute hour_minute = Text_To_Hour_Minute(text);
    const Minute_Of_Day_Result minute = Text_To_Minute_Of_Day(text);
    ZL_FUZZ_CHECK(hour_minute.Valid == minute.Valid);
    ZL_FUZZ_CHECK(Text_To_Minute_Of_Day_Or_Zero(text) == (minute.Valid ? minute.Value : 0));
    if (!minute.Valid) return;

    ZL_FUZZ_CHECK(hour_minute.Hours <= 23 && hour_minute.Minutes <= 59);
    ZL_FUZZ_CHECK(minute.Value == hour_minute.Hours * 60 + hour_minute.Minutes);
    const Minute_Of_Day_Result encoded = Encode_Minute_Of_Day(hour_minute.Hours, hour_minute.Minutes);
    ZL_FUZZ_CHECK(encoded.Valid && encoded.Value == minute.Value);

    const std::string written = Minute_Of_Day_To_Text(minute.Value);
    ZL_FUZZ_CHECK(written.size() == 5 && written[2] == ':');
    const Minute_Of_Day_Result again = Text_To_Minute_Of_Day(written);
    ZL_FUZZ_CHECK(again.Valid && again.Value == minute.Value);
    ZL_FUZZ_CHECK(Minute_Of_Day_To_Text(again.Value) == written);
}

void Check_Minute_Value(std::uint16_t value)
{
    const std::string written = Minute_Of_Day_To_Text(value);
    const Hour_Minute decoded = Decode_Minute_Of_Day(value);
    ZL_FUZZ_CHECK(decoded.Valid == (value < 1440));
    ZL_FUZZ_CHECK(written.empty() == (value >= 1440));
    if (value < 1440)
    {
        const Minute_Of_Day_Result parsed = Text_To_Minute_Of_Day(written);
        ZL_FUZZ_CHECK(parsed.Valid && parsed.Value == value);
    }
    ZL_FUZZ_CHECK(Whole_Hours(value) * 60 + Remaining_Minutes(value) == value);
    const std::string phrase = Duration_Phrase(Whole_Hours(value), Remaining_Minutes(value), value & 1 ? 1 : 4);
    ZL_FUZZ_CHECK(phrase.empty() == (value == 0));
}

// The input split at its first zero byte: a pattern and a date text.
void Check_Date_Text(std::string_view input)
{
    const std::size_t zero = input.find('\0');
    if (zero == std::string_view::npos) return;
    const std::string_view pattern = input.substr(0, zero);
    const std::string_view text = input.substr(zero + 1);

    (void)Widen_Short_Date_Pattern(pattern);
    (void)Strip_Time_Zone_From_Pattern(pattern);

    const std::optional<Date_Time> date = Parse_Date(text, pattern);
    if (!date) return;
    ZL_FUZZ_CHECK(Is_Valid_Date(date->Year, date->Month, date->Day));
    ZL_FUZZ_CHECK(date->Hour == 0 && date->Minute == 0 && date->Second == 0 && date->Millisecond == 0);
    const std::string written = Format_Date(*date, pattern);
    (void)Format_Time(*date, pattern);
    const std::optional<Date_Time> again = Parse_Date(written, pattern);
    // A pattern may drop fields (no year, a two-digit year), so only a text that reads back
    // at all must read back to the date it was written from.
    if (again) ZL_FUZZ_CHECK(Format_Date(*again, pattern) == written);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    Check_Time_Text(input);
    for (std::size_t offset = 0; offset + 5 <= input.size() && offset < 64; offset += 5)
        Check_Time_Text(input.substr(offset, 5));
    if (size >= 2) Check_Minute_Value(static_cast<std::uint16_t>(data[0] | (data[1] << 8)));
    Check_Date_Text(input);
    return 0;
}

#include "worklog/Time_Values.h"

#include <optional>

namespace
{

constexpr Minute_Of_Day Last_Minute_Of_The_Clock = 1439;

// Decimal digits after optional leading blanks and an optional sign; nothing may follow.
std::optional<int> Piece_To_Integer(std::string_view piece)
{
    std::size_t position = 0;
    while (position < piece.size() && piece[position] == ' ') ++position;
    bool negative = false;
    if (position < piece.size() && (piece[position] == '-' || piece[position] == '+'))
    {
        negative = piece[position] == '-';
        ++position;
    }
    if (position == piece.size()) return std::nullopt;
    int value = 0;
    for (; position < piece.size(); ++position)
    {
        const char character = piece[position];
        if (character < '0' || character > '9') return std::nullopt;
        value = value * 10 + (character - '0');
    }
    return negative ? -value : value;
}

void Append_Two_Digits(std::string& text, int value)
{
    text += static_cast<char>('0' + value / 10);
    text += static_cast<char>('0' + value % 10);
}

}  // namespace

Minute_Of_Day_Result Encode_Minute_Of_Day(std::uint8_t hours, std::uint8_t minutes)
{
    if (hours > 23 || minutes > 59) return {};
    return {true, static_cast<Minute_Of_Day>(hours * 60 + minutes)};
}

Minute_Of_Day Time_To_Minute_Of_Day(const Date_Time& time)
{
    return static_cast<Minute_Of_Day>(time.Hour * 60 + time.Minute);
}

Date_Time Working_Date(const Date_Time& time, Minute_Of_Day day_boundary)
{
    Date_Time date = time;
    if (Time_To_Minute_Of_Day(time) >= day_boundary) return date;
    if (--date.Day >= 1) return date;
    if (--date.Month < 1)
    {
        date.Month = 12;
        --date.Year;
    }
    date.Day = 31;
    while (date.Day > 28 && !Is_Valid_Date(date.Year, date.Month, date.Day)) --date.Day;
    return date;
}

int Minutes_Until_Day_Boundary(Minute_Of_Day day_start_minute, Minute_Of_Day day_boundary)
{
    if (day_start_minute >= 1440 || day_boundary >= 1440) return int(Last_Minute_Of_The_Clock) - int(day_start_minute);
    return (int(day_boundary) + int(Last_Minute_Of_The_Clock) - int(day_start_minute)) % 1440;
}

Hour_Minute Decode_Minute_Of_Day(Minute_Of_Day value)
{
    if (value >= 1440) return {};
    return {true, static_cast<std::uint8_t>(value / 60), static_cast<std::uint8_t>(value % 60)};
}

std::uint16_t Whole_Hours(std::uint16_t minute_count) { return static_cast<std::uint16_t>(minute_count / 60); }

std::uint16_t Remaining_Minutes(std::uint16_t minute_count) { return static_cast<std::uint16_t>(minute_count % 60); }

Hour_Minute Text_To_Hour_Minute(std::string_view text)
{
    const std::optional<int> hours = Piece_To_Integer(text.substr(0, 2));
    if (!hours) return {};
    const std::optional<int> minutes = Piece_To_Integer(text.size() > 3 ? text.substr(3, 2) : std::string_view());
    if (!minutes) return {};
    if (*hours < 0 || *hours > 23 || *minutes < 0 || *minutes > 59) return {};
    return {true, static_cast<std::uint8_t>(*hours), static_cast<std::uint8_t>(*minutes)};
}

Minute_Of_Day_Result Text_To_Minute_Of_Day(std::string_view text)
{
    const Hour_Minute parsed = Text_To_Hour_Minute(text);
    if (!parsed.Valid) return {};
    return {true, static_cast<Minute_Of_Day>(parsed.Hours * 60 + parsed.Minutes)};
}

Minute_Of_Day Text_To_Minute_Of_Day_Or_Zero(std::string_view text) { return Text_To_Minute_Of_Day(text).Value; }

std::string Minute_Of_Day_To_Text(Minute_Of_Day value)
{
    const Hour_Minute decoded = Decode_Minute_Of_Day(value);
    if (!decoded.Valid) return {};
    std::string text;
    Append_Two_Digits(text, decoded.Hours);
    text += ':';
    Append_Two_Digits(text, decoded.Minutes);
    return text;
}

std::string Hour_Word(std::uint8_t grammatical_case, std::uint8_t count)
{
    if (count == 1) return grammatical_case == 1 ? "hodina" : "hodinu";
    if (count >= 2 && count <= 4) return "hodiny";
    return "hodin";
}

std::string Minute_Word(std::uint8_t grammatical_case, std::uint8_t count)
{
    if (count == 1) return grammatical_case == 1 ? "minuta" : "minutu";
    if (count >= 2 && count <= 4) return "minuty";
    return "minut";
}

std::string Duration_Phrase(std::uint16_t hours, std::uint16_t minutes, std::uint8_t grammatical_case)
{
    std::string phrase;
    if (hours > 0)
        phrase += std::to_string(hours) + " " + Hour_Word(grammatical_case, static_cast<std::uint8_t>(hours));
    if (hours > 0 && minutes > 0) phrase += " a ";
    if (minutes > 0)
        phrase += std::to_string(minutes) + " " + Minute_Word(grammatical_case, static_cast<std::uint8_t>(minutes));
    return phrase;
}

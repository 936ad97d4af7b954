#include "platform/Date_Time_Patterns.h"

#include <array>
#include <vector>

namespace
{

// A piece of a pattern: a field (letter repeated Count times) or literal text.
struct Pattern_Token
{
    char Letter = 0;  // 0 for literal text
    int Count = 0;
    std::string Literal;
};

bool Is_Field_Letter(char character)
{
    switch (character)
    {
    case 'd':
    case 'M':
    case 'y':
    case 'h':
    case 'H':
    case 'm':
    case 's':
    case 'z':
    case 'A':
    case 'a':
    case 'P':
    case 'p':
    case 't': return true;
    default: return false;
    }
}

int Maximum_Count(char letter)
{
    switch (letter)
    {
    case 'd':
    case 'M':
    case 'y': return 4;
    case 'z': return 3;
    case 't': return 4;
    default: return 2;
    }
}

void Append_Literal(std::vector<Pattern_Token>& tokens, std::string_view text)
{
    if (text.empty()) return;
    if (tokens.empty() || tokens.back().Letter != 0) tokens.push_back({});
    tokens.back().Literal += text;
}

std::vector<Pattern_Token> Tokenize(std::string_view pattern)
{
    std::vector<Pattern_Token> tokens;
    std::size_t position = 0;
    while (position < pattern.size())
    {
        const char character = pattern[position];
        if (character == '\'')
        {
            if (position + 1 < pattern.size() && pattern[position + 1] == '\'')
            {
                Append_Literal(tokens, "'");
                position += 2;
                continue;
            }
            // Quoted text runs to the next single quote ('' inside it is one quote) or to the end.
            ++position;
            std::string literal;
            while (position < pattern.size())
            {
                if (pattern[position] == '\'')
                {
                    if (position + 1 < pattern.size() && pattern[position + 1] == '\'')
                    {
                        literal += '\'';
                        position += 2;
                        continue;
                    }
                    ++position;
                    break;
                }
                literal += pattern[position++];
            }
            Append_Literal(tokens, literal);
            continue;
        }
        if (!Is_Field_Letter(character))
        {
            Append_Literal(tokens, std::string_view(&pattern[position], 1));
            ++position;
            continue;
        }
        // AP / ap (and A / a alone) are the day-half marker; a P or p alone is literal.
        if (character == 'A' || character == 'a')
        {
            const bool pair =
                position + 1 < pattern.size() && (pattern[position + 1] == 'P' || pattern[position + 1] == 'p');
            tokens.push_back({character, pair ? 2 : 1, {}});
            position += pair ? 2 : 1;
            continue;
        }
        if (character == 'P' || character == 'p')
        {
            Append_Literal(tokens, std::string_view(&pattern[position], 1));
            ++position;
            continue;
        }
        int count = 0;
        while (position < pattern.size() && pattern[position] == character && count < Maximum_Count(character))
        {
            ++count;
            ++position;
        }
        if (character == 'y' && count == 3)
        {
            // "yyy" is a two-digit year followed by a literal y.
            tokens.push_back({'y', 2, {}});
            Append_Literal(tokens, "y");
            continue;
        }
        if (character == 'y' && count == 1)
        {
            Append_Literal(tokens, "y");
            continue;
        }
        tokens.push_back({character, count, {}});
    }
    return tokens;
}

std::string Number(int value, int minimum_digits)
{
    std::string text = std::to_string(value < 0 ? -value : value);
    while (static_cast<int>(text.size()) < minimum_digits) text.insert(text.begin(), '0');
    return value < 0 ? "-" + text : text;
}

constexpr std::array<const char*, 8> Short_Day_Names = {"", "Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr std::array<const char*, 8> Long_Day_Names = {"",          "Sunday",   "Monday", "Tuesday",
                                                       "Wednesday", "Thursday", "Friday", "Saturday"};
constexpr std::array<const char*, 13> Short_Month_Names = {"",    "Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                           "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
constexpr std::array<const char*, 13> Long_Month_Names = {"",        "January",  "February", "March",  "April",
                                                          "May",     "June",     "July",     "August", "September",
                                                          "October", "November", "December"};

// Core has no locale of its own: the rare name fields of a pattern are shown in English.
std::string Format_Fields(const Date_Time& value, std::string_view pattern)
{
    const std::vector<Pattern_Token> tokens = Tokenize(pattern);
    bool twelve_hour = false;
    for (const Pattern_Token& token : tokens)
    {
        if (token.Letter == 'A' || token.Letter == 'a') twelve_hour = true;
    }
    const bool valid_date = Is_Valid_Date(value.Year, value.Month, value.Day);
    std::string out;
    for (const Pattern_Token& token : tokens)
    {
        switch (token.Letter)
        {
        case 0: out += token.Literal; break;
        case 'd':
            if (token.Count <= 2) out += Number(value.Day, token.Count);
            else if (valid_date) out += (token.Count == 3 ? Short_Day_Names : Long_Day_Names)[Day_Of_Week(value)];
            break;
        case 'M':
            if (token.Count <= 2) out += Number(value.Month, token.Count);
            else if (value.Month >= 1 && value.Month <= 12)
                out += (token.Count == 3 ? Short_Month_Names : Long_Month_Names)[value.Month];
            break;
        case 'y': out += token.Count == 4 ? Number(value.Year, 4) : Number(((value.Year % 100) + 100) % 100, 2); break;
        case 'h': {
            int hour = value.Hour;
            if (twelve_hour)
            {
                hour %= 12;
                if (hour == 0) hour = 12;
            }
            out += Number(hour, token.Count);
            break;
        }
        case 'H': out += Number(value.Hour, token.Count); break;
        case 'm': out += Number(value.Minute, token.Count); break;
        case 's': out += Number(value.Second, token.Count); break;
        case 'z': out += Number(value.Millisecond, token.Count == 3 ? 3 : 1); break;
        case 'A': out += value.Hour < 12 ? "AM" : "PM"; break;
        case 'a': out += value.Hour < 12 ? "am" : "pm"; break;
        case 't': break;  // no time zone is shown
        default: break;
        }
    }
    return out;
}

bool Read_Digits(std::string_view text, std::size_t& position, int minimum, int maximum, int& value)
{
    int count = 0;
    value = 0;
    while (position < text.size() && count < maximum && text[position] >= '0' && text[position] <= '9')
    {
        value = value * 10 + (text[position] - '0');
        ++position;
        ++count;
    }
    return count >= minimum;
}

bool Is_Blank(char character) { return character == ' ' || character == '\t'; }

// Copies a pattern, handing each unquoted field of the given letter to rewrite_field, which
// appends its replacement to out and gives the position after what it consumed.
template <typename Rewrite>
std::string Rewrite_Unquoted_Fields(std::string_view pattern, char letter, Rewrite rewrite_field)
{
    std::string out;
    bool quoted = false;
    std::size_t position = 0;
    while (position < pattern.size())
    {
        const char character = pattern[position];
        if (character == '\'')
        {
            quoted = !quoted;
        }
        else if (!quoted && character == letter)
        {
            position = rewrite_field(position, out);
            continue;
        }
        out += character;
        ++position;
    }
    return out;
}

// Keeps the first value read for a field; a pattern that names a field twice ("dd.MM.yyyy
// (dd)") must read the same value each time, or the text contradicts itself.
bool Agree(int& field, int value)
{
    if (field >= 0 && field != value) return false;
    field = value;
    return true;
}

}  // namespace

std::string Format_Date(const Date_Time& value, std::string_view pattern) { return Format_Fields(value, pattern); }

std::string Format_Time(const Date_Time& value, std::string_view pattern) { return Format_Fields(value, pattern); }

std::optional<Date_Time> Parse_Date(std::string_view text, std::string_view pattern)
{
    const std::vector<Pattern_Token> tokens = Tokenize(pattern);
    int full_year = -1;
    int short_year = -1;
    int month = -1;
    int day = -1;
    std::size_t position = 0;
    for (const Pattern_Token& token : tokens)
    {
        int value = 0;
        switch (token.Letter)
        {
        case 0:
            if (text.substr(position, token.Literal.size()) != token.Literal) return std::nullopt;
            position += token.Literal.size();
            break;
        case 'd':
            if (token.Count > 2 || !Read_Digits(text, position, token.Count, 2, value) || !Agree(day, value))
                return std::nullopt;
            break;
        case 'M':
            if (token.Count > 2 || !Read_Digits(text, position, token.Count, 2, value) || !Agree(month, value))
                return std::nullopt;
            break;
        case 'y':
            if (token.Count == 4 ? !Read_Digits(text, position, 4, 4, value) || !Agree(full_year, value)
                                 : !Read_Digits(text, position, 2, 2, value) || !Agree(short_year, value))
                return std::nullopt;
            break;
        default: return std::nullopt;  // a date is read from date fields only
        }
    }
    if (position != text.size() || (full_year < 0 && short_year < 0) || month < 0 || day < 0) return std::nullopt;
    // A two-digit year beside a full one is its last two digits; alone it is in this century.
    if (full_year >= 0 && short_year >= 0 && full_year % 100 != short_year) return std::nullopt;
    const int year = full_year >= 0 ? full_year : 2000 + short_year;
    if (!Is_Valid_Date(year, month, day)) return std::nullopt;
    Date_Time result;
    result.Year = year;
    result.Month = month;
    result.Day = day;
    return result;
}

std::string Widen_Short_Date_Pattern(std::string_view pattern)
{
    return Rewrite_Unquoted_Fields(pattern, 'y', [pattern](std::size_t position, std::string& out) {
        std::size_t run = 0;
        while (position + run < pattern.size() && pattern[position + run] == 'y') ++run;
        out += run >= 4 ? std::string(run, 'y') : std::string("yyyy");
        return position + run;
    });
}

std::string Strip_Time_Zone_From_Pattern(std::string_view pattern)
{
    return Rewrite_Unquoted_Fields(pattern, 't', [pattern](std::size_t position, std::string& out) {
        while (position < pattern.size() && pattern[position] == 't') ++position;
        // A zone in brackets, "(t)", goes with its brackets.
        if (!out.empty() && out.back() == '(' && position < pattern.size() && pattern[position] == ')')
        {
            out.pop_back();
            ++position;
        }
        // The blank that separated the field goes with it: before it if any, else after it.
        if (!out.empty() && Is_Blank(out.back()))
        {
            while (!out.empty() && Is_Blank(out.back())) out.pop_back();
        }
        else
        {
            while (position < pattern.size() && Is_Blank(pattern[position])) ++position;
        }
        return position;
    });
}

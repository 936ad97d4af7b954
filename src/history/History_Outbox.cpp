#include "history/History_Outbox.h"

#include <cstdint>
#include <mutex>
#include <string_view>

#include "history/Calendar.h"
#include "worklog/Time_Values.h"

namespace
{
std::mutex Listener_Guard;
std::function<void()>& Listener()
{
    static std::function<void()> listener;
    return listener;
}

struct Fnv_Hash
{
    std::uint64_t Value = 14695981039346656037ULL;
    void Add(std::string_view bytes)
    {
        for (const char byte : bytes)
        {
            Value ^= static_cast<unsigned char>(byte);
            Value *= 1099511628211ULL;
        }
        Value ^= 0xFF;  // ends the field, so "ab"+"c" differs from "a"+"bc"
        Value *= 1099511628211ULL;
    }
};

long long Duration_Minutes(std::string_view text)
{
    const bool negative = text.size() > 5 && text.substr(0, 2) == "- ";
    if (negative) text.remove_prefix(2);
    if (text.size() != 5) return 0;
    const Minute_Of_Day_Result minutes = Text_To_Minute_Of_Day(text);
    if (!minutes.Valid) return 0;
    return negative ? -static_cast<long long>(minutes.Value) : static_cast<long long>(minutes.Value);
}

std::vector<Work_Type_Minutes> Sum_By_Work_Type(const std::vector<Outbox_Record>& records)
{
    std::vector<Work_Type_Minutes> sums;
    for (const Outbox_Record& record : records)
    {
        if (record.Counted_Minutes <= 0) continue;
        bool found = false;
        for (Work_Type_Minutes& entry : sums)
        {
            if (entry.Work_Type != record.Work_Type) continue;
            entry.Minutes += record.Counted_Minutes;
            found = true;
            break;
        }
        if (!found) sums.push_back({record.Work_Type, record.Counted_Minutes});
    }
    return sums;
}
}  // namespace

std::string History_Day_Fingerprint(const History_Day& day)
{
    Fnv_Hash hash;
    hash.Add(Iso_Date_Text(day.Date));
    hash.Add(std::to_string(day.Worked_Minutes));
    for (const Work_Type_Minutes& entry : day.By_Work_Type)
    {
        hash.Add(entry.Work_Type);
        hash.Add(std::to_string(entry.Minutes));
    }
    constexpr const char* Hex = "0123456789abcdef";
    std::string text(16, '0');
    for (int digit = 0; digit < 16; ++digit)
        text[static_cast<std::size_t>(digit)] = Hex[(hash.Value >> (60 - 4 * digit)) & 0xF];
    return text;
}

Outbox_Day Outbox_Day_Of_History(const History_Day& day, long long full_time_minutes)
{
    Outbox_Day outbox{0, day.Date, day.Worked_Minutes, full_time_minutes, History_Day_Fingerprint(day), {}};
    for (const Work_Type_Minutes& entry : day.By_Work_Type)
        outbox.Records.push_back({"", entry.Work_Type, entry.Minutes, entry.Minutes, ""});
    return outbox;
}

Outbox_Day Outbox_Day_Of_Records(const History_Day& day, const std::vector<Work_Record>& records,
                                 long long full_time_minutes)
{
    Outbox_Day outbox{0, day.Date, day.Worked_Minutes, full_time_minutes, History_Day_Fingerprint(day), {}};
    // The counting rules per record: without User_Rows the Day_Row holds the day; with them
    // the Unassigned_Row and the User_Rows do, the Day_Row only the total.
    const bool booked = records.size() >= 3;
    for (std::size_t index = 0; index < records.size(); ++index)
    {
        const Work_Record& record = records[index];
        const long long minutes = Duration_Minutes(record[Duration_Field]);
        const bool counts = booked ? index >= 1 : index == 0;
        outbox.Records.push_back({record[Time_Span_Field], record[Work_Type_Field], minutes,
                                  counts && minutes > 0 ? minutes : 0, record[Remark_Field]});
    }
    // Whatever the records say, the server must count what the history counts.
    if (Sum_By_Work_Type(outbox.Records) != day.By_Work_Type) return Outbox_Day_Of_History(day, full_time_minutes);
    return outbox;
}

void Set_Outbox_Listener(std::function<void()> listener)
{
    const std::lock_guard lock(Listener_Guard);
    Listener() = std::move(listener);
}

void Notify_Outbox_Listener()
{
    std::function<void()> listener;
    {
        const std::lock_guard lock(Listener_Guard);
        listener = Listener();
    }
    if (listener) listener();
}

// The day's rules under random command sequences: each input byte pair is one command of
// the ui (add, edit, delete, clear, wheel, a minute passing, a setting changed) with its
// answer to any question. After every command the day log must keep its invariants, a
// refused or unanswered command must change nothing, and the records may never run past
// the end of the day.
#include <cstddef>
#include <cstdint>
#include <string>

#include "Fuzz_Support.h"
#include "platform/Code_Page.h"
#include "worklog/Day_Rules.h"

namespace
{

// A few work types that differ only in letter case, so duplicates come often.
const char* const Work_Types[] = {"Coding", "CODING", "\xC8ten\xED", "\xE8TEN\xCD", "Meeting", "Default", "Day", "x"};

bool Changes_Nothing(Day_Verdict verdict) { return verdict != Day_Verdict::Done; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2) return 0;
    Settings setup;
    Language_Texts texts;
    texts.Day_Row_Label = "Day";
    Day_Log log;
    Day_Rules rules(log, setup, texts);
    Work_Record day_row;
    day_row[Work_Type_Field] = "Default";
    const auto start = static_cast<Minute_Of_Day>((data[0] << 8 | data[1]) % 1440);
    log.Start_Day(day_row, start);
    rules.Refresh_Summary_Rows(start);

    for (std::size_t at = 2; at + 1 < size; at += 2)
    {
        const std::uint8_t command = data[at];
        const std::uint8_t argument = data[at + 1];
        const bool yes = (command & 0x80) != 0;
        const std::size_t row = argument % (Max_Day_Log_Records + 2);
        const Day_Log before = log;
        Day_Verdict verdict = Day_Verdict::Refused;
        switch (command & 0x0F)
        {
        case 0:
        case 1: {
            Record_Input input;
            input.Row = (command & 0x0F) == 0 ? log.Size() : row;
            input.Work_Type = Work_Types[argument % std::size(Work_Types)];
            input.Duration_Valid = (command & 0x40) == 0;
            input.Duration = static_cast<Minute_Of_Day>(argument * ((command >> 4 & 0x3) + 1));
            const Record_Verdict result = rules.Store_Record(input, yes);
            verdict = result.Verdict;
            if (verdict == Day_Verdict::Tell_Duplicate_Work_Type)
                ZL_FUZZ_CHECK(Cp1250_Equal_Ignoring_Case(log[result.Duplicate_Row][Work_Type_Field], input.Work_Type));
            break;
        }
        case 2: verdict = rules.Delete_User_Row(row, yes); break;
        case 3: verdict = rules.Clear_User_Rows(yes); break;
        case 4: verdict = rules.Lengthen_Record(row, yes); break;
        case 5: verdict = rules.Shorten_Record(row); break;
        case 6: rules.Refresh_For_Minute(static_cast<Minute_Of_Day>((log.Current_Minute() + argument) % 1440)); break;
        case 7: setup.Time_Scroll_Resolution = argument; break;
        case 8: setup.Display_Zentavo_Overrange_Warning = yes; break;
        case 9: setup.Time_Scroll_Control = yes; break;
        default: break;
        }
        const std::string fault = Day_Log_Invariant_Fault(log);
        if (!fault.empty()) std::fprintf(stderr, "after command %u %u: %s\n", command, argument, fault.c_str());
        ZL_FUZZ_CHECK(fault.empty());
        ZL_FUZZ_CHECK(!log.Empty());
        if ((command & 0x0F) <= 5 && Changes_Nothing(verdict))
            ZL_FUZZ_CHECK(log.Records() == before.Records() && log.Recorded_Minutes() == before.Recorded_Minutes());
        ZL_FUZZ_CHECK(log.Day_Start_Minute() + log.Recorded_Minutes() <= Last_Minute_Of_Day);
        if (!rules.May_Add_Record())
            ZL_FUZZ_CHECK(Changes_Nothing(rules.Store_Record({log.Size(), "New", "", true, 1}, true).Verdict));
    }
    return 0;
}

#include "worklog/Day_Rules.h"

#include "platform/Code_Page.h"
#include "platform/Format.h"

Day_Rules::Day_Rules(Day_Log& day_log, const Settings& settings, const Language_Texts& texts)
    : Day(day_log), Setup(settings), Texts(texts)
{
}

int Day_Rules::Day_Room() const { return Minutes_Until_Day_Boundary(Day.Day_Start_Minute(), Setup.Day_Boundary); }

bool Day_Rules::May_Add_Record() const
{
    return !Day.Empty() && Day.Size() < Max_Day_Log_Records && int(Day.Recorded_Minutes()) < Day_Room();
}

Minute_Of_Day Day_Rules::Available_Minutes(std::size_t row) const
{
    int available = Day_Room() - int(Day.Recorded_Minutes());
    if (Day.Is_User_Row(row)) available += Record_Minutes(Day[row]);
    return static_cast<Minute_Of_Day>(std::max(available, 0));
}

std::optional<std::uint8_t> Day_Rules::Row_With_Work_Type(std::string_view work_type) const
{
    for (std::size_t row = 0; row < Day.Size(); ++row)
        if (Cp1250_Equal_Ignoring_Case(work_type, Day[row][Work_Type_Field])) return static_cast<std::uint8_t>(row);
    return std::nullopt;
}

bool Day_Rules::Would_Exceed_Elapsed(std::size_t row, Minute_Of_Day duration) const
{
    const int present = Day.Is_User_Row(row) ? Record_Minutes(Day[row]) : 0;
    return int(Day.Recorded_Minutes()) - present + int(duration) > int(Day.Elapsed_Minutes());
}

bool Day_Rules::Work_Type_Editable(std::size_t row) const
{
    // While the day has user records the Day_Row carries only the label.
    return row != 0 || !Day.Has_User_Rows();
}

bool Day_Rules::Duration_Editable(std::size_t row) const { return row >= Day.Size() || Day.Is_User_Row(row); }

bool Day_Rules::Full_Time_Reached() const
{
    return Setup.Display_Full_Time_Hint &&
           int(Day.Current_Minute()) - int(Day.Day_Start_Minute()) == int(Setup.Full_Time_Value);
}

std::string Day_Rules::Tray_Hint() const
{
    if (Day.Empty()) return {};
    std::string hint_format = Texts.Tray_Hint_Format;
    for (char& character : hint_format)
        if (character == '#') character = '\r';
    return Format(hint_format, {Day[0][Duration_Field]}).value_or("");
}

Record_Verdict Day_Rules::Store_Record(const Record_Input& input, bool overtime_confirmed)
{
    if (input.Work_Type.empty()) return {Day_Verdict::Tell_Empty_Work_Type};
    if (Day.Empty()) return {Day_Verdict::Refused};
    const bool add_mode = input.Row >= Day.Size();
    const std::size_t row = add_mode ? Day.Size() : input.Row;
    // Keeping the row's own work type, in any letter case, is no duplicate.
    if (add_mode || !Cp1250_Equal_Ignoring_Case(input.Work_Type, Day[row][Work_Type_Field]))
        if (const std::optional<std::uint8_t> other = Row_With_Work_Type(input.Work_Type))
            return {Day_Verdict::Tell_Duplicate_Work_Type, *other};

    const bool timed = Duration_Editable(row);
    const Minute_Of_Day available = Available_Minutes(row);
    if (!input.Duration_Valid || (timed && input.Duration > available))
        return {Day_Verdict::Tell_Duration_Too_Long, 0, available};
    if (timed && input.Duration == 0) return {Day_Verdict::Tell_Zero_Duration};

    Work_Record record;
    record[Work_Type_Field] = input.Work_Type;
    record[Duration_Field] = Minute_Of_Day_To_Text(input.Duration);
    record[Remark_Field] = input.Remark;
    if (add_mode)
    {
        const std::size_t rows_needed = Day.Has_User_Rows() ? 1 : 2;
        if (Day.Size() + rows_needed > Max_Day_Log_Records) return {Day_Verdict::Refused};
        if (Setup.Display_Zentavo_Overrange_Warning && !overtime_confirmed && Would_Exceed_Elapsed(row, input.Duration))
            return {Day_Verdict::Ask_Overtime_Adding};
        Day.Add_User_Record(record, Texts.Day_Row_Label);
        return {Day_Verdict::Done};
    }
    if (timed && Setup.Display_Zentavo_Overrange_Warning && !overtime_confirmed &&
        Would_Exceed_Elapsed(row, input.Duration))
        return {Day_Verdict::Ask_Overtime_Editing};
    Day.Replace_Record(row, record);
    Day.Refresh_Summary_Rows(Day.Current_Minute());
    return {Day_Verdict::Done};
}

Day_Verdict Day_Rules::Delete_User_Row(std::size_t row, bool confirmed)
{
    if (!Day.Is_User_Row(row)) return Day_Verdict::Refused;
    if (!confirmed) return Day_Verdict::Ask_Before_Deleting;
    Day.Delete_User_Record(row);
    return Day_Verdict::Done;
}

Day_Verdict Day_Rules::Clear_User_Rows(bool confirmed)
{
    if (!Day.Has_User_Rows()) return Day_Verdict::Refused;
    if (!confirmed) return Day_Verdict::Ask_Before_Clearing;
    Day.Clear_User_Records();
    return Day_Verdict::Done;
}

Day_Verdict Day_Rules::Lengthen_Record(std::size_t row, bool overtime_confirmed)
{
    if (!Setup.Time_Scroll_Control || !Day.Is_User_Row(row)) return Day_Verdict::Refused;
    const int step = Setup.Time_Scroll_Resolution;
    // The records may not run past the end of the day.
    if (int(Day.Recorded_Minutes()) + step > Day_Room()) return Day_Verdict::Refused;
    if (Setup.Display_Zentavo_Overrange_Warning && !overtime_confirmed &&
        Day.Recorded_Minutes() + step > Day.Elapsed_Minutes())
        return Day_Verdict::Ask_Overtime_Editing;
    Day.Set_Duration(row, static_cast<Minute_Of_Day>(Record_Minutes(Day[row]) + step));
    return Day_Verdict::Done;
}

Day_Verdict Day_Rules::Shorten_Record(std::size_t row)
{
    if (!Setup.Time_Scroll_Control || !Day.Is_User_Row(row)) return Day_Verdict::Refused;
    const int shortened = int(Record_Minutes(Day[row])) - int(Setup.Time_Scroll_Resolution);
    // A record is not shortened to nothing: deleting it is offered instead.
    if (shortened <= 0) return Day_Verdict::Ask_Before_Deleting;
    Day.Set_Duration(row, static_cast<Minute_Of_Day>(shortened));
    return Day_Verdict::Done;
}

void Day_Rules::Refresh_Summary_Rows(Minute_Of_Day now) { Day.Refresh_Summary_Rows(now); }

bool Day_Rules::Refresh_For_Minute(Minute_Of_Day now)
{
    if (Day.Empty() || now == Day.Current_Minute()) return false;
    Day.Refresh_Summary_Rows(now);
    return true;
}

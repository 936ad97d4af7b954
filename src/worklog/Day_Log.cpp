#include "worklog/Day_Log.h"

bool Day_Log::Append_Record(const Work_Record& record)
{
    if (Records.size() >= Max_Day_Log_Records) return false;
    Work_Record copy = record;
    Records.push_back(std::move(copy));
    return true;
}

void Day_Log::Delete_Record(std::uint8_t index)
{
    if (index == 0 || index >= Records.size()) return;
    Records.erase(Records.begin() + index);
}

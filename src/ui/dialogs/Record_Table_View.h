#pragma once
// What the record editor reaches of the record table: drawing a row in either look and the
// highlighted row.
#include <cstdint>

class Record_Table_View
{
public:
    static constexpr std::uint8_t No_Row = 255;

    virtual ~Record_Table_View() = default;
    virtual void Draw_Row(std::uint8_t row, bool highlighted) = 0;
    virtual std::uint8_t Highlighted_Row() const = 0;
    virtual void Set_Highlighted_Row(std::uint8_t row) = 0;
};

#include "config/Setup_Ini_Keys.h"

#include <gtest/gtest.h>

#include <cctype>

namespace
{

bool Same_Name_As_The_File_Compares_It(std::string_view left, std::string_view right)
{
    if (left.size() != right.size()) return false;
    for (std::size_t index = 0; index < left.size(); ++index)
        if (std::tolower(static_cast<unsigned char>(left[index])) !=
            std::tolower(static_cast<unsigned char>(right[index])))
            return false;
    return true;
}

// The file compares names without letter case: two keys alike would share one line.
TEST(Setup_Ini_Keys, EveryKeyHasANameOfItsOwnAndADefaultOfItsKind)
{
    for (std::size_t index = 0; index < std::size(Setup_Keys); ++index)
    {
        const Setup_Key_Entry& entry = Setup_Keys[index];
        SCOPED_TRACE(entry.Name);
        for (std::size_t other = 0; other < index; ++other)
            EXPECT_FALSE(Same_Name_As_The_File_Compares_It(entry.Name, Setup_Keys[other].Name));
        switch (entry.Kind)
        {
        case Setup_Kind::Marker:
        case Setup_Kind::Bool:
            EXPECT_TRUE(entry.Number == 0 || entry.Number == 1);
            EXPECT_TRUE(entry.Text.empty());
            break;
        case Setup_Kind::Integer: EXPECT_TRUE(entry.Text.empty()); break;
        case Setup_Kind::Color:
            EXPECT_TRUE(entry.Number >= 0 && entry.Number <= 0x00FFFFFF);
            EXPECT_TRUE(entry.Text.empty());
            break;
        case Setup_Kind::String:
        case Setup_Kind::File_Name: EXPECT_EQ(entry.Number, 0); break;
        }
    }
}

}  // namespace

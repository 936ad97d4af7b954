#include "config/Work_Type_List.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "config/Error_List.h"
#include "config/Program_Paths.h"
#include "platform/Seeded_Files.h"
#include "support/Fake_Clock.h"
#include "support/Test_Temporary_Directory.h"

namespace
{

using Lines = std::vector<std::string>;

struct Work_Type_Fixture
{
    Test_Temporary_Directory Directory;
    Program_Paths Paths{Directory.Path()};
    Fake_Clock Time{Date_Time{2026, 3, 5, 14, 5, 9}};
    Error_List Errors{Time, "HH:mm:ss"};
};

TEST(Work_Type_List, EveryLineEndCountsAndEmptyLinesOfferNothing)
{
    EXPECT_EQ(Split_Work_Type_Lines("Coding\r\nMeeting\nLunch\rTravel"),
              (Lines{"Coding", "Meeting", "Lunch", "Travel"}));
    EXPECT_EQ(Split_Work_Type_Lines("\r\n\r\nA\r\n\n\rB\r\n"), (Lines{"A", "B"}));
    EXPECT_EQ(Split_Work_Type_Lines(""), Lines{});
    // CP1250 bytes pass through untouched, spaces inside a line included.
    EXPECT_EQ(Split_Work_Type_Lines("Ob\xEC"
                                    "d \x9A"
                                    "koly\r\n"),
              Lines{"Ob\xEC"
                    "d \x9A"
                    "koly"});
}

TEST(Work_Type_List, ReadsTheFileBesideTheProgramWithoutAProtocolLine)
{
    Work_Type_Fixture fixture;
    fixture.Directory.Write("Work_Type_List", "Coding\r\nMeeting\r\n");
    EXPECT_EQ(Read_Work_Type_List(fixture.Paths, fixture.Errors), (Lines{"Coding", "Meeting"}));
    EXPECT_TRUE(fixture.Errors.Lines().empty());
}

TEST(Work_Type_List, AFileThatCannotBeReadGivesNoTypesAndOneLineNamingPathAndReason)
{
    Work_Type_Fixture fixture;
    const std::string path = fixture.Directory.File("Work_Type_List");
    EXPECT_EQ(Read_Work_Type_List(fixture.Paths, fixture.Errors), Lines{});
    ASSERT_EQ(fixture.Errors.Lines().size(), 1u);
    EXPECT_EQ(fixture.Errors.Lines()[0],
              "14:05:09 - OPEN_WORK_TYPE_LIST - FILE_NOT_FOUND - file " + path + " not found, no work types offered");

    // A directory of that name opens but cannot be read.
    std::filesystem::create_directory(path);
    EXPECT_EQ(Read_Work_Type_List(fixture.Paths, fixture.Errors), Lines{});
    ASSERT_EQ(fixture.Errors.Lines().size(), 2u);
    EXPECT_NE(
        fixture.Errors.Lines()[1].find(" - OPEN_WORK_TYPE_LIST - UNEXPECTED_ERROR - not possible to read file " + path),
        std::string::npos);
}

}  // namespace

TEST(Work_Type_List, TheLanguagesOwnListStandsInOnlyForTheUnchangedSeededCopy)
{
    Work_Type_Fixture fixture;
    fixture.Directory.Write("Work_Type_List", "Programov\xE1n\xED\r\n");
    fixture.Directory.Write("Work_Type_List_English", "Programming\r\n");
    const auto read = [&] {
        return Read_Work_Type_List(fixture.Paths, fixture.Errors, "Work_Type_List_English");
    };
    // A folder the first start did not seed (the build's): refreshed from the sources.
    EXPECT_EQ(read(), Lines{"Programming"});

    Seed_Manifest manifest;
    manifest["Work_Type_List"] = {"-", 0, 0};  // found there, not copied: the user's own
    ASSERT_TRUE(Write_Seed_Manifest(fixture.Paths.Program_Directory, manifest));
    EXPECT_EQ(read(), Lines{"Programov\xE1n\xED"});
    manifest["Work_Type_List"] = {Content_Hash("Programov\xE1n\xED\r\n"), 0, 0};
    ASSERT_TRUE(Write_Seed_Manifest(fixture.Paths.Program_Directory, manifest));
    EXPECT_EQ(read(), Lines{"Programming"});
    // A name that leaves the folder is not followed.
    EXPECT_EQ(Read_Work_Type_List(fixture.Paths, fixture.Errors, "../Work_Type_List_English"),
              Lines{"Programov\xE1n\xED"});

    fixture.Directory.Write("Work_Type_List", "Programov\xE1n\xED\r\nM\xF9j typ\r\n");
    EXPECT_EQ(read(), (Lines{"Programov\xE1n\xED", "M\xF9j typ"}));
    EXPECT_TRUE(fixture.Errors.Lines().empty());
}

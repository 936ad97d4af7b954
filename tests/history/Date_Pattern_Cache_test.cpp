#include "history/Date_Pattern_Cache.h"

#include <gtest/gtest.h>

#include "support/Test_Temporary_Directory.h"

// An entry serves only the locale settings and the window program it was made with.
TEST(Date_Pattern_Cache, AnEntryCountsOnlyForItsOwnKey)
{
    Test_Temporary_Directory directory;
    const std::string path = directory.File("cache/zentavo-logger/date-pattern");
    const Date_Pattern_Cache_Key key{"cs_CZ.UTF-8", "1000,5.0"};
    EXPECT_FALSE(Read_Date_Pattern_Cache(path, key));
    ASSERT_TRUE(Write_Date_Pattern_Cache(path, key, "dd.MM.yyyy"));
    EXPECT_EQ(Read_Date_Pattern_Cache(path, key), "dd.MM.yyyy");
    EXPECT_FALSE(Read_Date_Pattern_Cache(path, {"en_US.UTF-8", "1000,5.0"}));
    EXPECT_FALSE(Read_Date_Pattern_Cache(path, {"cs_CZ.UTF-8", "1001,5.0"}));
    EXPECT_FALSE(Read_Date_Pattern_Cache(path, {"cs_CZ.UTF-8", "1000,5"}));

    // A window program that changed gives a new key.
    directory.Write("program", "one");
    const std::optional<Date_Pattern_Cache_Key> before = Process_Date_Pattern_Cache_Key(directory.File("program"));
    directory.Write("program", "three");
    ASSERT_TRUE(before);
    EXPECT_NE(before->Text(), Process_Date_Pattern_Cache_Key(directory.File("program"))->Text());
    EXPECT_FALSE(Process_Date_Pattern_Cache_Key(directory.File("none")));
}

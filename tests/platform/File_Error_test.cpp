#include "platform/File_Error.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "support/Test_Temporary_Directory.h"

TEST(File_Error, ErrnoValuesMapToTheProtocolNumbers)
{
    const std::pair<int, int> codes[] = {{EACCES, ERROR_ACCESS_DENIED},
                                         {EPERM, ERROR_ACCESS_DENIED},
                                         {EROFS, ERROR_ACCESS_DENIED},
                                         {EBUSY, ERROR_SHARING_VIOLATION},
                                         {ETXTBSY, ERROR_SHARING_VIOLATION},
                                         {ENOTDIR, ERROR_PATH_NOT_FOUND},
                                         {ENODEV, ERROR_NOT_READY},
                                         {ENXIO, ERROR_NOT_READY},
                                         {ENOMEDIUM, ERROR_NOT_READY},
                                         {ENOSPC, ENOSPC},
                                         {ENOENT, ENOENT}};
    for (const auto& [error, code] : codes) EXPECT_EQ(File_Error_From_Errno(error).Code, code) << error;
    EXPECT_EQ(File_Error_From_Errno(EACCES).Text, "Access is denied.");
    EXPECT_EQ(File_Error_From_Errno(ENOSPC).Text, std::strerror(ENOSPC));
}

TEST(File_Error, AMissingDirectoryIsPathNotFoundButAMissingFileIsNot)
{
    Test_Temporary_Directory directory;
    directory.Write("plain", "x");
    EXPECT_EQ(File_Error_For_Path(ENOENT, directory.File("no_such_dir/file.csv")).Code, ERROR_PATH_NOT_FOUND);
    EXPECT_EQ(File_Error_For_Path(ENOENT, directory.File("file.csv")).Code, ENOENT);
    EXPECT_EQ(File_Error_For_Path(ENOENT, directory.File("plain/file.csv")).Code, ERROR_PATH_NOT_FOUND);
    EXPECT_EQ(File_Error_For_Path(EACCES, directory.File("no_such_dir/file.csv")).Code, ERROR_ACCESS_DENIED);
}

TEST(File_Error, OnlyAFileWithoutAnyWriteBitIsReadOnly)
{
    Test_Temporary_Directory directory;
    const std::string path = directory.File("file");
    EXPECT_FALSE(Is_Read_Only_File(path));
    directory.Write("file", "x");
    EXPECT_FALSE(Is_Read_Only_File(path));
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    EXPECT_TRUE(Is_Read_Only_File(path));
    ASSERT_EQ(::chmod(path.c_str(), 0406), 0);  // a write bit for others only still counts
    EXPECT_FALSE(Is_Read_Only_File(path));
}

#include "platform/File_Error.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "platform/Test_Temporary_Directory.h"

namespace
{

TEST(File_Error, ErrnoValuesMapToTheProtocolNumbers)
{
    for (int error : {EACCES, EPERM, EROFS}) EXPECT_EQ(File_Error_From_Errno(error).Code, ERROR_ACCESS_DENIED);
    for (int error : {EBUSY, ETXTBSY}) EXPECT_EQ(File_Error_From_Errno(error).Code, ERROR_SHARING_VIOLATION);
    EXPECT_EQ(File_Error_From_Errno(ENOTDIR).Code, ERROR_PATH_NOT_FOUND);
    for (int error : {ENODEV, ENXIO, ENOMEDIUM}) EXPECT_EQ(File_Error_From_Errno(error).Code, ERROR_NOT_READY);
    EXPECT_EQ(File_Error_From_Errno(EACCES).Text, "Access is denied.");

    const File_Error other = File_Error_From_Errno(ENOSPC);
    EXPECT_EQ(other.Code, ENOSPC);
    EXPECT_EQ(other.Text, std::strerror(ENOSPC));
    EXPECT_EQ(File_Error_From_Errno(ENOENT).Code, ENOENT);
}

TEST(File_Error, AMissingDirectoryIsPathNotFoundButAMissingFileIsNot)
{
    Test_Temporary_Directory directory;
    EXPECT_EQ(File_Error_For_Path(ENOENT, directory.File("no_such_dir/file.csv")).Code, ERROR_PATH_NOT_FOUND);
    EXPECT_EQ(File_Error_For_Path(ENOENT, directory.File("file.csv")).Code, ENOENT);
    directory.Write("plain", "x");
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
    ASSERT_EQ(::chmod(path.c_str(), 0404 | S_IWOTH), 0);
    EXPECT_FALSE(Is_Read_Only_File(path));
}

}  // namespace

#include "platform/Runtime_Directory.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

#include "support/Test_Temporary_Directory.h"

namespace
{
constexpr std::size_t Room = 80;
constexpr uid_t Nobody = 65534;

mode_t Mode_Of(const std::string& path)
{
    struct stat status
    {
    };
    return ::lstat(path.c_str(), &status) == 0 ? status.st_mode & (S_IFMT | 07777) : 0;  // type and mode
}

// Gives the path to another user; only root can, so elsewhere the caller skips that case.
bool Give_Away(const std::string& path) { return ::getuid() == 0 && ::lchown(path.c_str(), Nobody, Nobody) == 0; }

std::string Fallback_Name(int spare = 0)
{
    return "zentavo-logger-" + std::to_string(::getuid()) + (spare == 0 ? "" : "-" + std::to_string(spare));
}

int Bound_Socket(const std::string& path)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.c_str(), path.size());
    const int descriptor = ::socket(AF_UNIX, SOCK_STREAM, 0);
    if (::bind(descriptor, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
    {
        ::close(descriptor);
        return -1;
    }
    return descriptor;
}
}  // namespace

class Runtime_Directory_Test : public ::testing::Test
{
protected:
    Test_Temporary_Directory Temporary;
    const uid_t User = ::getuid();

    // The temporary folder without its trailing slash, as TMPDIR would name it.
    std::string Temporary_Folder() const { return Temporary.Path().substr(0, Temporary.Path().size() - 1); }

    std::string Made_Folder(const std::string& name, mode_t mode) const
    {
        const std::string path = Temporary.File(name);
        EXPECT_EQ(::mkdir(path.c_str(), mode), 0);
        EXPECT_EQ(::chmod(path.c_str(), mode), 0);
        return path;
    }

    std::string Chosen(const std::string& runtime) const
    {
        return Private_Runtime_Directory({runtime, Temporary_Folder()}, User, Room);
    }
};

TEST_F(Runtime_Directory_Test, OwnPrivateRuntimeFolderIsUsedAndAnyOtherIsReplacedByAPrivateOne)
{
    const std::string runtime = Made_Folder("runtime", 0700);
    EXPECT_EQ(Chosen(runtime), runtime);
    EXPECT_EQ(Chosen(runtime + "/"), runtime);

    const std::string fallback = Temporary.File(Fallback_Name());
    // One that others may write, one that is a link, one that is missing, a relative one.
    const std::string shared = Made_Folder("shared", 0777);
    const std::string group = Made_Folder("group", 0770);
    const std::string link = Temporary.File("link");
    ASSERT_EQ(::symlink(runtime.c_str(), link.c_str()), 0);
    for (const std::string& unusable :
         {shared, group, link, Temporary.File("missing"), std::string("runtime"), std::string()})
    {
        EXPECT_EQ(Chosen(unusable), fallback) << unusable;
        EXPECT_EQ(Mode_Of(fallback), S_IFDIR | 0700u);
    }

    const std::string foreign = Made_Folder("foreign", 0700);
    if (!Give_Away(foreign)) GTEST_SKIP() << "only root can give a folder to another user";
    EXPECT_EQ(Chosen(foreign), fallback);
}

TEST_F(Runtime_Directory_Test, FallbackNameHeldByOthersIsPassedOverTheSameWayAtEveryStart)
{
    // Writable by others: whoever made it may have put a socket of theirs inside.
    Made_Folder(Fallback_Name(), 0777);
    // A link to a folder of the user's own is still a name someone else could change.
    const std::string own = Made_Folder("own", 0700);
    ASSERT_EQ(::symlink(own.c_str(), Temporary.File(Fallback_Name(1)).c_str()), 0);
    // A plain file in the way.
    Temporary.Write(Fallback_Name(2), "x");

    const std::string expected = Temporary.File(Fallback_Name(3));
    EXPECT_EQ(Chosen(""), expected);
    EXPECT_EQ(Mode_Of(expected), S_IFDIR | 0700u);
    EXPECT_EQ(Chosen(""), expected);  // found again, not made anew beside it
    EXPECT_EQ(Mode_Of(Temporary.File(Fallback_Name(4))), 0u);

    const std::string foreign = Made_Folder(Fallback_Name(4), 0700);
    ASSERT_EQ(::rmdir(expected.c_str()), 0);
    ASSERT_EQ(::rename(foreign.c_str(), expected.c_str()), 0);
    if (!Give_Away(expected)) GTEST_SKIP() << "only root can give a folder to another user";
    EXPECT_EQ(Chosen(""), Temporary.File(Fallback_Name(4)));
}

TEST_F(Runtime_Directory_Test, FoldersTooDeepForASocketArePassedOver)
{
    const std::string runtime = Made_Folder("runtime", 0700);
    const std::size_t room = Temporary_Folder().size() + 1 + Fallback_Name().size();
    ASSERT_LT(runtime.size(), room);
    EXPECT_EQ(Private_Runtime_Directory({runtime, Temporary_Folder()}, User, runtime.size()), runtime);
    // Too deep for the runtime folder, room for the fallback beside it.
    const std::string deep = Made_Folder(std::string(room - Temporary.Path().size() + 1, 'd'), 0700);
    EXPECT_EQ(Private_Runtime_Directory({deep, Temporary_Folder()}, User, room), Temporary.File(Fallback_Name()));
}

TEST_F(Runtime_Directory_Test, OnlyASocketTheUserOwnsIsSpokenTo)
{
    const std::string socket_path = Temporary.File("s");
    const int bound = Bound_Socket(socket_path);
    ASSERT_GE(bound, 0);
    EXPECT_TRUE(Is_Own_Socket(socket_path, User));
    EXPECT_FALSE(Is_Own_Socket(socket_path, User + 1));

    const std::string link = Temporary.File("link");
    ASSERT_EQ(::symlink(socket_path.c_str(), link.c_str()), 0);
    EXPECT_FALSE(Is_Own_Socket(link, User));
    Temporary.Write("file", "");
    EXPECT_FALSE(Is_Own_Socket(Temporary.File("file"), User));
    EXPECT_FALSE(Is_Own_Socket(Temporary.File("missing"), User));

    if (Give_Away(socket_path))
    {
        EXPECT_FALSE(Is_Own_Socket(socket_path, User));
    }
    ::close(bound);
}

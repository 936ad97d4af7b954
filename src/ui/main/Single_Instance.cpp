#include "ui/main/Single_Instance.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QTimer>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/Runtime_Directory.h"

// Plain local sockets: the hand-over is two short lines, and Qt's network module would
// cost every start its libraries.
namespace
{
constexpr int Lock_Timeout_Ms = 5000;
constexpr int Connect_Timeout_Ms = 1000;
constexpr qsizetype Max_Request_Length = 64;
constexpr int Listen_Backlog = 16;
// After a failed accept (no descriptors or memory left) the listener rests this long: the
// waiting start stays queued, and trying again at once would only spin.
constexpr int Accept_Pause_Ms = 250;
// The socket's name is the key, or this many characters of its hash when the folder is deep.
constexpr qsizetype Max_Socket_Path = 100;
constexpr qsizetype Hashed_Name_Length = 19;

enum class Lock_Result
{
    Taken,
    Busy,
    Unusable
};

// An exclusive lock on a file beside the socket. The kernel drops it when its process dies,
// so no stale lock can hold up a start, and nothing of it is synced to the disk.
Lock_Result Try_Lock(const QByteArray& path, int& descriptor)
{
    descriptor = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0600);
    if (descriptor < 0) return errno == EINTR ? Lock_Result::Busy : Lock_Result::Unusable;
    struct stat held
    {
    }, named{};
    Lock_Result result = Lock_Result::Unusable;
    if (::fstat(descriptor, &held) != 0 || !S_ISREG(held.st_mode) || held.st_uid != ::getuid())
        result = Lock_Result::Unusable;
    else if (::flock(descriptor, LOCK_EX | LOCK_NB) != 0)
        result = errno == EWOULDBLOCK || errno == EINTR ? Lock_Result::Busy : Lock_Result::Unusable;
    // The holder before removes the file as it lets go: only the file still at the path is the lock.
    else if (::stat(path.constData(), &named) != 0 || held.st_dev != named.st_dev || held.st_ino != named.st_ino)
        result = Lock_Result::Busy;
    else return Lock_Result::Taken;
    ::close(descriptor);
    descriptor = -1;
    return result;
}

// The other end of a connection runs as this user.
bool Peer_Is_Same_User(int descriptor)
{
    ucred credentials{};
    socklen_t length = sizeof credentials;
    return ::getsockopt(descriptor, SOL_SOCKET, SO_PEERCRED, &credentials, &length) == 0 &&
           credentials.uid == ::getuid();
}

// The first instance's socket path as its lock file holds it; empty when there is none yet.
QByteArray Socket_Path_In_Lock(const QByteArray& lock_path)
{
    const int descriptor = ::open(lock_path.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (descriptor < 0) return {};
    struct stat status
    {
    };
    char buffer[256];
    ssize_t count = -1;
    if (::fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode) && status.st_uid == ::getuid())
        count = ::read(descriptor, buffer, sizeof buffer);
    ::close(descriptor);
    if (count <= 0) return {};
    const QByteArray content(buffer, count);
    const qsizetype end_of_line = content.indexOf('\n');
    return end_of_line > 0 ? content.left(end_of_line) : QByteArray();
}

bool Socket_Address(const QByteArray& path, sockaddr_un& address)
{
    address = {};
    address.sun_family = AF_UNIX;
    if (path.isEmpty() || static_cast<std::size_t>(path.size()) >= sizeof address.sun_path) return false;
    std::memcpy(address.sun_path, path.constData(), static_cast<std::size_t>(path.size()));
    return true;
}

// Waits for the descriptor until the deadline; false when the time ran out or it failed.
bool Wait_For(int descriptor, short events, const QDeadlineTimer& deadline)
{
    while (true)
    {
        pollfd entry{descriptor, events, 0};
        const int result = ::poll(&entry, 1, static_cast<int>(deadline.remainingTime()));
        if (result > 0) return true;
        if (result == 0 || errno != EINTR) return false;
    }
}

// A connection to the first instance, or -1 when nobody listens at the path.
int Connect_To_First(const QByteArray& path)
{
    sockaddr_un address{};
    if (!Socket_Address(path, address) || !Is_Own_Socket(path.toStdString(), ::getuid())) return -1;
    const int descriptor = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (descriptor < 0) return -1;
    // A first instance too busy to accept must not hold this start for ever.
    const timeval timeout{Connect_Timeout_Ms / 1000, (Connect_Timeout_Ms % 1000) * 1000};
    ::setsockopt(descriptor, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout);
    int result = 0;
    do result = ::connect(descriptor, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    while (result < 0 && errno == EINTR);
    // Only a listener of this user's own may hear the start.
    if (result == 0 && Peer_Is_Same_User(descriptor)) return descriptor;
    ::close(descriptor);
    return -1;
}
}  // namespace

// One accepted start: it says its line, gets the answer and goes; one that says nothing
// is dropped after a while.
class Single_Instance::Connection : public QObject
{
public:
    Connection(int descriptor, Single_Instance& owner)
        : QObject(&owner), Descriptor(descriptor), Owner(owner), Notifier(descriptor, QSocketNotifier::Read)
    {
        ++Owner.Connection_Count;
        Owner.Connections.append(this);
        connect(&Notifier, &QSocketNotifier::activated, this, [this] { Read_Available(); });
        QTimer::singleShot(Idle_Connection_Ms, this, [this] { Finish(); });
        Read_Available();
    }
    ~Connection() override
    {
        Notifier.setEnabled(false);
        ::close(Descriptor);
        Owner.Connections.removeOne(this);
        Owner.Connection_Closed();
    }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // A start says its line right after connecting, so it is usually there at the accept.
    void Read_Available()
    {
        char buffer[128];
        bool other_side_gone = false;
        while (Received.size() <= Max_Request_Length)
        {
            const ssize_t count = ::read(Descriptor, buffer, sizeof buffer);
            if (count > 0) Received.append(buffer, count);
            else if (count < 0 && errno == EINTR) continue;
            else
            {
                // Nothing more for now; or the other side went (a start that said its
                // line and hung up at once still counts).
                other_side_gone = count == 0 || (errno != EAGAIN && errno != EWOULDBLOCK);
                break;
            }
        }
        const qsizetype end_of_line = Received.indexOf('\n');
        if (end_of_line >= 0 && Received.left(end_of_line + 1) == Request_Line)
        {
            emit Owner.Restore_Request();
            // A few bytes into an empty socket never block.
            ::send(Descriptor, Answer_Line, std::strlen(Answer_Line), MSG_NOSIGNAL);
        }
        if (end_of_line >= 0 || other_side_gone || Received.size() > Max_Request_Length) Finish();
    }

    void Finish()
    {
        if (Finished) return;
        Finished = true;
        Notifier.setEnabled(false);
        deleteLater();
    }

    int Descriptor;
    Single_Instance& Owner;
    QSocketNotifier Notifier;
    QByteArray Received;
    bool Finished = false;
};

Single_Instance::Single_Instance(QString key, QString data_folder, QObject* parent)
    : QObject(parent), Key(std::move(key)), Data_Folder(std::move(data_folder))
{
}

Single_Instance::~Single_Instance()
{
    // The connections go first: they tell this object when they close.
    const QObjectList owned = children();
    for (QObject* child : owned) delete dynamic_cast<Connection*>(child);
    if (Listener >= 0)
    {
        delete Listener_Notifier;
        Listener_Notifier = nullptr;
        ::close(Listener);
        ::unlink(Listening_Path.constData());
    }
    if (Lock >= 0)
    {
        ::unlink(Lock_Path.constData());
        ::close(Lock);
    }
}

QString Single_Instance::Default_Key(const QString& data_folder)
{
    // The folder as the file system resolves it: two spellings of one folder are one key.
    const QString canonical = QFileInfo(data_folder).canonicalFilePath();
    const QByteArray folder = QFile::encodeName(canonical.isEmpty() ? data_folder : canonical);
    // The user's number, not name: looking a name up may ask a directory service.
    return QStringLiteral("Zentavo_Logger-") + QString::number(getuid()) + QLatin1Char('-') +
           QString::fromLatin1(QCryptographicHash::hash(folder, QCryptographicHash::Sha1).toHex().left(16));
}

QString Single_Instance::Instance_Directory()
{
    const auto variable = [](const char* name) {
        const char* value = std::getenv(name);
        return std::string(value != nullptr ? value : "");
    };
    return QFile::decodeName(QByteArray::fromStdString(
        Private_Runtime_Directory({variable("XDG_RUNTIME_DIR"), variable("TMPDIR")}, ::getuid(),
                                  static_cast<std::size_t>(Max_Socket_Path - 1 - Hashed_Name_Length))));
}

QString Single_Instance::Server_Path() const
{
    // A local socket's path holds at most 107 bytes; a longer one would fail to listen and
    // let every start become the first, so a deep folder gets a short hashed name.
    const QString directory = Instance_Directory();
    if (directory.isEmpty()) return {};
    QString path = directory + QLatin1Char('/') + Key;
    if (QFile::encodeName(path).size() <= Max_Socket_Path) return path;
    return directory + QStringLiteral("/zl-") +
           QString::fromLatin1(QCryptographicHash::hash(Key.toUtf8(), QCryptographicHash::Sha1).toHex().left(16));
}

Single_Instance::Start_Result Single_Instance::Become_First_Or_Forward()
{
    const QByteArray server_path = QFile::encodeName(Server_Path());
    // Without a private folder another user could answer in the program's place, and two
    // copies would run on the same files.
    if (server_path.isEmpty()) return Start_Result::No_Folder;
    const QByteArray folder_lock =
        Data_Folder.isEmpty() ? QByteArray() : QFile::encodeName(QDir(Data_Folder).filePath(Lock_File_Name));

    // The lock makes "nobody listens, so I listen" one step: without it two simultaneous
    // starts can both find no server and both listen. In the data folder it also meets a
    // start from another session whose runtime folder is another.
    const QDeadlineTimer deadline(Lock_Timeout_Ms);
    while (true)
    {
        QByteArrayList paths{server_path};
        if (const QByteArray written = Socket_Path_In_Lock(folder_lock); !written.isEmpty() && written != server_path)
            paths.prepend(written);
        for (const QByteArray& path : paths)
            if (const int first = Connect_To_First(path); first >= 0)
            {
                const bool answered = Forward_To_First(first);
                ::close(first);
                if (answered) return Start_Result::Handed_Over;
            }
        int lock = -1;
        QByteArray lock_path = folder_lock;
        Lock_Result result = lock_path.isEmpty() ? Lock_Result::Unusable : Try_Lock(lock_path, lock);
        if (result == Lock_Result::Unusable)
        {
            // A data folder that takes no lock file: the runtime folder guards the starts of
            // this session at least.
            lock_path = server_path + ".lock";
            result = Try_Lock(lock_path, lock);
        }
        if (result != Lock_Result::Busy)
        {
            if (result == Lock_Result::Taken)
            {
                Lock = lock;
                Lock_Path = lock_path;
            }
            // A socket file that nobody answers is left by a process that was killed, or
            // is not this user's; a lock that cannot be had must not keep the program from
            // starting. Should listening fail, the program still runs; only the hand-over is lost.
            ::unlink(server_path.constData());
            Listen_At(server_path);
            if (Lock >= 0 && Listener >= 0)
            {
                // Where a start from another session finds this one.
                const QByteArray line = server_path + '\n';
                if (::ftruncate(Lock, 0) != 0 || ::pwrite(Lock, line.constData(), size_t(line.size()), 0) < 0)
                    std::fprintf(stderr, "zentavo-logger: the lock file %s could not be written.\n",
                                 Lock_Path.constData());
            }
            return Start_Result::First;
        }
        // An instance holds the lock: it is starting, too busy to answer, or in a session
        // this one cannot reach. A second instance on the same files would lose records.
        if (deadline.hasExpired()) return Start_Result::Not_Reached;
        ::usleep(5000);
    }
}

void Single_Instance::Listen_At(const QByteArray& path)
{
    sockaddr_un address{};
    if (!Socket_Address(path, address)) return;
    const int descriptor = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (descriptor < 0) return;
    // Nobody can connect between bind and listen, so the socket is the user's alone before
    // anyone can reach it.
    if (::bind(descriptor, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
    {
        ::close(descriptor);
        return;
    }
    if (::chmod(path.constData(), S_IRUSR | S_IWUSR) != 0 || ::listen(descriptor, Listen_Backlog) != 0)
    {
        ::close(descriptor);
        ::unlink(path.constData());
        return;
    }
    Listener = descriptor;
    Listening_Path = path;
    Listener_Notifier = new QSocketNotifier(Listener, QSocketNotifier::Read, this);
    connect(Listener_Notifier, &QSocketNotifier::activated, this, &Single_Instance::Accept_Connections);
    Accept_Pause = new QTimer(this);
    Accept_Pause->setSingleShot(true);
    Accept_Pause->setInterval(Accept_Pause_Ms);
    connect(Accept_Pause, &QTimer::timeout, this, [this] { Listener_Notifier->setEnabled(true); });
}

bool Single_Instance::Forward_To_First(int first)
{
    const QDeadlineTimer deadline(Answer_Timeout_Ms);
    const std::size_t length = std::strlen(Request_Line);
    std::size_t sent = 0;
    while (sent < length)
    {
        if (!Wait_For(first, POLLOUT, deadline)) return false;
        const ssize_t count = ::send(first, Request_Line + sent, length - sent, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (count > 0) sent += static_cast<std::size_t>(count);
        else if (count < 0 && errno != EINTR && errno != EAGAIN && errno != EWOULDBLOCK) return false;
    }
    // The answer tells that the first instance took the wish.
    QByteArray answer;
    while (Wait_For(first, POLLIN, deadline))
    {
        char buffer[16];
        const ssize_t count = ::recv(first, buffer, sizeof buffer, MSG_DONTWAIT);
        if (count > 0) answer.append(buffer, count);
        if (answer.contains('\n')) return answer.startsWith(Answer_Line);
        if (count == 0 || (count < 0 && errno != EINTR && errno != EAGAIN && errno != EWOULDBLOCK)) return false;
    }
    return false;
}

void Single_Instance::Accept_Connections()
{
    while (true)
    {
        // A client that holds its connections silent must not keep a start from being heard:
        // the oldest makes room for the next in the queue.
        if (Connection_Count >= Max_Connections) Evict_Oldest_Connection();
        const int descriptor = ::accept4(Listener, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (descriptor >= 0)
        {
            if (Peer_Is_Same_User(descriptor)) new Connection(descriptor, *this);
            else ::close(descriptor);
        }
        else if (errno == EAGAIN || errno == EWOULDBLOCK) return;
        else if (errno != EINTR && errno != ECONNABORTED)
        {
            // Out of descriptors: the connections this object holds are given back first;
            // with none left it rests, and the waiting start stays queued.
            if (!Connections.isEmpty() && (errno == EMFILE || errno == ENFILE))
            {
                Evict_Oldest_Connection();
                continue;
            }
            Listener_Notifier->setEnabled(false);
            Accept_Pause->start();
            return;
        }
    }
}

void Single_Instance::Evict_Oldest_Connection()
{
    if (!Connections.isEmpty()) delete Connections.front();
}

void Single_Instance::Connection_Closed()
{
    --Connection_Count;
    if (Listener_Notifier != nullptr && !Accept_Pause->isActive()) Listener_Notifier->setEnabled(true);
}

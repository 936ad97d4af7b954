#include "app/Single_Instance.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QFile>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTimer>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
constexpr int Lock_Timeout_Ms = 5000;
constexpr int Connect_Timeout_Ms = 1000;
constexpr int Idle_Connection_Ms = 5000;
constexpr qint64 Max_Request_Length = 64;

QString User_Name()
{
    if (const passwd* entry = getpwuid(getuid()); entry != nullptr && entry->pw_name != nullptr)
        return QString::fromLocal8Bit(entry->pw_name);
    return QString::number(getuid());
}

// An exclusive lock on a file beside the socket. The kernel drops it when its process
// dies, so no stale lock can hold up a start, and nothing of it is synced to the disk.
class Socket_Lock
{
public:
    Socket_Lock(const QString& path, int timeout_ms) : Path(QFile::encodeName(path))
    {
        const QDeadlineTimer deadline(timeout_ms);
        while (true)
        {
            Descriptor = ::open(Path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
            if (Descriptor < 0) return;  // a lock that cannot be had must not keep the program from starting
            if (::flock(Descriptor, LOCK_EX | LOCK_NB) == 0)
            {
                // The holder before removes the file as it lets go: only the file still at
                // the path is the lock.
                struct stat held {}, named {};
                if (::fstat(Descriptor, &held) == 0 && ::stat(Path.constData(), &named) == 0 &&
                    held.st_dev == named.st_dev && held.st_ino == named.st_ino)
                    return;
            }
            ::close(Descriptor);
            Descriptor = -1;
            if (deadline.hasExpired()) return;
            ::usleep(2000);
        }
    }
    ~Socket_Lock() { Release(); }
    Socket_Lock(const Socket_Lock&) = delete;
    Socket_Lock& operator=(const Socket_Lock&) = delete;

    void Release()
    {
        if (Descriptor < 0) return;
        ::unlink(Path.constData());
        ::close(Descriptor);
        Descriptor = -1;
    }

private:
    QByteArray Path;
    int Descriptor = -1;
};

QString Display_Name()
{
    QString display = qEnvironmentVariable("DISPLAY");
    // ":0" and ":0.0" are the same desktop.
    display.remove(QRegularExpression(QStringLiteral("\\.[0-9]+$")));
    if (display.isEmpty())
        display = qEnvironmentVariable("WAYLAND_DISPLAY");
    if (display.isEmpty())
        display = QStringLiteral("none");
    return display;
}
}

Single_Instance::Single_Instance(QString key, QObject* parent)
    : QObject(parent), Key(key.isEmpty() ? Default_Key() : std::move(key))
{
}

Single_Instance::~Single_Instance() = default;

QString Single_Instance::Default_Key()
{
    QString key = QStringLiteral("Zentavo_Logger-") + User_Name() + QLatin1Char('-') + Display_Name();
    // The key becomes a file name.
    key.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9._:@-]")), QStringLiteral("_"));
    return key;
}

QString Single_Instance::Instance_Directory()
{
    QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (!runtime.isEmpty() && QFileInfo(runtime).isDir())
        return runtime;
    return QDir::tempPath();
}

QString Single_Instance::Server_Path() const
{
    // A local socket's path holds at most 107 bytes; a longer one would fail to listen and
    // let every start become the first, so a deep directory gets a short hashed name.
    constexpr qsizetype Max_Socket_Path = 100;
    const QString directory = Instance_Directory();
    QString path = directory + QLatin1Char('/') + Key;
    if (QFile::encodeName(path).size() <= Max_Socket_Path)
        return path;
    const QString hashed = QStringLiteral("zl-")
        + QString::fromLatin1(QCryptographicHash::hash(Key.toUtf8(), QCryptographicHash::Sha1).toHex().left(16));
    if (QFile::encodeName(directory).size() + 1 + hashed.size() <= Max_Socket_Path)
        return directory + QLatin1Char('/') + hashed;
    return QStringLiteral("/tmp/") + hashed + QLatin1Char('-') + QString::number(getuid());
}

bool Single_Instance::Become_First_Or_Forward()
{
    const QString server_path = Server_Path();

    // The lock makes "nobody listens, so I listen" one step: without it two simultaneous
    // starts can both find no server and both listen.
    Socket_Lock lock(server_path + QStringLiteral(".lock"), Lock_Timeout_Ms);

    QLocalSocket socket;
    socket.connectToServer(server_path);
    if (socket.waitForConnected(Connect_Timeout_Ms))
    {
        lock.Release();
        Forward_To_First(socket);
        return false;
    }

    // A socket file that nobody answers is left by a process that was killed.
    QLocalServer::removeServer(server_path);
    Server = new QLocalServer(this);
    Server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(Server, &QLocalServer::newConnection, this, &Single_Instance::Accept_Connections);
    // Should listening fail, the program still runs; only the hand-over is lost.
    Server->listen(server_path);
    return true;
}

void Single_Instance::Forward_To_First(QLocalSocket& socket)
{
    const QDeadlineTimer deadline(Answer_Timeout_Ms);
    socket.write(Request_Line);
    if (!socket.waitForBytesWritten(static_cast<int>(deadline.remainingTime())))
        return;
    while (!socket.canReadLine())
        if (deadline.hasExpired() || !socket.waitForReadyRead(static_cast<int>(deadline.remainingTime())))
            return;
    socket.disconnectFromServer();
}

void Single_Instance::Accept_Connections()
{
    while (QLocalSocket* socket = Server->nextPendingConnection())
    {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { Read_Request(socket); });
        // A client that says nothing does not hold its connection for ever.
        QTimer::singleShot(Idle_Connection_Ms, socket, [socket] { socket->abort(); });
        if (socket->bytesAvailable() > 0)
            Read_Request(socket);
    }
}

void Single_Instance::Read_Request(QLocalSocket* socket)
{
    if (!socket->canReadLine())
    {
        if (socket->bytesAvailable() > Max_Request_Length)
            socket->abort();
        return;
    }
    const QByteArray line = socket->readLine(Max_Request_Length + 1);
    if (line != Request_Line)
    {
        socket->abort();
        return;
    }
    emit Restore_Request();
    socket->write(Answer_Line);
    socket->flush();
    socket->disconnectFromServer();
}

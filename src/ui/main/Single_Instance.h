#pragma once
// One running instance per user and data folder, whatever the display: the first start
// holds a lock in the data folder and listens on a local socket, a later start hands the
// user's wish over to it and ends without touching any file.
#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>

class QSocketNotifier;
class QTimer;

class Single_Instance : public QObject
{
    Q_OBJECT
public:
    // The line a second start sends and the answer it waits for.
    static constexpr const char* Request_Line = "1125\n";
    static constexpr const char* Answer_Line = "OK\n";
    static constexpr int Answer_Timeout_Ms = 2000;
    // Starts served at once; more wait in the kernel's queue, so a client that opens many
    // connections cannot use up the program's descriptors.
    static constexpr int Max_Connections = 8;
    // A connection that says nothing is dropped after this long.
    static constexpr int Idle_Connection_Ms = 5000;

    // The lock file in the data folder; it holds the first instance's socket path.
    static constexpr const char* Lock_File_Name = ".zentavo-logger.lock";

    enum class Start_Result
    {
        First,        // this process listens now and holds the lock
        Handed_Over,  // the running instance took the wish; end with status 0
        Not_Reached,  // an instance holds the lock but did not answer; say so and end
        No_Folder     // no private runtime folder: the hand-over could not be guarded
    };

    // The key names the socket. The lock lies in data_folder; without one (or where no lock
    // can be made there) it lies beside the socket.
    explicit Single_Instance(QString key, QString data_folder = {}, QObject* parent = nullptr);
    ~Single_Instance() override;

    // The key of this user and data folder: the same from every display and session.
    static QString Default_Key(const QString& data_folder);
    // Where the socket and its lock live: the runtime directory when it is the user's alone,
    // else a private folder of the user's in the temporary one; empty when there is none.
    static QString Instance_Directory();

    Start_Result Become_First_Or_Forward();

    // The socket's path: in the instance directory, hashed short when that is too deep.
    QString Server_Path() const;

    // Accepted connections not yet finished.
    int Open_Connections() const { return Connection_Count; }

signals:
    // Emitted in the first instance when a second one starts; the second waits for it.
    void Restore_Request();

private:
    class Connection;

    void Listen_At(const QByteArray& path);
    void Accept_Connections();
    void Connection_Closed();
    // Sends the request over the connection; true when the answer came.
    static bool Forward_To_First(int first);
    void Evict_Oldest_Connection();

    QString Key;
    QString Data_Folder;
    int Listener = -1;
    QByteArray Listening_Path;
    // Held for the first instance's whole life: a later start that finds it held knows an
    // instance runs even when its socket does not answer.
    int Lock = -1;
    QByteArray Lock_Path;
    QSocketNotifier* Listener_Notifier = nullptr;
    QTimer* Accept_Pause = nullptr;
    int Connection_Count = 0;
    // Oldest first: when all places are taken, the oldest silent one makes room.
    QList<Connection*> Connections;
};

#pragma once
// One running instance per user and desktop: the first start listens on a local socket,
// a later start hands the user's wish over to it and ends without touching any file.
#include <QByteArray>
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

    // The key names the socket and its lock file; by default it is built from
    // "Zentavo_Logger", the user's number and the display. Tests pass their own.
    explicit Single_Instance(QString key = {}, QObject* parent = nullptr);
    ~Single_Instance() override;

    // The key of this user and display.
    static QString Default_Key();
    // Where the socket and its lock live: the runtime directory when it is the user's alone,
    // else a private folder of the user's in the temporary one; empty when there is none.
    static QString Instance_Directory();

    // True: this process is the first and now listens (or, without a usable folder, runs
    // alone). False: another instance answered a Restore_Request, or it holds the lock but
    // did not answer in time; this process should end at once with status 0.
    bool Become_First_Or_Forward();

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
    // Sends the request over the connection and waits a while for the answer.
    static void Forward_To_First(int first);

    QString Key;
    int Listener = -1;
    QByteArray Listening_Path;
    // Held for the first instance's whole life: a later start that finds it held knows an
    // instance runs even when its socket does not answer.
    int Lock = -1;
    QByteArray Lock_Path;
    QSocketNotifier* Listener_Notifier = nullptr;
    QTimer* Accept_Pause = nullptr;
    int Connection_Count = 0;
};

// One instance per user and data folder: the hand-over of a second start, from another
// session too, recovery from a killed first instance, a burst of simultaneous starts, a deep
// runtime directory and a flood of connections.
//
// The test binary doubles as a tiny program: with "--instance <key> <wanted> [<spare>]" it
// plays one start (with ZL_TEST_DATA_FOLDER as its data folder) and prints FIRST, SECOND or
// NOT_REACHED; a first waits for <wanted> requests (at most
// 20 s) and then prints how many it got. With <spare>, a first may open only that many
// descriptors more than it holds once it listens.
#include "ui/main/Single_Instance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

namespace
{
int Open_Descriptors(qint64 process)
{
    return int(QDir(QStringLiteral("/proc/%1/fd").arg(process))
                   .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System)
                   .size());
}

int Run_Instance(const QString& key, int wanted_requests, int spare_descriptors)
{
    Single_Instance instance(key, qEnvironmentVariable("ZL_TEST_DATA_FOLDER"));
    const Single_Instance::Start_Result result = instance.Become_First_Or_Forward();
    if (result != Single_Instance::Start_Result::First)
    {
        std::printf(result == Single_Instance::Start_Result::Handed_Over ? "SECOND\n" : "NOT_REACHED\n");
        return 0;
    }
    if (spare_descriptors > 0)
    {
        rlimit limit{};
        ::getrlimit(RLIMIT_NOFILE, &limit);
        limit.rlim_cur = rlim_t(Open_Descriptors(QCoreApplication::applicationPid()) + spare_descriptors);
        ::setrlimit(RLIMIT_NOFILE, &limit);
    }
    std::printf("FIRST\n");
    std::fflush(stdout);
    int requests = 0;
    QObject::connect(&instance, &Single_Instance::Restore_Request, [&] {
        if (++requests >= wanted_requests) QTimer::singleShot(0, QCoreApplication::instance(), &QCoreApplication::quit);
    });
    QTimer::singleShot(20000, QCoreApplication::instance(), &QCoreApplication::quit);
    if (wanted_requests > 0) QCoreApplication::exec();
    std::printf("REQUESTS %d\n", requests);
    return 0;
}

std::unique_ptr<QProcess> Start_Instance(const QString& key, int wanted_requests, const QString& work_dir = {},
                                         int spare_descriptors = 0)
{
    auto process = std::make_unique<QProcess>();
    process->setProgram(QCoreApplication::applicationFilePath());
    process->setArguments({"--instance", key, QString::number(wanted_requests), QString::number(spare_descriptors)});
    if (!work_dir.isEmpty()) process->setWorkingDirectory(work_dir);
    process->start();
    return process;
}

// Starts a second instance and gives what it printed once it ended.
QByteArray Second_Start(const QString& key, const QString& work_dir = {})
{
    auto second = Start_Instance(key, 0, work_dir);
    QSignalSpy finished(second.get(), &QProcess::finished);
    if (!finished.wait(8000) || second->exitStatus() != QProcess::NormalExit || second->exitCode() != 0) return {};
    return second->readAllStandardOutput();
}

int Connect_Raw(const QString& path, bool wait = true)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray name = QFile::encodeName(path);
    std::memcpy(address.sun_path, name.constData(), static_cast<size_t>(name.size()));
    const int descriptor = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | (wait ? 0 : SOCK_NONBLOCK), 0);
    if (::connect(descriptor, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
    {
        ::close(descriptor);
        return -1;
    }
    return descriptor;
}

// Processor time the process has used so far, in milliseconds.
qint64 Cpu_Ms(qint64 process)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(process));
    if (!stat.open(QIODevice::ReadOnly)) return -1;
    const QByteArray line = stat.readAll();
    // The fields after the name in parentheses: state is the 3rd, utime the 14th, stime the 15th.
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    return (fields.value(11).toLongLong() + fields.value(12).toLongLong()) * 1000 / ::sysconf(_SC_CLK_TCK);
}

// A client of the same user that opens many connections and holds them.
class Connection_Flood
{
public:
    Connection_Flood(const QString& path, int wanted)
    {
        rlimit limit{};
        ::getrlimit(RLIMIT_NOFILE, &limit);
        limit.rlim_cur = std::max<rlim_t>(limit.rlim_cur, std::min<rlim_t>(limit.rlim_max, rlim_t(wanted) + 64));
        ::setrlimit(RLIMIT_NOFILE, &limit);
        for (int attempt = 0; attempt < wanted; ++attempt)
            if (const int descriptor = Connect_Raw(path, false); descriptor >= 0) Held.push_back(descriptor);
    }
    ~Connection_Flood() { Release(); }
    Connection_Flood(const Connection_Flood&) = delete;
    Connection_Flood& operator=(const Connection_Flood&) = delete;

    std::size_t Established() const { return Held.size(); }
    void Release()
    {
        for (const int descriptor : Held) ::close(descriptor);
        Held.clear();
    }

private:
    std::vector<int> Held;
};

// Everything the first instance sent before it hung up, or "still open" when it did not
// hang up within two seconds. Runs the event loop for the first instance meanwhile.
QByteArray Sent_Until_Hang_Up(int descriptor)
{
    QByteArray sent;
    QDeadlineTimer deadline(2000);
    while (!deadline.hasExpired())
    {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        char buffer[16];
        const ssize_t count = ::recv(descriptor, buffer, sizeof buffer, MSG_DONTWAIT);
        if (count == 0) return sent;
        if (count > 0) sent.append(buffer, count);
    }
    return "still open";
}
}  // namespace

class Single_Instance_Test : public QObject
{
    Q_OBJECT

    QString Temp_Root = QDir::tempPath();
    std::unique_ptr<QTemporaryDir> Runtime_Dir;
    QString Key;

private slots:
    void init()
    {
        Runtime_Dir = std::make_unique<QTemporaryDir>(Temp_Root + "/Single_Instance_test-XXXXXX");
        QVERIFY(Runtime_Dir->isValid());
        qputenv("XDG_RUNTIME_DIR", Runtime_Dir->path().toLocal8Bit());
        qputenv("TMPDIR", Runtime_Dir->path().toLocal8Bit());
        qunsetenv("ZL_TEST_DATA_FOLDER");
        Key = QStringLiteral("Zentavo_Logger-test-%1").arg(QTest::currentTestFunction());
    }

    void First_Listens_And_A_Second_Start_Hands_Over()
    {
        Single_Instance first(Key);
        QSignalSpy restore_requests(&first, &Single_Instance::Restore_Request);
        QCOMPARE(first.Become_First_Or_Forward(), Single_Instance::Start_Result::First);
        // Another key is another desktop: it is first as well.
        Single_Instance elsewhere(Key + "-other");
        QCOMPARE(elsewhere.Become_First_Or_Forward(), Single_Instance::Start_Result::First);

        QTemporaryDir work_dir(Temp_Root + "/Single_Instance_work-XXXXXX");
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(Second_Start(Key, work_dir.path()), QByteArray("SECOND\n"));
        QVERIFY2(clock.elapsed() < 1000, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(restore_requests.count(), 1);

        // It wrote nothing where it was started, and left nothing of its own behind.
        QVERIFY(QDir(work_dir.path()).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden));
        QStringList sockets;
        for (const QString& path : {first.Server_Path(), elsewhere.Server_Path()})
            sockets << QFileInfo(path).fileName() << QFileInfo(path).fileName() + ".lock";
        sockets.sort();
        QCOMPARE(
            QDir(Runtime_Dir->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System),
            sockets);
    }

    void Killed_First_Instance_Does_Not_Block_The_Next_Start()
    {
        auto first = Start_Instance(Key, 1);
        QVERIFY(first->waitForReadyRead(5000));
        QCOMPARE(first->readLine(), QByteArray("FIRST\n"));
        first->kill();
        QVERIFY(first->waitForFinished(5000));
        QVERIFY(QFileInfo::exists(Single_Instance(Key).Server_Path()));  // its socket stayed

        QElapsedTimer clock;
        clock.start();
        Single_Instance next(Key);
        QCOMPARE(next.Become_First_Or_Forward(), Single_Instance::Start_Result::First);
        QVERIFY2(clock.elapsed() < 1000, qPrintable(QString::number(clock.elapsed())));
        // And the recovered one answers the start after it.
        QSignalSpy restore_requests(&next, &Single_Instance::Restore_Request);
        QCOMPARE(Second_Start(Key), QByteArray("SECOND\n"));
        QCOMPARE(restore_requests.count(), 1);
    }

    void Burst_Of_Starts_Gives_Exactly_One_First()
    {
        std::vector<std::unique_ptr<QProcess>> processes;
        for (int i = 0; i < 10; ++i) processes.push_back(Start_Instance(Key, 9));
        QByteArrayList outputs;
        for (auto& process : processes)
        {
            QVERIFY(process->waitForFinished(15000));
            outputs << process->readAllStandardOutput();
        }
        std::sort(outputs.begin(), outputs.end());
        QCOMPARE(outputs, QByteArrayList{"FIRST\nREQUESTS 9\n"} + QByteArrayList(9, "SECOND\n"));
    }

    void Strangers_Get_No_Restore_And_The_Socket_Is_Private()
    {
        Single_Instance first(Key);
        QSignalSpy restore_requests(&first, &Single_Instance::Restore_Request);
        QCOMPARE(first.Become_First_Or_Forward(), Single_Instance::Start_Result::First);
        QCOMPARE(QFileInfo(first.Server_Path()).permissions() &
                     ~(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser),
                 QFileDevice::Permissions{});

        // A wrong line, an endless one, and the right line in two pieces.
        const QByteArray endless(200, 'x');
        for (const QByteArray& said : {QByteArray("1126\n"), endless})
        {
            const int stranger = Connect_Raw(first.Server_Path());
            QVERIFY(stranger >= 0);
            QCOMPARE(::send(stranger, said.constData(), static_cast<size_t>(said.size()), MSG_NOSIGNAL),
                     ssize_t(said.size()));
            QCOMPARE(Sent_Until_Hang_Up(stranger), QByteArray());
            ::close(stranger);
        }
        QCOMPARE(restore_requests.count(), 0);

        const int split = Connect_Raw(first.Server_Path());
        QCOMPARE(::send(split, "11", 2, MSG_NOSIGNAL), ssize_t(2));
        QTest::qWait(50);
        QCOMPARE(::send(split, "25\n", 3, MSG_NOSIGNAL), ssize_t(3));
        QCOMPARE(Sent_Until_Hang_Up(split), QByteArray(Single_Instance::Answer_Line));
        ::close(split);
        QCOMPARE(restore_requests.count(), 1);

        // A start that says its line and hangs up at once is still heard.
        const int hurried = Connect_Raw(first.Server_Path());
        QCOMPARE(::send(hurried, "1125\n", 5, MSG_NOSIGNAL), ssize_t(5));
        ::close(hurried);
        QTRY_COMPARE(restore_requests.count(), 2);
    }

    void Default_Key_Names_The_User_And_Data_Folder_Not_The_Display()
    {
        QTemporaryDir folder(Temp_Root + "/Single_Instance_data-XXXXXX");
        qputenv("DISPLAY", ":7.0");
        const QString key = Single_Instance::Default_Key(folder.path());
        QVERIFY2(key.startsWith("Zentavo_Logger-") && !key.contains('/'), qPrintable(key));
        qputenv("DISPLAY", ":8");
        QCOMPARE(Single_Instance::Default_Key(folder.path() + "/./"), key);
        QVERIFY(Single_Instance::Default_Key(folder.path() + "/other") != key);
        QCOMPARE(Single_Instance::Instance_Directory(), Runtime_Dir->path());
    }

    // Another session of the user (here: another runtime folder) on the same data folder
    // finds the first through the lock there; a holder of the lock that never answers is
    // reported, not joined.
    void Data_Folder_Lock_Holds_Across_Sessions()
    {
        QTemporaryDir data(Temp_Root + "/Single_Instance_data-XXXXXX");
        qputenv("ZL_TEST_DATA_FOLDER", data.path().toLocal8Bit());
        auto first = Start_Instance(Key, 1);
        QVERIFY(first->waitForReadyRead(5000));
        QCOMPARE(first->readLine(), QByteArray("FIRST\n"));

        QTemporaryDir other_runtime(Temp_Root + "/Single_Instance_other-XXXXXX");
        qputenv("XDG_RUNTIME_DIR", other_runtime.path().toLocal8Bit());
        QCOMPARE(Second_Start(Key + "-other-display"), QByteArray("SECOND\n"));
        QVERIFY(first->state() == QProcess::NotRunning || first->waitForFinished(5000));
        QCOMPARE(first->readAllStandardOutput(), QByteArray("REQUESTS 1\n"));
        QVERIFY(!QFileInfo::exists(data.filePath(Single_Instance::Lock_File_Name)));

        // A lock held by someone who does not listen.
        const int held = ::open(QFile::encodeName(data.filePath(Single_Instance::Lock_File_Name)).constData(),
                                O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        QVERIFY(held >= 0 && ::flock(held, LOCK_EX) == 0);
        QCOMPARE(Second_Start(Key), QByteArray("NOT_REACHED\n"));
        ::close(held);
    }

    void Deep_Runtime_Directory_Still_Finds_The_First()
    {
        // A socket path longer than the system allows cannot listen; the instance must still
        // be found, or every start would become a first one.
        const QString deep = Runtime_Dir->path() + "/" + QString(120, 'd');
        QVERIFY(QDir().mkpath(deep));
        QVERIFY(QFile::setPermissions(deep, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner));
        qputenv("XDG_RUNTIME_DIR", deep.toLocal8Bit());
        Single_Instance first(Key);
        QSignalSpy restore_requests(&first, &Single_Instance::Restore_Request);
        QCOMPARE(first.Become_First_Or_Forward(), Single_Instance::Start_Result::First);
        QVERIFY(QFile::encodeName(first.Server_Path()).size() <= 100);
        QCOMPARE(Second_Start(Key), QByteArray("SECOND\n"));
        QCOMPARE(restore_requests.count(), 1);
    }

    // A client of the same user opens 1,100 connections and holds them: the first instance
    // keeps a handful, does not spin when it runs out of descriptors, frees everything once
    // the client lets go, and then hands over as before. Once with the usual descriptor
    // limit, once with only a few descriptors to spare.
    void Flood_Of_Connections_Neither_Spins_Nor_Stays()
    {
        for (const int spare : {0, 4})
        {
            const QString key = Key + QString::number(spare);
            auto first = Start_Instance(key, 1, {}, spare);
            QVERIFY(first->waitForReadyRead(5000));
            QCOMPARE(first->readLine(), QByteArray("FIRST\n"));
            const qint64 pid = first->processId();
            const int idle_descriptors = Open_Descriptors(pid);

            Connection_Flood flood(Single_Instance(key).Server_Path(), 1100);
            QVERIFY(flood.Established() > 0);
            QThread::msleep(300);
            // Spinning takes whatever share of a processor the machine gives, in every window of
            // time; resting takes next to nothing once a busy machine let it finish the flood.
            qint64 cpu_ms = 0;
            qint64 wall_ms = 0;
            for (int window = 0; window < 3; ++window)
            {
                const qint64 cpu_before = Cpu_Ms(pid);
                QElapsedTimer wall;
                wall.start();
                QThread::msleep(1000);
                cpu_ms = Cpu_Ms(pid) - cpu_before;
                wall_ms = wall.elapsed();
                if (cpu_ms * 10 < wall_ms) break;
            }
            qInfo(
                "spare %d: %zu connections made, %lld ms of processor time in %lld ms, %d descriptors open, %d before",
                spare, flood.Established(), cpu_ms, wall_ms, Open_Descriptors(pid), idle_descriptors);
            QVERIFY2(
                cpu_ms * 10 < wall_ms,
                qPrintable(
                    QStringLiteral("spare %1: %2 ms of processor time in %3 ms").arg(spare).arg(cpu_ms).arg(wall_ms)));
            QVERIFY2(Open_Descriptors(pid) <= idle_descriptors + Single_Instance::Max_Connections,
                     qPrintable(QStringLiteral("spare %1: %2 descriptors open, %3 before, %4 connections made")
                                    .arg(spare)
                                    .arg(Open_Descriptors(pid))
                                    .arg(idle_descriptors)
                                    .arg(flood.Established())));

            // Hung-up connections go at once; one accepted while the client was still letting
            // go may wait for its idle time, on a busy machine a little longer.
            QElapsedTimer freeing;
            freeing.start();
            flood.Release();
            QTRY_VERIFY_WITH_TIMEOUT(Open_Descriptors(pid) <= idle_descriptors,
                                     Single_Instance::Idle_Connection_Ms + 5000);
            qInfo("spare %d: descriptors freed in %lld ms", spare, freeing.elapsed());
            QCOMPARE(Second_Start(key), QByteArray("SECOND\n"));
            QVERIFY(first->state() == QProcess::NotRunning || first->waitForFinished(5000));
            QCOMPARE(first->readAllStandardOutput(), QByteArray("REQUESTS 1\n"));
        }
    }
};

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    if (argc == 5 && std::strcmp(argv[1], "--instance") == 0)
        return Run_Instance(QString::fromLocal8Bit(argv[2]), std::atoi(argv[3]), std::atoi(argv[4]));
    Single_Instance_Test test;
    return QTest::qExec(&test, argc, argv);
}

#include "Single_Instance_test.moc"

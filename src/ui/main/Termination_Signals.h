#pragma once
// SIGTERM, SIGINT and SIGHUP (a logout) become a Qt signal on the user-interface thread,
// so that they end the day in the same orderly way as closing the window.
#include <QObject>

class QSocketNotifier;

class Termination_Signals : public QObject
{
    Q_OBJECT

public:
    // Installs the handlers; only one instance may exist in a process.
    explicit Termination_Signals(QObject* parent = nullptr);
    ~Termination_Signals() override;

    bool Installed() const { return Notifier != nullptr; }

signals:
    void Termination_Requested(int signal_number);

private:
    void Read_Signal();

    QSocketNotifier* Notifier = nullptr;
};

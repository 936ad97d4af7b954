#include "ui/main/Termination_Signals.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <cerrno>
#include <csignal>

namespace
{
// The write end is used inside the signal handler, where only async-signal-safe calls are allowed.
int Signal_Sockets[2] = {-1, -1};
constexpr int Handled_Signals[] = {SIGTERM, SIGINT, SIGHUP};

extern "C" void Forward_Signal(int signal_number)
{
    const int saved_errno = errno;
    const unsigned char byte = static_cast<unsigned char>(signal_number);
    [[maybe_unused]] const ssize_t written = ::write(Signal_Sockets[0], &byte, 1);
    errno = saved_errno;
}
}  // namespace

Termination_Signals::Termination_Signals(QObject* parent) : QObject(parent)
{
    if (Signal_Sockets[0] != -1) return;
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, Signal_Sockets) != 0) return;
    ::fcntl(Signal_Sockets[0], F_SETFL, O_NONBLOCK);
    ::fcntl(Signal_Sockets[1], F_SETFL, O_NONBLOCK);
    Notifier = new QSocketNotifier(Signal_Sockets[1], QSocketNotifier::Read, this);
    connect(Notifier, &QSocketNotifier::activated, this, &Termination_Signals::Read_Signal);
    struct sigaction action = {};
    action.sa_handler = Forward_Signal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal_number : Handled_Signals) ::sigaction(signal_number, &action, nullptr);
}

Termination_Signals::~Termination_Signals()
{
    if (!Notifier) return;
    for (const int signal_number : Handled_Signals) ::signal(signal_number, SIG_DFL);
    ::close(Signal_Sockets[0]);
    ::close(Signal_Sockets[1]);
    Signal_Sockets[0] = Signal_Sockets[1] = -1;
}

void Termination_Signals::Read_Signal()
{
    unsigned char byte = 0;
    while (::read(Signal_Sockets[1], &byte, 1) == 1) emit Termination_Requested(byte);
}

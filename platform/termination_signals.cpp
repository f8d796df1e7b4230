#include "platform/termination_signals.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace tavik {

namespace {

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

int g_signalPipe[2] = {-1, -1};
std::function<void()> g_onSignal;

// Only async-signal-safe work here: the signal's number into the pipe wakes the event loop.
void OnSignal(int signal)
{
    const char byte = static_cast<char>(signal);
    [[maybe_unused]] const ssize_t written = ::write(g_signalPipe[0], &byte, 1);
}

void SetAction(void (*handler)(int))
{
    struct sigaction action { };
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : kSignals)
        ::sigaction(signal, &action, nullptr);
}

// Once the event loop has ended, nothing reads the pipe any more, and the program has
// closed as the user would: from then on a signal ends the process at once, however long
// the rest of the way out takes. A signal that came while the loop was ending is in the pipe.
void EndProcessOnSignal()
{
    SetAction(SIG_DFL);
    char pending = 0;
    if (::recv(g_signalPipe[1], &pending, 1, MSG_DONTWAIT) == 1)
        ::raise(pending);
}

}  // namespace

bool TerminationSignals::install(std::function<void()> onSignal)
{
    g_onSignal = std::move(onSignal);
    if (g_signalPipe[0] >= 0)
        return true;
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_signalPipe) != 0)
        return false;

    auto* notifier = new QSocketNotifier(g_signalPipe[1], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [] {
        char bytes[16];
        [[maybe_unused]] const ssize_t read = ::read(g_signalPipe[1], bytes, sizeof bytes);
        if (g_onSignal)
            g_onSignal();
    });
    QObject::connect(
        QCoreApplication::instance(), &QCoreApplication::aboutToQuit, notifier, [] { EndProcessOnSignal(); });

    SetAction(OnSignal);
    return true;
}

}  // namespace tavik

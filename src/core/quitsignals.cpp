#include "core/quitsignals.h"

#include <csignal>

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QSocketNotifier>

namespace {

int signalPipe[2] = {-1, -1};

void Forward(int signalNumber)
{
    char byte = static_cast<char>(signalNumber);
    // Only async-signal-safe calls here; the event loop does the rest.
    [[maybe_unused]] ssize_t ignored = ::write(signalPipe[1], &byte, 1);
}

}  // namespace

void OnQuitSignal(std::function<void()> handler)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalPipe) != 0)
        return;  // without the pair the signals keep their default effect
    ::fcntl(signalPipe[1], F_SETFL, O_NONBLOCK);
    auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [handler] {
        char byte = 0;
        [[maybe_unused]] ssize_t ignored = ::read(signalPipe[0], &byte, 1);
        handler();
    });
    struct sigaction action {};
    action.sa_handler = Forward;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &action, nullptr);
    ::sigaction(SIGINT, &action, nullptr);
}

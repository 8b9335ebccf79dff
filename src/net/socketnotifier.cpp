#include "net/socketnotifier.h"

#include <exception>
#include <string>

#include <QMetaObject>
#include <QObject>
#include <QSocketNotifier>
#include <QThread>
#include <QTimer>

#include "core/mainthread.h"
#include "core/userinterface.h"
#include "net/socketcalls.h"
#include "platform/socketerrors.h"

namespace {

constexpr int ReadEvents = FD_READ | FD_ACCEPT | FD_CLOSE;

}  // namespace

TSocketNotifier::TSocketNotifier(TDispatch dispatch) : dispatch(std::move(dispatch)), owner(std::make_unique<QObject>())
{
}

TSocketNotifier::~TSocketNotifier()
{
    // The owner goes first, so that calls queued for it by other threads are dropped.
    owner.reset();
    watches.clear();
    retired.clear();
}

int TSocketNotifier::Select(int socket, int mask)
{
    int code = 0;
    RunOnOwner([&] { code = SelectHere(socket, mask); }, true);
    if (code == 0)
        return 0;
    sockapi::SetLastError(code);
    return -1;
}

void TSocketNotifier::ReadDone(int socket)
{
    RunOnOwner([this, socket] { Arm(socket, true); }, false);
}

void TSocketNotifier::ReadDoneAfter(int socket, std::chrono::milliseconds delay)
{
    RunOnOwner(
        [this, socket, delay] { QTimer::singleShot(delay, owner.get(), [this, socket] { Arm(socket, true); }); },
        false);
}

void TSocketNotifier::WriteBlocked(int socket)
{
    RunOnOwner([this, socket] { Arm(socket, false); }, false);
}

void TSocketNotifier::RaiseLater(int socket, int event)
{
    RunOnOwner(
        [this, socket, event] {
            auto found = watches.find(socket);
            if (found == watches.end())
                return;
            unsigned long long serial = found->second.serial;
            QMetaObject::invokeMethod(
                owner.get(), [this, socket, serial, event] { RaiseIfSame(socket, serial, event); },
                Qt::QueuedConnection);
        },
        false);
}

void TSocketNotifier::RaiseIfSame(int socket, unsigned long long serial, int event)
{
    auto found = watches.find(socket);
    if (found == watches.end() || found->second.serial != serial)
        return;
    Watch& watch = found->second;
    if (watch.closed || !(watch.mask & event))
        return;
    if (event == FD_CLOSE)
        watch.closed = true;
    else
        watch.readArmed = false;
    Apply(socket, watch);
    Raise(socket, event, 0);
}

bool TSocketNotifier::OnOwnerThread() const
{
    return QThread::currentThread() == owner->thread();
}

void TSocketNotifier::RunOnOwner(std::function<void()> fn, bool wait)
{
    if (OnOwnerThread())
        fn();
    else
        QMetaObject::invokeMethod(owner.get(), std::move(fn),
                                  wait ? Qt::BlockingQueuedConnection : Qt::QueuedConnection);
}

int TSocketNotifier::SelectHere(int socket, int mask)
{
    if (mask == 0) {
        Remove(socket);
        return 0;
    }
    if (sockapi::SocketType(socket) < 0)
        return sockapi::LastError();
    Watch& watch = watches[socket];
    if (watch.serial == 0)
        watch.serial = ++serials;
    watch.mask = mask;
    watch.readArmed = true;
    watch.closed = false;
    watch.writeArmed = (mask & FD_WRITE) != 0;
    watch.connectArmed = (mask & FD_CONNECT) != 0;
    Apply(socket, watch);
    return 0;
}

void TSocketNotifier::Remove(int socket)
{
    auto found = watches.find(socket);
    if (found == watches.end())
        return;
    for (auto* notifier : {&found->second.reader, &found->second.writer}) {
        if (!*notifier)
            continue;
        (*notifier)->setEnabled(false);
        if (depth > 0)
            retired.push_back(std::move(*notifier));
    }
    watches.erase(found);
}

void TSocketNotifier::Arm(int socket, bool read)
{
    auto found = watches.find(socket);
    if (found == watches.end())
        return;
    (read ? found->second.readArmed : found->second.writeArmed) = true;
    Apply(socket, found->second);
}

void TSocketNotifier::Apply(int socket, Watch& watch)
{
    bool wantRead = (watch.mask & ReadEvents) && watch.readArmed && !watch.closed;
    bool wantWrite = ((watch.mask & FD_CONNECT) && watch.connectArmed) || ((watch.mask & FD_WRITE) && watch.writeArmed);
    Enable(watch.reader, wantRead, socket, false);
    Enable(watch.writer, wantWrite, socket, true);
}

void TSocketNotifier::Enable(std::unique_ptr<QSocketNotifier>& notifier, bool on, int socket, bool forWriting)
{
    if (notifier) {
        notifier->setEnabled(on);
        return;
    }
    if (!on)
        return;
    notifier = std::make_unique<QSocketNotifier>(socket, forWriting ? QSocketNotifier::Write : QSocketNotifier::Read);
    QObject::connect(notifier.get(), &QSocketNotifier::activated, owner.get(), [this, socket, forWriting] {
        if (forWriting)
            Writable(socket);
        else
            Readable(socket);
    });
}

void TSocketNotifier::Readable(int socket)
{
    auto found = watches.find(socket);
    if (found == watches.end())
        return;
    Watch& watch = found->second;
    // A notifier left on while its event was handled fires again in a loop that the
    // handler runs before it read: it goes off now.
    if (!watch.readArmed || watch.closed) {
        Apply(socket, watch);
        return;
    }
    const int mask = watch.mask;
    if (mask & FD_ACCEPT) {
        watch.readArmed = false;
        RaiseAndApply(socket, FD_ACCEPT, 0);
        return;
    }
    int seen = sockapi::Peek(socket);
    if (seen < 0 && sockapi::LastError() == WSAEWOULDBLOCK)
        return;
    if (seen > 0) {
        watch.readArmed = false;
        if (mask & FD_READ)
            RaiseAndApply(socket, FD_READ, 0);
        else
            Apply(socket, watch);
        return;
    }
    // The peer closed (0) or the connection broke (the error goes with FD_CLOSE).
    int error = seen == 0 ? 0 : sockapi::LastError();
    watch.closed = true;
    Apply(socket, watch);
    if (mask & FD_CLOSE)
        Raise(socket, FD_CLOSE, error);
}

void TSocketNotifier::Writable(int socket)
{
    auto found = watches.find(socket);
    if (found == watches.end())
        return;
    Watch& watch = found->second;
    if ((watch.mask & FD_CONNECT) && watch.connectArmed) {
        watch.connectArmed = false;
        int error = 0;
        if (sockapi::PendingError(socket, error) != 0)
            error = sockapi::LastError();
        uint32_t address;
        int port;
        // A socket whose connect failed at once, or never began, reads as writable too;
        // Winsock raises no FD_CONNECT for it.
        if (error == 0 && !sockapi::PeerAddress(socket, address, port)) {
            Apply(socket, watch);
            return;
        }
        RaiseAndApply(socket, FD_CONNECT, error);
        return;
    }
    if ((watch.mask & FD_WRITE) && watch.writeArmed) {
        watch.writeArmed = false;
        RaiseAndApply(socket, FD_WRITE, 0);
        return;
    }
    // Left on while an event was handled (see Readable).
    Apply(socket, watch);
}

// The notifier stays as it is while the handler runs, and takes the watch's state after
// it: a handler that reads at once, as most do, re-arms the watch, and the notifier is
// never turned off and on again, which costs the event loop a wake-up each time.
void TSocketNotifier::RaiseAndApply(int socket, int event, int error)
{
    const unsigned long long serial = watches[socket].serial;
    Raise(socket, event, error);
    auto found = watches.find(socket);
    if (found != watches.end() && found->second.serial == serial)
        Apply(socket, found->second);
}

void TSocketNotifier::Raise(int socket, int event, int error)
{
    ++depth;
    try {
        dispatch(socket, event, error);
    } catch (const std::exception& e) {
        // As the toolkit's message loop does with an error escaping an event handler:
        // show it and go on serving events.
        std::string text = e.what();
        Synchronize([&text] { Ui().Error(text); });
    } catch (...) {
        Synchronize([] { Ui().Error("Unknown error in a socket event handler"); });
    }
    if (--depth == 0)
        retired.clear();
}

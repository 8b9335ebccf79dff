#pragma once

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "net/socketevents.h"

class QObject;
class QSocketNotifier;

// Turns the readiness of sockets into network events (FD_READ, FD_WRITE, FD_CONNECT,
// FD_CLOSE, FD_ACCEPT) delivered through the event loop of the thread that created the
// notifier, as Winsock's window-message selection does. Winsock's re-enabling rules hold:
// after FD_READ (or FD_ACCEPT) nothing more is raised for the socket until ReadDone says
// the handler read (or accepted); FD_WRITE comes once after a selection that asks for it
// and again only after WriteBlocked; FD_CONNECT and FD_CLOSE come once.
// Create and destroy it on its thread; Select, ReadDone and WriteBlocked may be called
// from any thread.
class TSocketNotifier {
public:
    // The receiver of events: socket, event (one FD_ value), Winsock error (0 for none).
    using TDispatch = std::function<void(int Socket, int Event, int Error)>;

    explicit TSocketNotifier(TDispatch dispatch);
    ~TSocketNotifier();
    TSocketNotifier(const TSocketNotifier&) = delete;
    TSocketNotifier& operator=(const TSocketNotifier&) = delete;

    // Watches socket for the events of mask; 0 stops watching it. 0 on success, else -1
    // with the Winsock number in the caller's last socket error. From another thread it
    // waits until the notifier's thread has made the change, so a socket is closed only
    // after its watch ended: that thread must keep serving its event loop meanwhile.
    int Select(int socket, int mask);
    // The handler read from (or accepted on) socket: its readiness counts again.
    void ReadDone(int socket);
    // As ReadDone, but only once delay has passed: for a listener whose accept failed and
    // would fail again at once.
    void ReadDoneAfter(int socket, std::chrono::milliseconds delay);
    // A send on socket would block: raise FD_WRITE when it can take data again.
    void WriteBlocked(int socket);
    // Raises FD_READ or FD_CLOSE for socket from the event loop as if the socket had
    // shown it: for data that waits above the socket (the rest of a TLS record), or an
    // end that a read above the socket found. Dropped when the socket stops being
    // watched before its turn, so that it never reaches a later socket of that number.
    void RaiseLater(int socket, int event);

private:
    struct Watch {
        unsigned long long serial = 0;  // tells this watch from a later one of the same socket
        int mask = 0;
        bool readArmed = true;
        bool writeArmed = false;
        bool connectArmed = false;
        bool closed = false;
        std::unique_ptr<QSocketNotifier> reader;
        std::unique_ptr<QSocketNotifier> writer;
    };

    bool OnOwnerThread() const;
    void RunOnOwner(std::function<void()> fn, bool wait);
    int SelectHere(int socket, int mask);
    void Remove(int socket);
    void Arm(int socket, bool read);
    void Apply(int socket, Watch& watch);
    void Enable(std::unique_ptr<QSocketNotifier>& notifier, bool on, int socket, bool forWriting);
    void Readable(int socket);
    void Writable(int socket);
    void Raise(int socket, int event, int error);
    void RaiseAndApply(int socket, int event, int error);
    void RaiseIfSame(int socket, unsigned long long serial, int event);

    TDispatch dispatch;
    std::unique_ptr<QObject> owner;
    std::map<int, Watch> watches;  // the owner thread's only
    // Notifiers whose socket stopped being watched while an event was being handled;
    // freed once the outermost handler has returned.
    std::vector<std::unique_ptr<QSocketNotifier>> retired;
    int depth = 0;
    unsigned long long serials = 0;
};

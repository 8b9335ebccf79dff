#pragma once

#include <chrono>
#include <string>

#include "net/clientlist.h"
#include "net/customsocket.h"

// An event-driven TCP listener. Listen starts it; each accepted connection joins the
// client list and raises OnAccept; OnData, OnWrite and OnClose follow for it on the
// creating thread's event loop. Workers may send on and close client connections from
// their own threads (SendTo, SendBufTo, SendAll, CloseClient) while that loop runs; a
// handler must not free the server. A listen that fails keeps no socket; an accept that
// fails for want of descriptors is tried again after AcceptPause, and reported each time.
class TTCPServer : public TCustomSocket {
public:
    // How long accepting rests after an accept failed for want of descriptors (or memory).
    static constexpr std::chrono::milliseconds AcceptPause{100};

    TTCPServer();
    ~TTCPServer() override;

    std::string Port;  // a service name or a decimal number; "0" takes any free port
    // The local address to listen on, written as numbers; empty for every address.
    std::string BindAddress;
    TOnData OnData;
    TOnWrite OnWrite;
    TOnAccept OnAccept;
    TOnClose OnClose;
    int MaxListen = 5;

    TClientList& Clients() { return clients; }

    void Listen();
    void Close();
    void SendTo(int Socket, const std::string& Text);
    long SendBufTo(int Socket, const void* Buffer, long Length);
    void ReceiveFrom(int Socket, std::string& Text);
    // Take Socket out of the client list and close it, resetting (Abort) or gracefully;
    // nothing when it is no longer in the list, so it is closed exactly once.
    void AbortClient(int Socket);
    void CloseClient(int Socket);
    // The port the listener is bound to, or -1.
    int ListenPort() const;

    // Handles one network event of a socket, as the notifier delivers them; public so
    // that the rules can be driven with made-up events.
    void Dispatch(int Socket, int Event, int Error);

private:
    void Accept();
    void CloseListed(int Socket, bool Abort);

    TClientList clients;
};

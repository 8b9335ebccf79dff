#pragma once

#include <memory>
#include <string>

#include "net/customsocket.h"

class TTlsSession;

// An event-driven TCP connection to Host:Port. Connect starts it and returns at once;
// OnConnect, OnData, OnWrite and OnClose follow on the creating thread's event loop.
// The component goes on working after a handler returns, so a handler must not free it;
// free it from a later call (PostToMain) instead. Send may be called from any thread:
// the handle is guarded, so a send never reaches a connection that took over the
// descriptor number of a client closed meanwhile. Connect, WatchDialled, Close and the
// reads belong to the creating thread; Dial and Send to any.
class TTCPClient : public TCustomSocket {
public:
    TTCPClient();
    ~TTCPClient() override;

    TOnWrite OnWrite;
    // Bind to a local port from 1024 down to 513 before connecting, for servers that
    // only trust such ports.
    bool Authorized = false;
    std::string Host;
    std::string Port;  // a service name or a decimal number
    // Speak TLS over the connection. OnConnect then comes once the handshake has checked
    // the server's certificate against Host; a failed handshake is reported (TLS_E_FAILED
    // with the TLS library's words) and closes the client without OnConnect. Send and the
    // receives carry the session's data; an end without the server's close_notify is
    // reported (TLS_E_CUT_SHORT) before OnClose, so a cut-short answer is told from a
    // whole one.
    bool Secure = false;
    TOnData OnData;
    TOnConnect OnConnect;
    TOnClose OnClose;

    void Connect();
    // Connect in two halves, for a caller on another thread than the client's own, which
    // then bears the name look-up (a slow name server holds up nobody else) and the
    // system's work of the connect. Dial looks host up and starts a connect to it on a
    // socket of its own, which it gives; a failure is reported as Connect reports it and
    // gives -1. WatchDialled, on the client's thread, closes a connection still held and
    // makes the dialled socket the client's: FD_CONNECT follows. Host and Port are not
    // used by Dial; set them on the client's thread.
    int Dial(const std::string& host, const std::string& port);
    void WatchDialled(int Socket);
    void Close();
    void Send(const std::string& Text);
    void Receive(std::string& Text);
    long ReceiveBuf(void* Buffer, long Size);
    void PeerAddress(std::string& Text);
    // The local port of the connection, or -1.
    int LocalPort() const;
    // The Winsock error the peer's close came with: 0 for an orderly close, 10054 for a
    // reset. Set before OnClose is raised; cleared by Connect.
    int CloseError() const { return closeError; }

    // Handles one network event of a socket, as the notifier delivers them; public so
    // that the rules can be driven with made-up events.
    void Dispatch(int Socket, int Event, int Error);

private:
    bool BindAuthorized(int Socket);
    void Connected(int Socket);
    void StartTls(int Socket);
    void StepHandshake(int Socket);
    void TlsFailed(const std::string& words);
    // After a read of the session: raise FD_READ again for data the socket no longer
    // shows, or end the connection when the session ended.
    void AfterTlsRead(int Socket, bool pending, bool ended);
    long ReceiveTls(void* Buffer, long Size);
    void SendTls(const std::string& Text);
    void CloseTls(int Socket);

    std::unique_ptr<TTlsSession> tls;  // of the current connection; kept until the next
    std::atomic<int> closeError{0};
};

#include "server/pageserver.h"

#include <QObject>
#include <QTimer>

#include "core/mainthread.h"
#include "core/userinterface.h"
#include "server/givedata.h"
#include "server/pagerequest.h"

TPageServer::TPageServer(TPageServerHost* Host) : Host(Host), waits(std::make_unique<QObject>())
{
    TCPServer1.Port = "8088";
    TCPServer1.BindAddress = "127.0.0.1";
    TCPServer1.MaxListen = ListenBacklog;
    TCPServer1.WaitWriteBuffer = false;
    TCPServer1.OnAccept = [this](TCustomSocket* Sender, int Socket) { TCPServer1Accept(Sender, Socket); };
    TCPServer1.OnData = [this](TCustomSocket* Sender, int Socket) { TCPServer1Data(Sender, Socket); };
    TCPServer1.OnClose = [this](TCustomSocket* Sender, int Socket) { TCPServer1Close(Sender, Socket); };
}

TPageServer::~TPageServer()
{
    // A worker hands its connection back through the main thread's queue: wait while
    // serving it, so that every connection is answered and closed.
    closing = true;
    // A worker may be stuck sending to a browser that reads nothing: a reset ends its send
    // at once. Its socket is closed when the worker hands it back.
    for (const auto& [socket, connection] : connections)
        if (connection.answering)
            TCPServer1.ResetConnection(socket);
    WaitOnMain([this] { return answering == 0; });
    waits.reset();
}

void TPageServer::Open()
{
    TCPServer1.Listen();
    if (TCPServer1.State() != stListening)
        Ui().Status("本機網頁伺服器無法開啟 " + TCPServer1.BindAddress + ":" + TCPServer1.Port + ": "
                    + TCPServer1.ErrorText());
}

void TPageServer::TCPServer1Accept(TCustomSocket*, int Socket)
{
    // The connection stays open until its request is answered, it closes, or it has been
    // idle too long.
    TConnection& connection = connections[Socket];
    connection.serial = ++serials;
    CloseWhenIdle(Socket, connection.serial);
}

void TPageServer::CloseWhenIdle(int Socket, unsigned long long serial)
{
    QTimer::singleShot(IdleLimit, waits.get(), [this, Socket, serial] {
        auto found = connections.find(Socket);
        if (found != connections.end() && found->second.serial == serial && !found->second.answering)
            Drop(Socket);
    });
}

void TPageServer::TCPServer1Data(TCustomSocket*, int Socket)
{
    std::string data;
    TCPServer1.ReceiveFrom(Socket, data);
    auto found = connections.find(Socket);
    if (found != connections.end() && found->second.answering)
        return;  // the rest of a request whose answer is under way
    if (data.empty() || closing) {
        Drop(Socket);
        return;
    }
    TConnection& connection = connections[Socket];
    connection.received += data;
    Gathered(Socket, connection);
}

void TPageServer::TCPServer1Close(TCustomSocket*, int Socket)
{
    auto found = connections.find(Socket);
    if (found == connections.end()) {
        Drop(Socket);
        return;
    }
    TConnection& connection = found->second;
    if (!connection.answering && (connection.received.empty() || closing)) {
        Drop(Socket);
        return;
    }
    // A worker sends on this socket, or is about to for a request the peer ended by
    // half-closing: it leaves the client list, so that the component does not close it
    // under the worker, and is closed when answered.
    TCPServer1.Clients().Remove(Socket);
    connection.peerClosed = true;
    if (!connection.answering)
        StartAnswer(Socket, connection);
}

void TPageServer::Gathered(int Socket, TConnection& connection)
{
    if (connection.received.find("\r\n") != std::string::npos || connection.received.size() >= MaxRequestLine)
        StartAnswer(Socket, connection);
    else
        WaitForRestOfLine(Socket, connection);
}

void TPageServer::WaitForRestOfLine(int Socket, TConnection& connection)
{
    connection.piece = ++pieces;
    QTimer::singleShot(RequestWait, waits.get(), [this, Socket, piece = connection.piece] {
        auto found = connections.find(Socket);
        if (closing || found == connections.end() || found->second.answering || found->second.piece != piece)
            return;
        StartAnswer(Socket, found->second);
    });
}

void TPageServer::StartAnswer(int Socket, TConnection& connection)
{
    TPageRequest request = PageRequestOf(RequestTarget(FirstLine(connection.received)));
    connection.received.clear();
    connection.answering = true;
    ++answering;
    try {
        new TGiveData(TCPServer1, Socket, request.RelativePath, request.PageURL, Host,
                      [this](int answered) { Answered(answered); });
    } catch (...) {
        // No thread could be made: the connection gets no answer and is reset.
        --answering;
        bool listed = !connection.peerClosed;
        connections.erase(Socket);
        if (listed) {
            TCPServer1.AbortClient(Socket);
        } else {
            int handle = Socket;
            TCPServer1.ShutdownSocket(handle, true);
        }
        throw;
    }
}

void TPageServer::Answered(int Socket)
{
    --answering;
    auto found = connections.find(Socket);
    bool peerClosed = found != connections.end() && found->second.peerClosed;
    if (found != connections.end())
        connections.erase(found);
    // An answer cut short at closing ends with a reset, so that it is not taken for whole.
    if (peerClosed) {
        int handle = Socket;
        TCPServer1.ShutdownSocket(handle, closing);
        return;
    }
    if (closing) {
        TCPServer1.AbortClient(Socket);
        return;
    }
    // Bytes left unread would turn the graceful close into a reset, and a reset makes the
    // browser drop the answer it has not read yet.
    if (TCPServer1.BytesAvailable(Socket) > 0) {
        std::string rest;
        TCPServer1.ReceiveFrom(Socket, rest);
    }
    TCPServer1.CloseClient(Socket);
}

void TPageServer::Drop(int Socket)
{
    connections.erase(Socket);
    TCPServer1.AbortClient(Socket);
}

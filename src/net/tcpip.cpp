#include "net/tcpip.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <vector>

#include "core/settings.h"
#include "net/hostaddress.h"
#include "net/httptimeouts.h"
#include "net/socketcalls.h"
#include "net/tcpiperror.h"
#include "net/tlssession.h"
#include "platform/socketerrors.h"

namespace {

constexpr int ReadChunk = 4096;

int Milliseconds(std::chrono::milliseconds value)
{
    return static_cast<int>(value.count());
}

}  // namespace

TTcpIp::TTcpIp() = default;

TTcpIp::~TTcpIp()
{
    CloseConnection();
}

// The session was set up on the connected socket; the handshake runs here, on this
// thread, and must end within the connect time-out.
void TTcpIp::StartTls()
{
    tls = std::make_unique<TTlsSession>();
    std::string words;
    if (tls->Start(socket, Host)) {
        const auto limit = std::chrono::steady_clock::now() + HttpTimeouts().Connect;
        for (;;) {
            TTlsStep step = tls->Handshake();
            if (step == TTlsStep::Done)
                return;
            auto left = std::chrono::duration_cast<std::chrono::milliseconds>(limit - std::chrono::steady_clock::now());
            if (step != TTlsStep::WantRead && step != TTlsStep::WantWrite) {
                words = tls->ErrorText();
                break;
            }
            if (left.count() <= 0 || !WaitForTls(step, Milliseconds(left))) {
                words = "the handshake took too long";
                break;
            }
        }
    } else {
        words = tls->ErrorText();
    }
    CloseConnection();
    throw ETcpIpError("Secure connection to " + Host + " failed: " + words);
}

bool TTcpIp::WaitForTls(TTlsStep step, int milliseconds)
{
    return sockapi::WaitReady(socket, step == TTlsStep::WantWrite, milliseconds) > 0;
}

void TTcpIp::Trace(const std::string& Msg, int Level) const
{
    if (OnTrace)
        OnTrace(Msg, Level);
}

void TTcpIp::Get()
{
    OpenConnection();
    body.clear();
    ReadBody(static_cast<size_t>(std::max<std::int64_t>(Settings().maxFileSize, 0)));
    CloseConnection();
}

void TTcpIp::ReadBody(size_t Limit)
{
    std::vector<char> buffer(ReadChunk);
    while (!Finished()) {
        int count = 0;
        ReadBlock(buffer.data(), ReadChunk, count);
        if (body.size() + static_cast<size_t>(count) > Limit)
            throw ETcpIpError("Body from " + Host + " larger than " + std::to_string(Limit) + " bytes");
        body.append(buffer.data(), static_cast<size_t>(count));
    }
    RaiseIfBroken();
}

void TTcpIp::RaiseIfBroken()
{
    // A reset can end the connection before a read reports it: Finished sees the socket
    // unconnected, and the reset waits in the socket's pending error. A secure session
    // reports its end itself (CutShort), and its own alert to a closed peer leaves an
    // error there that says nothing of the answer.
    int pending = 0;
    if (readError == 0 && !tls && socket != sockapi::InvalidSocket && sockapi::PendingError(socket, pending) == 0)
        readError = pending;
    if (readError != 0)
        throw ETcpIpError("Connection to " + Host + " broken: " + WinsockErrorText(readError));
}

void TTcpIp::OpenConnection()
{
    address = ResolveHost(Host);
    if (address == sockapi::NoAddress)
        throw ETcpIpError("Couldn't resolve hostname " + Host);
    CloseConnection();
    int error = 0;
    socket = sockapi::Open(true);
    if (socket == sockapi::InvalidSocket) {
        error = sockapi::LastError();
    } else if (!ConnectSocket(error)) {
        sockapi::Close(socket);
        socket = sockapi::InvalidSocket;
        Trace("Failed to open output socket " + std::to_string(Port) + " to host " + DottedAddress(address), 1);
    } else {
        Trace("Opened output socket " + std::to_string(Port) + " to host " + DottedAddress(address)
                  + " successfully; ID " + std::to_string(socket),
              1);
    }
    if (socket == sockapi::InvalidSocket)
        throw ESocketError(error);
    ended = false;
    readError = 0;
    cutShort = false;
    if (Secure)
        StartTls();
}

// Connects without blocking, so that a dead server costs at most the connect time-out,
// then makes the socket blocking for the exchange.
bool TTcpIp::ConnectSocket(int& error)
{
    const THttpTimeouts timeouts = HttpTimeouts();
    if (sockapi::Connect(socket, address, Port) != 0) {
        if (sockapi::LastError() != WSAEINPROGRESS) {
            error = sockapi::LastError();
            return false;
        }
        int ready = sockapi::WaitReady(socket, true, Milliseconds(timeouts.Connect));
        if (ready <= 0) {
            error = ready == 0 ? WSAETIMEDOUT : sockapi::LastError();
            return false;
        }
        if (sockapi::PendingError(socket, error) != 0)
            error = sockapi::LastError();
        if (error != 0)
            return false;
    }
    // A secure connection stays non-blocking: its session is driven by waits on the socket.
    if (!Secure
        && (sockapi::SetBlocking(socket, true) != 0
            || sockapi::SetSendTimeout(socket, Milliseconds(timeouts.NoData)) != 0)) {
        error = sockapi::LastError();
        return false;
    }
    return true;
}

void TTcpIp::CloseConnection()
{
    if (socket == sockapi::InvalidSocket)
        return;
    tls.reset();
    sockapi::Close(socket);
    Trace("Closed socket ID " + std::to_string(socket), 1);
    socket = sockapi::InvalidSocket;
}

bool TTcpIp::Finished()
{
    uint32_t peer;
    int peerPort;
    return ended || socket == sockapi::InvalidSocket || (!tls && !sockapi::PeerAddress(socket, peer, peerPort));
}

void TTcpIp::ReadBlock(char* Buffer, int Size, int& Count)
{
    std::vector<char> scratch;
    if (!Buffer) {
        scratch.resize(static_cast<size_t>(Size));
        Buffer = scratch.data();
    }
    Count = 0;
    if (socket == sockapi::InvalidSocket) {
        ended = true;
        return;
    }
    if (tls) {
        Count = ReadTls(Buffer, Size);
        return;
    }
    const int noData = Milliseconds(HttpTimeouts().NoData);
    while (!ended) {
        int ready = sockapi::WaitReady(socket, false, noData);
        if (ready == 0)
            throw ETcpIpError("Connection timed out");
        long received = ready < 0 ? -1 : sockapi::Receive(socket, Buffer, static_cast<size_t>(Size), 0);
        if (received > 0) {
            Count = static_cast<int>(received);
            Trace("Received " + std::to_string(Count) + " bytes on socket ID " + std::to_string(socket), 1);
            return;
        }
        // Only this call's own result counts: an end or an error ends the connection,
        // a would-block (nothing after all) waits again.
        if (received < 0 && sockapi::LastError() != WSAEWOULDBLOCK)
            readError = sockapi::LastError();
        if (received == 0 || readError != 0)
            ended = true;
    }
}

bool TTcpIp::ReadLine(std::string& Line)
{
    size_t unlimited = SIZE_MAX;
    return ReadLine(Line, unlimited);
}

bool TTcpIp::ReadLine(std::string& Line, size_t& Budget)
{
    std::string text;
    bool afterCr = false;
    for (;;) {
        if (Budget == 0) {
            Line.clear();
            return false;
        }
        char byte = 0;
        int count = 0;
        ReadBlock(&byte, 1, count);
        if (count == 1) {
            --Budget;
            if (byte == '\r') {
                afterCr = true;
            } else if (byte == '\n') {
                if (afterCr) {
                    Line = text;
                    return true;
                }
            } else {
                text += byte;
                afterCr = false;
            }
        }
        if (Finished()) {
            Line.clear();
            return false;
        }
    }
}

int TTcpIp::ReadTls(char* Buffer, int Size)
{
    const int noData = Milliseconds(HttpTimeouts().NoData);
    while (!ended) {
        TTlsStep step;
        long received = tls->Read(Buffer, static_cast<size_t>(Size), step);
        if (received > 0) {
            Trace("Received " + std::to_string(received) + " bytes on socket ID " + std::to_string(socket), 1);
            return static_cast<int>(received);
        }
        if (step == TTlsStep::WantRead || step == TTlsStep::WantWrite) {
            if (!WaitForTls(step, noData))
                throw ETcpIpError("Connection timed out");
            continue;
        }
        // Closed: the server's close_notify; anything else ends what may be cut short.
        cutShort = step != TTlsStep::Closed;
        if (cutShort)
            tls->EndedWithoutNotify();
        ended = true;
    }
    return 0;
}

void TTcpIp::WriteText(const std::string& Text)
{
    if (tls) {
        size_t done = 0;
        while (done < Text.size()) {
            TTlsStep step;
            long sent = tls->Write(Text.data() + done, Text.size() - done, step);
            if (sent > 0)
                done += static_cast<size_t>(sent);
            else if ((step != TTlsStep::WantRead && step != TTlsStep::WantWrite)
                     || !WaitForTls(step, Milliseconds(HttpTimeouts().NoData)))
                return;  // as a failed send: the answer, or its absence, tells the rest
        }
        Trace("Sent " + std::to_string(done) + " bytes on socket ID " + std::to_string(socket), 1);
        return;
    }
    long sent = sockapi::Send(socket, Text.data(), Text.size(), 0);
    if (sent >= 0)
        Trace("Sent " + std::to_string(sent) + " bytes on socket ID " + std::to_string(socket), 1);
}

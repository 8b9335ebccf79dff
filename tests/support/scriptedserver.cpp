#include "scriptedserver.h"

#include <algorithm>
#include <cerrno>
#include <stdexcept>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr int Closed = 0;
constexpr int Stopped = -1;
constexpr int TimedOut = -2;

// Waits for fd to be readable, or for the stop event; Stopped on stop or error.
int WaitReadable(int fd, int stopEvent, std::chrono::milliseconds timeout)
{
    pollfd watch[2] = {{fd, POLLIN, 0}, {stopEvent, POLLIN, 0}};
    for (;;) {
        int result = ::poll(watch, 2, static_cast<int>(timeout.count()));
        if (result < 0 && errno == EINTR)
            continue;
        if (result < 0 || (watch[1].revents & POLLIN))
            return Stopped;
        return result == 0 ? TimedOut : 1;
    }
}

// Bytes read (> 0), Closed, Stopped or TimedOut.
int ReceiveSome(int fd, int stopEvent, char* buffer, size_t size, std::chrono::milliseconds timeout)
{
    int ready = WaitReadable(fd, stopEvent, timeout);
    if (ready != 1)
        return ready;
    for (;;) {
        ssize_t n = ::recv(fd, buffer, size, 0);
        if (n < 0 && errno == EINTR)
            continue;
        return n < 0 ? Closed : static_cast<int>(n);
    }
}

bool EndsWith(const std::string& text, const std::string& end)
{
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

constexpr std::chrono::milliseconds Forever{-1};

}  // namespace

ScriptedServer::Script& ScriptedServer::Script::ReadRequest()
{
    steps.push_back({Kind::ReadRequest, {}, {}});
    return *this;
}

ScriptedServer::Script& ScriptedServer::Script::ReadAll(std::chrono::milliseconds quiet)
{
    steps.push_back({Kind::ReadAll, {}, quiet});
    return *this;
}

ScriptedServer::Script& ScriptedServer::Script::Send(std::string bytes)
{
    steps.push_back({Kind::Send, std::move(bytes), {}});
    return *this;
}

ScriptedServer::Script& ScriptedServer::Script::SendFiller(size_t count, char byte)
{
    steps.push_back({Kind::SendFiller, std::string(1, byte), {}, count});
    return *this;
}

ScriptedServer::Script& ScriptedServer::Script::Signal(std::string name)
{
    steps.push_back({Kind::Signal, std::move(name), {}});
    return *this;
}

ScriptedServer::Script& ScriptedServer::Script::Await(std::string name, std::chrono::milliseconds limit)
{
    steps.push_back({Kind::Await, std::move(name), limit});
    return *this;
}

ScriptedServer::Script& ScriptedServer::Script::Pause(std::chrono::milliseconds time)
{
    steps.push_back({Kind::Pause, {}, time});
    return *this;
}

ScriptedServer::Script& ScriptedServer::Script::Hold()
{
    steps.push_back({Kind::Hold, {}, {}});
    return *this;
}

ScriptedServer::Script& ScriptedServer::Script::Abort()
{
    abort = true;
    return *this;
}

ScriptedServer::Script ScriptedServer::Script::Answer(std::string reply)
{
    return Script().ReadRequest().Send(std::move(reply));
}

ScriptedServer::Script ScriptedServer::Script::CloseWithoutReply()
{
    return Script().ReadRequest();
}

ScriptedServer::Script ScriptedServer::Script::CloseAtOnce()
{
    return Script();
}

ScriptedServer::Script ScriptedServer::Script::ByRequest()
{
    Script script;
    script.steps.push_back({Kind::Route, {}, {}});
    return script;
}

ScriptedServer::ScriptedServer(const std::string& address) : address(address)
{
    stopEvent = ::eventfd(0, EFD_CLOEXEC);
    listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in name{};
    name.sin_family = AF_INET;
    name.sin_port = 0;
    socklen_t length = sizeof name;
    if (stopEvent < 0 || listener < 0 || ::inet_pton(AF_INET, address.c_str(), &name.sin_addr) != 1
        || ::bind(listener, reinterpret_cast<sockaddr*>(&name), sizeof name) != 0 || ::listen(listener, 16) != 0
        || ::getsockname(listener, reinterpret_cast<sockaddr*>(&name), &length) != 0) {
        int error = errno;
        if (listener >= 0)
            ::close(listener);
        if (stopEvent >= 0)
            ::close(stopEvent);
        throw std::runtime_error("ScriptedServer cannot listen on " + address + ": " + std::to_string(error));
    }
    port = ntohs(name.sin_port);
    acceptor = std::thread([this] { AcceptLoop(); });
}

ScriptedServer::~ScriptedServer()
{
    Stop();
    ::close(stopEvent);
}

std::string ScriptedServer::Url(const std::string& path) const
{
    return "http://" + address + ":" + std::to_string(port) + path;
}

void ScriptedServer::Push(Script script)
{
    std::lock_guard guard(lock);
    scripts.push_back(std::move(script));
}

void ScriptedServer::PushFor(const std::string& request, Script script)
{
    std::lock_guard guard(lock);
    for (auto& [key, queued] : routes) {
        if (key == request) {
            queued.push_back(std::move(script));
            return;
        }
    }
    routes.emplace_back(request, std::deque<Script>{std::move(script)});
}

void ScriptedServer::SetDefault(Script script)
{
    std::lock_guard guard(lock);
    defaultScript = std::move(script);
}

int ScriptedServer::Connections() const
{
    std::lock_guard guard(lock);
    return static_cast<int>(records.size());
}

std::string ScriptedServer::Request(int index) const
{
    std::lock_guard guard(lock);
    return index >= 0 && index < static_cast<int>(records.size()) ? records[static_cast<size_t>(index)].received
                                                                  : std::string();
}

int ScriptedServer::PeerPort(int index) const
{
    std::lock_guard guard(lock);
    return index >= 0 && index < static_cast<int>(records.size()) ? records[static_cast<size_t>(index)].peerPort : -1;
}

bool ScriptedServer::WaitForConnections(int count, std::chrono::milliseconds timeout) const
{
    std::unique_lock guard(lock);
    return changed.wait_for(guard, timeout, [&] { return static_cast<int>(records.size()) >= count; });
}

bool ScriptedServer::WaitForFinished(int index, std::chrono::milliseconds timeout) const
{
    std::unique_lock guard(lock);
    return changed.wait_for(guard, timeout, [&] {
        return index < static_cast<int>(records.size()) && records[static_cast<size_t>(index)].finished;
    });
}

long long ScriptedServer::BytesSent() const
{
    std::lock_guard guard(lock);
    return bytesSent;
}

void ScriptedServer::Stop()
{
    {
        std::lock_guard guard(lock);
        if (stopping)
            return;
        stopping = true;
    }
    changed.notify_all();
    uint64_t one = 1;
    [[maybe_unused]] ssize_t written = ::write(stopEvent, &one, sizeof one);
    acceptor.join();
    // Closed at once, so that connecting to a stopped server is refused.
    ::close(listener);
    listener = -1;
    for (std::thread& player : players)
        player.join();
}

ScriptedServer::Script ScriptedServer::NextScript()
{
    std::lock_guard guard(lock);
    if (scripts.empty())
        return defaultScript;
    Script script = std::move(scripts.front());
    scripts.pop_front();
    return script;
}

void ScriptedServer::AcceptLoop()
{
    for (;;) {
        if (WaitReadable(listener, stopEvent, Forever) != 1)
            return;
        sockaddr_in peer{};
        socklen_t length = sizeof peer;
        int fd = ::accept4(listener, reinterpret_cast<sockaddr*>(&peer), &length, SOCK_CLOEXEC);
        if (fd < 0)
            continue;
        Script script = NextScript();
        int index;
        {
            std::lock_guard guard(lock);
            index = static_cast<int>(records.size());
            records.push_back(Record{});
            records.back().peerPort = ntohs(peer.sin_port);
        }
        changed.notify_all();
        players.emplace_back([this, index, fd, script] { Play(index, fd, script); });
    }
}

void ScriptedServer::Play(int index, int fd, const Script& script)
{
    bool abort = script.abort;
    PlaySteps(index, fd, script, abort);
    if (abort) {
        linger reset{1, 0};
        ::setsockopt(fd, SOL_SOCKET, SO_LINGER, &reset, sizeof reset);
    }
    ::close(fd);
    {
        std::lock_guard guard(lock);
        records[static_cast<size_t>(index)].finished = true;
    }
    changed.notify_all();
}

bool ScriptedServer::PlaySteps(int index, int fd, const Script& script, bool& abort)
{
    for (const Script::Step& step : script.steps) {
        bool going = true;
        switch (step.kind) {
        case Script::Kind::ReadRequest:
            going = ReadRequest(index, fd);
            break;
        case Script::Kind::ReadAll:
            ReadAll(index, fd, step.time);
            break;
        case Script::Kind::Send:
            going = SendAll(fd, step.bytes);
            break;
        case Script::Kind::SendFiller:
            going = SendFiller(fd, step.count, step.bytes[0]);
            break;
        case Script::Kind::Pause:
            going = Sleep(step.time);
            break;
        case Script::Kind::Hold:
            Hold(index, fd);
            going = false;
            break;
        case Script::Kind::Signal: {
            std::lock_guard guard(lock);
            signals.push_back(step.bytes);
            changed.notify_all();
            break;
        }
        case Script::Kind::Await:
            going = Await(step.bytes, step.time);
            break;
        case Script::Kind::Route: {
            if (!ReadRequest(index, fd))
                return false;
            Script routed = ScriptFor(index);
            abort = abort || routed.abort;
            going = PlaySteps(index, fd, routed, abort);
            break;
        }
        }
        if (!going)
            return false;
    }
    return true;
}

ScriptedServer::Script ScriptedServer::ScriptFor(int index)
{
    std::lock_guard guard(lock);
    const std::string& request = records[static_cast<size_t>(index)].received;
    for (auto& [key, queued] : routes) {
        if (request.compare(0, key.size(), key) == 0 && request.size() > key.size() && request[key.size()] == ' '
            && !queued.empty()) {
            Script script = std::move(queued.front());
            queued.pop_front();
            return script;
        }
    }
    return Script();
}

bool ScriptedServer::Await(const std::string& name, std::chrono::milliseconds limit)
{
    std::unique_lock guard(lock);
    changed.wait_for(guard, limit, [&] {
        return stopping || std::find(signals.begin(), signals.end(), name) != signals.end();
    });
    return !stopping;
}

bool ScriptedServer::ReadSome(int index, int fd, std::chrono::milliseconds timeout, bool& timedOut)
{
    char buffer[4096];
    int n = ReceiveSome(fd, stopEvent, buffer, sizeof buffer, timeout);
    timedOut = n == TimedOut;
    if (n <= 0)
        return timedOut;
    std::lock_guard guard(lock);
    records[static_cast<size_t>(index)].received.append(buffer, static_cast<size_t>(n));
    return true;
}

bool ScriptedServer::ReadRequest(int index, int fd)
{
    // One byte at a time, so that nothing after the header is taken.
    for (;;) {
        char byte;
        int n = ReceiveSome(fd, stopEvent, &byte, 1, Forever);
        if (n == Stopped)
            return false;
        if (n == Closed)
            return true;
        std::lock_guard guard(lock);
        std::string& received = records[static_cast<size_t>(index)].received;
        received += byte;
        if (EndsWith(received, "\r\n\r\n"))
            return true;
    }
}

void ScriptedServer::ReadAll(int index, int fd, std::chrono::milliseconds quiet)
{
    bool timedOut = false;
    while (ReadSome(index, fd, quiet, timedOut) && !timedOut) {
    }
}

bool ScriptedServer::SendAll(int fd, const std::string& bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::send(fd, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<size_t>(n);
        std::lock_guard guard(lock);
        bytesSent += n;
    }
    return true;
}

bool ScriptedServer::SendFiller(int fd, size_t count, char byte)
{
    const std::string chunk(65536, byte);
    while (count > 0) {
        size_t size = std::min(count, chunk.size());
        if (!SendAll(fd, chunk.substr(0, size)))
            return false;
        count -= size;
    }
    return true;
}

bool ScriptedServer::Sleep(std::chrono::milliseconds time)
{
    std::unique_lock guard(lock);
    return !changed.wait_for(guard, time, [&] { return stopping; });
}

void ScriptedServer::Hold(int index, int fd)
{
    bool timedOut = false;
    while (ReadSome(index, fd, Forever, timedOut)) {
    }
}

#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// A TCP server for tests that plays a script on each connection it accepts.
//
// It listens on a loopback address (127.0.0.1 unless told another 127.x address) on a
// port the system picks, and says which through Port(). The first connection plays the
// first pushed script, the second the second, and so on; connections beyond them play
// the default script (close at once, unless SetDefault says otherwise). Each connection
// runs on its own thread, so one that holds does not stop the others.
//
// A script is a list of steps; the connection is closed when the last one is done:
//     ScriptedServer server;
//     server.Push(ScriptedServer::Script().ReadRequest().Send("HTTP/1.0 200 OK\r\n\r\nhi"));
//     server.Push(ScriptedServer::Script().ReadRequest().Hold());   // accepts, never answers
//     ... connect to server.Address() : server.Port() ...
//     server.Request(0)   // the bytes of the first request, up to its empty line
//
// Everything a connection reads is recorded, in order, as that connection's request.
// Stop (also run by the destructor) ends every connection, including held ones, and
// waits for their threads. Nothing else is needed to clean up.
//
// When the order of connections is not known (several grab threads at once), scripts can
// be chosen by request instead: a connection playing Script::ByRequest() reads the request
// and then plays the next script pushed with PushFor for its method and path, such as
// "GET /a.gif" (or closes, when none is left). Signal and Await let the scripts of two
// connections wait for each other.
class ScriptedServer {
public:
    class Script {
    public:
        // Reads up to and including the empty line that ends a request header (or until
        // the peer closes).
        Script& ReadRequest();
        // Reads until the peer closes, or until nothing has come for quiet.
        Script& ReadAll(std::chrono::milliseconds quiet = std::chrono::milliseconds(2000));
        Script& Send(std::string bytes);
        // Sends count bytes of filler without holding them in memory.
        Script& SendFiller(size_t count, char byte = 'x');
        Script& Pause(std::chrono::milliseconds time);
        // Keeps the connection open without answering, reading what comes, until the
        // server stops or the peer closes.
        Script& Hold();
        // Ends the connection with a reset instead of a graceful close.
        Script& Abort();
        // Marks name as reached, for the Await of other connections.
        Script& Signal(std::string name);
        // Waits until name was signalled (for up to limit, then goes on).
        Script& Await(std::string name, std::chrono::milliseconds limit = std::chrono::milliseconds(10000));

        // Common scripts: read the request and send reply; read the request and close
        // without a reply; close at once without reading.
        static Script Answer(std::string reply);
        static Script CloseWithoutReply();
        static Script CloseAtOnce();
        // Reads the request, then plays what PushFor gave for it.
        static Script ByRequest();

    private:
        friend class ScriptedServer;
        enum class Kind { ReadRequest, ReadAll, Send, SendFiller, Pause, Hold, Signal, Await, Route };
        struct Step {
            Kind kind;
            std::string bytes;
            std::chrono::milliseconds time{0};
            size_t count = 0;
        };
        std::vector<Step> steps;
        bool abort = false;
    };

    explicit ScriptedServer(const std::string& address = "127.0.0.1");
    ~ScriptedServer();
    ScriptedServer(const ScriptedServer&) = delete;
    ScriptedServer& operator=(const ScriptedServer&) = delete;

    const std::string& Address() const { return address; }
    int Port() const { return port; }
    // "http://address:port" followed by path.
    std::string Url(const std::string& path = "/") const;

    void Push(Script script);
    // A script for a request whose first line begins with request ("GET /a.gif"), played
    // after the request was read; scripts for one request are played in the order pushed.
    void PushFor(const std::string& request, Script script);
    void SetDefault(Script script);

    int Connections() const;
    // What connection index (0 for the first) has read so far; empty for one not made.
    std::string Request(int index) const;
    // The peer's port of connection index, or -1.
    int PeerPort(int index) const;
    // Waits until count connections were accepted; false when the time-out passed.
    bool WaitForConnections(int count, std::chrono::milliseconds timeout) const;
    // Waits until connection index has played its whole script and closed.
    bool WaitForFinished(int index, std::chrono::milliseconds timeout) const;
    // How many bytes the server has sent on all connections.
    long long BytesSent() const;

    void Stop();

private:
    struct Record {
        std::string received;
        int peerPort = -1;
        bool finished = false;
    };

    void AcceptLoop();
    void Play(int index, int fd, const Script& script);
    // Plays the steps of script; false once the connection is over.
    bool PlaySteps(int index, int fd, const Script& script, bool& abort);
    Script ScriptFor(int index);
    bool SendFiller(int fd, size_t count, char byte);
    bool Await(const std::string& name, std::chrono::milliseconds limit);
    // Reads what is there into the connection's record; false once the peer closed or
    // the server stops.
    bool ReadSome(int index, int fd, std::chrono::milliseconds timeout, bool& timedOut);
    bool ReadRequest(int index, int fd);
    void ReadAll(int index, int fd, std::chrono::milliseconds quiet);
    bool SendAll(int fd, const std::string& bytes);
    bool Sleep(std::chrono::milliseconds time);  // false when the server stops meanwhile
    void Hold(int index, int fd);
    Script NextScript();

    std::string address;
    int port = 0;
    int listener = -1;
    int stopEvent = -1;

    mutable std::mutex lock;
    mutable std::condition_variable changed;
    bool stopping = false;
    std::deque<Script> scripts;
    std::vector<std::pair<std::string, std::deque<Script>>> routes;
    std::vector<std::string> signals;
    long long bytesSent = 0;
    Script defaultScript;
    std::vector<Record> records;
    std::thread acceptor;
    std::vector<std::thread> players;
};

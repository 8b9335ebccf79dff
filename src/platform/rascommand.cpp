#include "platform/rascommand.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>

#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

// More than any answer of the programs we run; a program that floods is cut off here.
constexpr size_t outputLimit = 1 << 20;
// How often a wait looks whether the child has ended.
constexpr std::chrono::milliseconds pollSlice(50);

class Descriptor {
public:
    Descriptor() = default;
    explicit Descriptor(int fd) : fd(fd) {}
    ~Descriptor() { Close(); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    Descriptor& operator=(Descriptor&& other) noexcept
    {
        std::swap(fd, other.fd);
        return *this;
    }
    int get() const { return fd; }
    bool open() const { return fd >= 0; }
    void Close()
    {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }

private:
    int fd = -1;
};

// Keeps a pipe end away from 0, 1 and 2, where it would clash with the child's standard
// streams when this process was started with one of them closed.
Descriptor AboveStandardStreams(int fd)
{
    if (fd > 2)
        return Descriptor(fd);
    int moved = ::fcntl(fd, F_DUPFD_CLOEXEC, 3);
    ::close(fd);
    return Descriptor(moved);
}

struct Pipe {
    Descriptor read;
    Descriptor write;
};

bool MakePipe(Pipe& pipe)
{
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0)
        return false;
    pipe.read = AboveStandardStreams(ends[0]);
    pipe.write = AboveStandardStreams(ends[1]);
    return pipe.read.open() && pipe.write.open();
}

void SetNonBlocking(int fd)
{
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
}

// A child that ends before it has read its input must not kill us with SIGPIPE: the
// signal is held back on this thread while we write and a pending one is taken away.
class SigpipeHeld {
public:
    SigpipeHeld()
    {
        sigemptyset(&pipeOnly);
        sigaddset(&pipeOnly, SIGPIPE);
        sigset_t pending;
        sigpending(&pending);
        wasPending = sigismember(&pending, SIGPIPE) == 1;
        pthread_sigmask(SIG_BLOCK, &pipeOnly, &previous);
    }
    ~SigpipeHeld()
    {
        sigset_t pending;
        sigpending(&pending);
        if (!wasPending && sigismember(&pending, SIGPIPE) == 1) {
            timespec now {};
            sigtimedwait(&pipeOnly, nullptr, &now);
        }
        pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    }
    SigpipeHeld(const SigpipeHeld&) = delete;
    SigpipeHeld& operator=(const SigpipeHeld&) = delete;

private:
    sigset_t pipeOnly;
    sigset_t previous;
    bool wasPending = false;
};

// Reads what is there now; closes the descriptor at its end or on an error.
void ReadAvailable(Descriptor& fd, std::string& text)
{
    char buffer[8192];
    while (fd.open()) {
        ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
        if (n > 0) {
            text.append(buffer, std::min(static_cast<size_t>(n), outputLimit - std::min(outputLimit, text.size())));
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            return;
        fd.Close();
    }
}

void WriteAvailable(Descriptor& fd, const std::string& input, size_t& written)
{
    while (fd.open() && written < input.size()) {
        ssize_t n = ::write(fd.get(), input.data() + written, input.size() - written);
        if (n > 0) {
            written += static_cast<size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            return;
        fd.Close();  // the child closed its input: the rest is not wanted
    }
    fd.Close();
}

pid_t Spawn(const std::string& program, const std::vector<std::string>& arguments, Pipe& in, Pipe& out,
            Pipe& err, int& error)
{
    std::vector<std::string> words{program};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in.read.get(), STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, out.write.get(), STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, err.write.get(), STDERR_FILENO);

    // A group of its own, so that a time-out takes down whatever the program started;
    // default signals, whatever this thread holds back.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    posix_spawnattr_setpgroup(&attributes, 0);
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigmask(&attributes, &none);
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    posix_spawnattr_setsigdefault(&attributes, &defaults);

    pid_t pid = -1;
    error = ::posix_spawn(&pid, program.c_str(), &actions, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    return error == 0 ? pid : -1;
}

int ExitCodeOf(int status)
{
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

TCommandResult RunCommand(const std::string& program, const std::vector<std::string>& arguments,
                          const std::string& input, std::chrono::milliseconds timeout)
{
    TCommandResult result;
    Pipe in, out, err;
    if (!MakePipe(in) || !MakePipe(out) || !MakePipe(err)) {
        result.failure = "Cannot make a pipe for \"" + program + "\": " + std::strerror(errno);
        return result;
    }
    SigpipeHeld held;
    int error = 0;
    pid_t pid = Spawn(program, arguments, in, out, err, error);
    if (pid < 0) {
        result.failure = "Cannot start \"" + program + "\": " + std::strerror(error);
        return result;
    }
    result.started = true;
    in.read.Close();
    out.write.Close();
    err.write.Close();
    SetNonBlocking(in.write.get());
    SetNonBlocking(out.read.get());
    SetNonBlocking(err.read.get());

    Clock::time_point deadline = Clock::now() + timeout;
    size_t written = 0;
    if (input.empty())
        in.write.Close();
    int status = 0;
    for (;;) {
        if (::waitpid(pid, &status, WNOHANG) == pid) {
            ReadAvailable(out.read, result.output);
            ReadAvailable(err.read, result.errors);
            result.exitCode = ExitCodeOf(status);
            return result;
        }
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0)
            break;
        pollfd watched[3];
        nfds_t count = 0;
        if (out.read.open())
            watched[count++] = {out.read.get(), POLLIN, 0};
        if (err.read.open())
            watched[count++] = {err.read.get(), POLLIN, 0};
        if (in.write.open())
            watched[count++] = {in.write.get(), POLLOUT, 0};
        if (::poll(watched, count, static_cast<int>(std::min(left, pollSlice).count())) < 0 && errno != EINTR)
            break;
        ReadAvailable(out.read, result.output);
        ReadAvailable(err.read, result.errors);
        WriteAvailable(in.write, input, written);
    }
    ::kill(-pid, SIGKILL);
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    result.timedOut = true;
    result.failure = "\"" + program + "\" did not finish within " + std::to_string(timeout.count()) + " ms";
    return result;
}

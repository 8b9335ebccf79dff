#include "nginxserver.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/process.h"

namespace {

const char* const kNginx = "/usr/sbin/nginx";

bool Accepts(const std::string& address, int port)
{
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    peer.sin_port = htons(static_cast<uint16_t>(port));
    ::inet_pton(AF_INET, address.c_str(), &peer.sin_addr);
    bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&peer), sizeof peer) == 0;
    ::close(fd);
    return ok;
}

// nginx ends with the test program, even when that is killed before its clean-up.
pid_t StartWithParent(std::vector<std::string> arguments)
{
    std::vector<char*> argv{const_cast<char*>(kNginx)};
    for (std::string& word : arguments)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    pid_t parent = ::getpid();
    pid_t pid = ::fork();
    if (pid == 0) {
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (::getppid() != parent)
            ::_exit(1);
        ::execv(kNginx, argv.data());
        ::_exit(127);
    }
    return pid;
}

std::string TlsLines(const NginxServer::Options& options)
{
    if (options.certificate.empty())
        return {};
    return "    ssl_certificate " + options.certificate + ";\n    ssl_certificate_key " + options.key
           + ";\n    ssl_protocols TLSv1.2 TLSv1.3;\n";
}

}  // namespace

int FreePort(const std::string& address)
{
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    ::inet_pton(AF_INET, address.c_str(), &local.sin_addr);
    ::bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof local);
    socklen_t size = sizeof local;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&local), &size);
    ::close(fd);
    return ntohs(local.sin_port);
}

bool NginxServer::Available()
{
    return ::access(kNginx, X_OK) == 0;
}

NginxServer::NginxServer(const std::string& root, const std::string& address)
    : NginxServer(root, address, Options{})
{
}

NginxServer::NginxServer(const std::string& root, const std::string& address, const Options& options)
    : options(options), root(root), address(address)
{
    if (!Available()) {
        error = "nginx is not installed (Debian package nginx-light)";
        return;
    }
    std::string pattern = "/tmp/zanvik-nginx-XXXXXX";
    folder = ::mkdtemp(pattern.data()) ? pattern : std::string();
    std::filesystem::create_directories(folder + "/temp");
    for (int attempt = 0; attempt < 5 && pid <= 0; ++attempt) {
        port = FreePort(address);
        std::ofstream(folder + "/nginx.conf")
            << "error_log " << folder << "/error.log;\n"
            << "pid " << folder << "/nginx.pid;\n"
            << "events { worker_connections 256; }\n"
            << "http {\n"
            << "  access_log off;\n"
            << "  client_body_temp_path " << folder << "/temp;\n"
            << "  proxy_temp_path " << folder << "/temp;\n"
            << "  fastcgi_temp_path " << folder << "/temp;\n"
            << "  uwsgi_temp_path " << folder << "/temp;\n"
            << "  scgi_temp_path " << folder << "/temp;\n"
            << "  types { text/html html htm; text/css css; image/gif gif; image/png png; image/jpeg jpg; "
               "font/woff2 woff2; video/mp4 mp4; text/plain txt; }\n"
            << "  default_type application/octet-stream;\n"
            << "  server {\n"
            << "    listen " << address << ":" << port << (options.certificate.empty() ? "" : " ssl") << ";\n"
            << "    root " << root << ";\n"
            << TlsLines(options) << options.serverLines << "\n"
            << "  }\n"
            << "}\n";
        pid_t started = StartWithParent({"-p", folder, "-c", folder + "/nginx.conf", "-g",
                                         "daemon off; master_process off;"});
        if (started <= 0)
            break;
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (std::chrono::steady_clock::now() < deadline) {
            if (Accepts(address, port)) {
                pid = started;
                break;
            }
            if (!ProgramRunning(started))
                break;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        if (pid <= 0 && ProgramRunning(started)) {
            ::kill(started, SIGKILL);
            WaitProgram(started);
        }
    }
    if (pid <= 0) {
        std::ifstream log(folder + "/error.log");
        error = "nginx did not start: " + std::string(std::istreambuf_iterator<char>(log), {});
    }
}

NginxServer::~NginxServer()
{
    if (pid > 0) {
        ::kill(pid, SIGTERM);
        WaitProgram(pid);
    }
    if (!folder.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
}

std::string NginxServer::Url(const std::string& path) const
{
    return (options.certificate.empty() ? "http://" : "https://") + address + ":" + std::to_string(port) + path;
}

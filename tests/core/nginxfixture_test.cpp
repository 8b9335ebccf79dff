#include <gtest/gtest.h>

#include <sys/socket.h>
#include <netinet/in.h>
#include <arpa/inet.h>
#include <unistd.h>

#include "support/nginxserver.h"
#include "support/tempfolder.h"

namespace {

// The fixture other suites rely on: nginx serves a folder on loopback and is gone after.
TEST(NginxFixture, ServesAFolderAndStopsByItsPid)
{
    if (!NginxServer::Available())
        GTEST_SKIP() << "nginx is not installed";
    TempFolder site(TempFolder::Use::Plain);
    site.Write("index.html", "<html>hello</html>");
    int port = 0;
    {
        NginxServer nginx(site.Path());
        ASSERT_TRUE(nginx.Running()) << nginx.Error();
        port = nginx.Port();
        int fd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in peer{};
        peer.sin_family = AF_INET;
        peer.sin_port = htons(static_cast<uint16_t>(port));
        ::inet_pton(AF_INET, "127.0.0.1", &peer.sin_addr);
        ASSERT_EQ(::connect(fd, reinterpret_cast<sockaddr*>(&peer), sizeof peer), 0);
        std::string request = "GET /index.html HTTP/1.0\r\n\r\n";
        ASSERT_EQ(::send(fd, request.data(), request.size(), 0), static_cast<ssize_t>(request.size()));
        std::string reply;
        char buffer[4096];
        ssize_t n;
        while ((n = ::recv(fd, buffer, sizeof buffer, 0)) > 0)
            reply.append(buffer, static_cast<size_t>(n));
        ::close(fd);
        EXPECT_EQ(reply.rfind("HTTP/1.1 200 OK", 0), 0u) << reply;
        EXPECT_NE(reply.find("\r\n\r\n<html>hello</html>"), std::string::npos) << reply;
    }
    EXPECT_NE(FreePort(), 0);
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    peer.sin_port = htons(static_cast<uint16_t>(port));
    ::inet_pton(AF_INET, "127.0.0.1", &peer.sin_addr);
    EXPECT_NE(::connect(fd, reinterpret_cast<sockaddr*>(&peer), sizeof peer), 0) << "nginx still listens";
    ::close(fd);
}

}  // namespace

#include "testauthority.h"

#include <cstdlib>
#include <filesystem>

#include "platform/process.h"
#include "tempfolder.h"

namespace {

constexpr char kLocalNames[] = "DNS:localhost,IP:127.0.0.1";
// Elliptic-curve keys: made in milliseconds, where RSA keys would slow every suite.
constexpr char kNewKey[] = "-newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes";

}  // namespace

TestAuthority& TestAuthority::Get()
{
    static TestAuthority made;
    return made;
}

TestAuthority::TestAuthority()
{
    std::string pattern = "/tmp/zanvik-tls-XXXXXX";
    if (!::mkdtemp(pattern.data())) {
        error = "no temporary folder for the test authority";
        return;
    }
    folder = pattern + "/";
    authority = MakeAuthority("authority", "/CN=Zanvik Test Authority");
    if (Ready())
        ::setenv("SSL_CERT_FILE", authority.certificate.c_str(), 1);
}

TestAuthority::~TestAuthority()
{
    if (folder.empty())
        return;
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}

bool TestAuthority::Run(const std::string& command)
{
    if (!error.empty())
        return false;
    pid_t pid = SpawnProgram("/bin/sh", {"-c", "cd '" + folder + "' && " + command + " >/dev/null 2>&1"});
    if (pid > 0 && WaitProgram(pid) == 0)
        return true;
    error = "openssl failed: " + command;
    return false;
}

TestAuthority::Pair TestAuthority::MakeAuthority(const std::string& name, const std::string& subject)
{
    Pair pair{folder + name + ".crt", folder + name + ".key"};
    Run("openssl req -x509 " + std::string(kNewKey) + " -keyout " + name + ".key -out " + name
        + ".crt -days 30 -subj '" + subject + "' -addext 'basicConstraints=critical,CA:TRUE'"
        + " -addext 'keyUsage=critical,keyCertSign,cRLSign'");
    return pair;
}

TestAuthority::Pair TestAuthority::Issue(const std::string& name, const Pair& signer, const std::string& names,
                                         int days)
{
    Pair pair{folder + name + ".crt", folder + name + ".key"};
    std::string extensions = name + ".ext";
    WriteFile(folder + extensions,
              "subjectAltName=" + names + "\nbasicConstraints=CA:FALSE\nextendedKeyUsage=serverAuth\n");
    Run("openssl req -new " + std::string(kNewKey) + " -keyout " + name + ".key -out " + name
        + ".csr -subj /CN=zanvik-test-server");
    // A negative number of days makes a certificate that ran out before it was made.
    Run("openssl x509 -req -in " + name + ".csr -CA " + signer.certificate + " -CAkey " + signer.key
        + " -set_serial " + std::to_string(servers.size() + 2) + " -days " + std::to_string(days) + " -extfile "
        + extensions + " -out " + name + ".crt");
    return pair;
}

const TestAuthority::Pair& TestAuthority::Server(Kind kind)
{
    auto found = servers.find(kind);
    if (found != servers.end())
        return found->second;
    Pair pair;
    switch (kind) {
    case Kind::Good:
        pair = Issue("good", authority, kLocalNames, 30);
        break;
    case Kind::Expired:
        pair = Issue("expired", authority, kLocalNames, -1);
        break;
    case Kind::SelfSigned:
        pair = {folder + "self.crt", folder + "self.key"};
        Run("openssl req -x509 " + std::string(kNewKey) + " -keyout self.key -out self.crt -days 30"
            + " -subj /CN=localhost -addext subjectAltName=" + kLocalNames);
        break;
    case Kind::OtherName:
        pair = Issue("other", authority, "DNS:other.example,IP:10.9.9.9", 30);
        break;
    case Kind::UnknownAuthority:
        pair = Issue("stranger", MakeAuthority("strangers", "/CN=Somebody Else"), kLocalNames, 30);
        break;
    }
    return servers.emplace(kind, pair).first->second;
}

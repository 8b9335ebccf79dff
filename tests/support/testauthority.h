#pragma once

#include <map>
#include <string>

// A certificate authority of the tests, with server certificates it signs, all made
// with the openssl command in a temporary folder at first use and removed when the test
// program ends. The program trusts it as it would any authority of the system store:
// Get() points the standard SSL_CERT_FILE variable at its certificate before the first
// TLS connection of the process. Nothing turns the program's checks off.
class TestAuthority {
public:
    // A server's certificate and key files.
    struct Pair {
        std::string certificate;
        std::string key;
    };
    enum class Kind {
        Good,              // for localhost and 127.0.0.1, signed by the authority
        Expired,           // as Good, but no longer valid
        SelfSigned,        // for localhost and 127.0.0.1, signed by nobody we know
        OtherName,         // signed by the authority, for other.example and 10.9.9.9
        UnknownAuthority,  // for localhost and 127.0.0.1, signed by another authority
    };

    static TestAuthority& Get();
    TestAuthority(const TestAuthority&) = delete;
    TestAuthority& operator=(const TestAuthority&) = delete;
    ~TestAuthority();

    bool Ready() const { return error.empty(); }
    const std::string& Error() const { return error; }  // why it could not be made
    const std::string& Certificate() const { return authority.certificate; }
    // Made at first use; empty files when openssl failed (Error says why).
    const Pair& Server(Kind kind = Kind::Good);

private:
    TestAuthority();
    bool Run(const std::string& command);
    Pair MakeAuthority(const std::string& name, const std::string& subject);
    Pair Issue(const std::string& name, const Pair& signer, const std::string& names, int days);

    std::string folder;
    std::string error;
    Pair authority;
    std::map<Kind, Pair> servers;
};

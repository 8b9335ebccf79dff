#include <cerrno>

#include <gtest/gtest.h>
#include <netdb.h>

#include "platform/socketerrors.h"

TEST(SocketErrors, ErrnoValuesBecomeTheirWinsockNumbers)
{
    EXPECT_EQ(WinsockErrorOfErrno(ECONNREFUSED), 10061);
    EXPECT_EQ(WinsockErrorOfErrno(ETIMEDOUT), 10060);
    EXPECT_EQ(WinsockErrorOfErrno(ECONNRESET), 10054);
    EXPECT_EQ(WinsockErrorOfErrno(EADDRINUSE), 10048);
    EXPECT_EQ(WinsockErrorOfErrno(EWOULDBLOCK), 10035);
    EXPECT_EQ(WinsockErrorOfErrno(EINPROGRESS), 10036);
    EXPECT_EQ(WinsockErrorOfErrno(ENOTCONN), 10057);
    EXPECT_EQ(WinsockErrorOfErrno(EACCES), 10013);
    EXPECT_EQ(WinsockErrorOfErrno(EBADF), 10009);
    // Linux numbers differ from BSD's, so 10000 + errno would name the wrong failure.
    EXPECT_NE(WinsockErrorOfErrno(ECONNREFUSED), 10000 + ECONNREFUSED);
}

TEST(SocketErrors, ErrnoWithoutWinsockNumberReadsAsNoWinsockError)
{
    EXPECT_EQ(WinsockErrorOfErrno(EIO), EIO);
    EXPECT_EQ(WinsockErrorText(WinsockErrorOfErrno(EIO)), "Not a Winsock error");
}

TEST(SocketErrors, NameLookupFailuresBecomeHostErrors)
{
    EXPECT_EQ(WinsockErrorOfLookup(EAI_NONAME), 11001);
    EXPECT_EQ(WinsockErrorOfLookup(EAI_AGAIN), 11002);
    EXPECT_EQ(WinsockErrorOfLookup(EAI_FAIL), 11003);
    EXPECT_EQ(WinsockErrorOfLookup(EAI_NODATA), 11004);
    EXPECT_EQ(WinsockErrorOfLookup(0), 0);
}

TEST(SocketErrors, FixedTexts)
{
    EXPECT_EQ(WinsockErrorText(10061), "Connection refused");
    EXPECT_EQ(WinsockErrorText(10050), "Network is down");
    EXPECT_EQ(WinsockErrorText(10059), "Too many references:can't splice");
    EXPECT_EQ(WinsockErrorText(11004), "Valid name, no data record of requested type");
    EXPECT_EQ(WinsockErrorText(0), "Not a Winsock error");
    EXPECT_EQ(WinsockErrorText(10072), "Not a Winsock error");
    EXPECT_EQ(WinsockErrorText(12345), "Not a Winsock error");
}

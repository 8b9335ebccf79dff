#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "grab/redirect.h"

namespace {

using Chain = std::vector<std::string>;

std::string Followed(const Chain& chain, const std::string& location, bool cross = false, int status = 301)
{
    TRedirect answer = DecideRedirect(chain, status, location, cross);
    EXPECT_EQ(answer.follow, answer.refusal.empty()) << location;
    return answer.follow ? answer.target.URLText() : "refused: " + answer.refusal;
}

TEST(Redirect, TheFiveMovingCodesAreFollowedAndNoOther)
{
    for (int status : {301, 302, 303, 307, 308})
        EXPECT_EQ(Followed({"http://h.com/"}, "https://h.com/", false, status), "https://h.com/") << status;
    for (int status : {300, 304, 305, 306, 200, 404})
        EXPECT_FALSE(DecideRedirect({"http://h.com/"}, status, "https://h.com/", false).follow) << status;
}

TEST(Redirect, TheLocationResolvesAgainstTheAddressThatAnswered)
{
    EXPECT_EQ(Followed({"http://h.com/a/", "https://h.com/b/c.htm"}, "d.htm"), "https://h.com/b/d.htm");
    EXPECT_EQ(Followed({"http://h.com/a/"}, "/en/"), "http://h.com/en/");
    EXPECT_EQ(Followed({"https://h.com/"}, "//H.COM:8443/x"), "https://h.com:8443/x");
    EXPECT_EQ(Followed({"http://h.com/old.htm"}, "  http://h.com/new.htm "), "http://h.com/new.htm");
    EXPECT_EQ(Followed({"http://h.com/"}, "http://h.com/a%20b.htm"), "http://h.com/a b.htm");
}

TEST(Redirect, AnotherHostIsFollowedOnlyWithCrossSite)
{
    EXPECT_EQ(Followed({"http://h.com/"}, "https://www.h.com/"), "refused: 新網址在別的站台");
    EXPECT_EQ(Followed({"http://h.com/"}, "https://www.h.com/", true), "https://www.h.com/");
    // The first address's host counts, not the last one's: a chain cannot wander off.
    EXPECT_EQ(Followed({"http://h.com/", "https://h.com/"}, "//cdn.net/x"), "refused: 新網址在別的站台");
    EXPECT_EQ(Followed({"http://h.com/", "https://H.com/x"}, "https://h.COM/y"), "https://h.com/y");
}

TEST(Redirect, OtherSchemesAndBadLocationsAreRefused)
{
    const Chain chain{"http://h.com/dir/page.htm"};
    for (const char* location : {"file:///etc/passwd", "ftp://h.com/x", "mailto:a@h.com", "javascript:alert(1)",
                                 "data:text/html,x", "https://", "http:///x"})
        EXPECT_EQ(Followed(chain, location, true), "refused: 新網址不是http或https") << location;
    for (const std::string& location : {std::string("http://h.com/a b.htm"), std::string("/a\tb"),
                                       std::string("/a\x01") + "b", std::string("/a\x7F"),
                                       "/" + std::string(2000, 'a')})
        EXPECT_EQ(Followed(chain, location, true), "refused: 新網址格式不對") << location.size();
    EXPECT_EQ(Followed(chain, ""), "refused: 沒有新網址");
    EXPECT_EQ(Followed(chain, "   "), "refused: 沒有新網址");
    // Longer than a canonical address may be, though within the Location limit.
    EXPECT_EQ(Followed(chain, "/" + std::string(400, 'a')), "refused: 新網址格式不對");
}

TEST(Redirect, ALoopOrASixthHopIsRefused)
{
    EXPECT_EQ(Followed({"http://h.com/", "https://h.com/"}, "http://h.com/"), "refused: 轉址繞回原處");
    EXPECT_EQ(Followed({"http://h.com/a"}, "/a"), "refused: 轉址繞回原處");
    Chain chain{"http://h.com/0"};
    for (int hop = 1; hop <= MaxRedirectHops; ++hop) {
        std::string next = "http://h.com/" + std::to_string(hop);
        EXPECT_EQ(Followed(chain, next), next) << hop;
        chain.push_back(next);
    }
    EXPECT_EQ(Followed(chain, "/6"), "refused: 轉址次數太多");
}

TEST(Redirect, TheLocationIsTakenFromTheHeaderOnly)
{
    EXPECT_EQ(LocationOf("HTTP/1.1 301 Moved\r\nServer: x\r\nlocation:https://h.com/a \r\n\r\n"), "https://h.com/a");
    EXPECT_EQ(LocationOf("HTTP/1.0 302 Found\nLOCATION:   /b\n\n"), "/b");
    EXPECT_EQ(LocationOf("HTTP/1.0 302 Found\r\n\r\nLocation: /in-the-body"), "");
    EXPECT_EQ(LocationOf("HTTP/1.0 302 Found\r\nX-Location: /not-this\r\n\r\n"), "");
    EXPECT_EQ(LocationOf(""), "");
}

}  // namespace

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "grab/twininet.h"

namespace {

struct Resolution {
    const char* reference;
    const char* target;
};

void PrintTo(const Resolution& r, std::ostream* out)
{
    *out << '"' << r.reference << '"';
}

class ResolveAgainstRfcBase : public ::testing::TestWithParam<Resolution> {};

TEST_P(ResolveAgainstRfcBase, GivesTheTargetOfRfc3986Section54)
{
    std::string result;
    ASSERT_TRUE(TWinInet::CombineUrl("http://a/b/c/d;p?q", GetParam().reference, result, 1000));
    EXPECT_EQ(result, GetParam().target);
}

INSTANTIATE_TEST_SUITE_P(Normal, ResolveAgainstRfcBase, ::testing::Values(
    Resolution{"g:h", "g:h"},
    Resolution{"g", "http://a/b/c/g"},
    Resolution{"./g", "http://a/b/c/g"},
    Resolution{"g/", "http://a/b/c/g/"},
    Resolution{"/g", "http://a/g"},
    Resolution{"//g", "http://g"},
    Resolution{"?y", "http://a/b/c/d;p?y"},
    Resolution{"g?y", "http://a/b/c/g?y"},
    Resolution{"#s", "http://a/b/c/d;p?q#s"},
    Resolution{"g#s", "http://a/b/c/g#s"},
    Resolution{"g?y#s", "http://a/b/c/g?y#s"},
    Resolution{";x", "http://a/b/c/;x"},
    Resolution{"g;x", "http://a/b/c/g;x"},
    Resolution{"g;x?y#s", "http://a/b/c/g;x?y#s"},
    Resolution{"", "http://a/b/c/d;p?q"},
    Resolution{".", "http://a/b/c/"},
    Resolution{"./", "http://a/b/c/"},
    Resolution{"..", "http://a/b/"},
    Resolution{"../", "http://a/b/"},
    Resolution{"../g", "http://a/b/g"},
    Resolution{"../..", "http://a/"},
    Resolution{"../../", "http://a/"},
    Resolution{"../../g", "http://a/g"}));

INSTANTIATE_TEST_SUITE_P(Abnormal, ResolveAgainstRfcBase, ::testing::Values(
    Resolution{"../../../g", "http://a/g"},
    Resolution{"../../../../g", "http://a/g"},
    Resolution{"/./g", "http://a/g"},
    Resolution{"/../g", "http://a/g"},
    Resolution{"g.", "http://a/b/c/g."},
    Resolution{".g", "http://a/b/c/.g"},
    Resolution{"g..", "http://a/b/c/g.."},
    Resolution{"..g", "http://a/b/c/..g"},
    Resolution{"./../g", "http://a/b/g"},
    Resolution{"./g/.", "http://a/b/c/g/"},
    Resolution{"g/./h", "http://a/b/c/g/h"},
    Resolution{"g/../h", "http://a/b/c/h"},
    Resolution{"g;x=1/./y", "http://a/b/c/g;x=1/y"},
    Resolution{"g;x=1/../y", "http://a/b/c/y"},
    Resolution{"g?y/./x", "http://a/b/c/g?y/./x"},
    Resolution{"g?y/../x", "http://a/b/c/g?y/../x"},
    Resolution{"g#s/./x", "http://a/b/c/g#s/./x"},
    Resolution{"g#s/../x", "http://a/b/c/g#s/../x"},
    Resolution{"http:g", "http:g"}));

TEST(CombineUrl, AReferenceWithoutSchemeNeedsAnAbsoluteBase)
{
    std::string result = "stale";
    EXPECT_FALSE(TWinInet::CombineUrl("www.example.com/a/", "b.htm", result, 1000));
    EXPECT_EQ(result, "");
    EXPECT_TRUE(TWinInet::CombineUrl("www.example.com/a/", "http://h/x", result, 1000));
    EXPECT_EQ(result, "http://h/x");
}

TEST(CombineUrl, TheCapacityCountsTheTerminator)
{
    std::string base = "http://h/";
    std::string name(1000 - base.size() - 1, 'x');
    std::string result;
    EXPECT_TRUE(TWinInet::CombineUrl(base, name, result, 1000));
    EXPECT_EQ(result.size(), 999u);
    EXPECT_FALSE(TWinInet::CombineUrl(base, name + "x", result, 1000));
    EXPECT_EQ(result, "");
}

}  // namespace

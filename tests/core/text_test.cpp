#include <gtest/gtest.h>

#include "core/text.h"

namespace {

using Pieces = std::vector<std::string>;

TEST(Text, SplitTextKeepsEmptyPieces)
{
    EXPECT_EQ(SplitText("", '.'), Pieces{""});
    EXPECT_EQ(SplitText("a..b", '.'), (Pieces{"a", "", "b"}));
    EXPECT_EQ(SplitText("a.b.", '.'), (Pieces{"a", "b", ""}));
    EXPECT_EQ(SplitText("abc", '.'), Pieces{"abc"});
    EXPECT_EQ(SplitText(".", '.'), (Pieces{"", ""}));
}

TEST(Text, ZeroPadFillsToTheWidthAndNeverCuts)
{
    EXPECT_EQ(ZeroPad(7, 3), "007");
    EXPECT_EQ(ZeroPad(1234, 3), "1234");
    EXPECT_EQ(ZeroPad(0, 2), "00");
    EXPECT_EQ(ZeroPad(5, 0), "5");
}

TEST(Text, TrimRemovesBlanksAndControlCharacters)
{
    EXPECT_EQ(Trim(" \t\r\n a b \x08\n"), "a b");
    EXPECT_EQ(Trim(""), "");
    EXPECT_EQ(TrimLeft("  x "), "x ");
    EXPECT_EQ(Trim("中文 "), "中文");  // bytes of UTF-8 characters are above the blank
}

TEST(Text, CaseAndAffixes)
{
    EXPECT_EQ(ReplaceChar("a/b/c", '/', '\\'), "a\\b\\c");
    EXPECT_EQ(LowerCase("MailTo:中"), "mailto:中");
    EXPECT_TRUE(StartsWithText("FTP://x", "ftp:"));
    EXPECT_FALSE(StartsWithText("ft", "ftp:"));
    EXPECT_TRUE(EndsWithText("setup.EXE", ".exe"));
    EXPECT_TRUE(SameText("Text/HTML", "text/html"));
}

TEST(Text, IntegersReadWholeTextsOnly)
{
    long long value = 0;
    EXPECT_TRUE(TryToInt(" 42 ", value));
    EXPECT_EQ(value, 42);
    EXPECT_TRUE(TryToInt("-3", value));
    EXPECT_EQ(value, -3);
    EXPECT_FALSE(TryToInt("4x", value));
    EXPECT_FALSE(TryToInt("", value));
    EXPECT_EQ(StrToInt("8088"), 8088);
    EXPECT_THROW(StrToInt("http"), EConvertError);
    EXPECT_THROW(StrToInt("99999999999"), EConvertError);
}

}  // namespace

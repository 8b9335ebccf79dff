#include <gtest/gtest.h>

#include "platform/codepage.h"

namespace {

TEST(CodePage, ChineseTextTravelsThroughBig5AndBack)
{
    const std::string text = "Zanvik --- 錯誤訊息</TITLE>網路無法連通,請檢查網路";
    std::string big5 = Utf8ToBig5(text);
    EXPECT_NE(big5, text);
    // Each of the 15 Chinese characters is two bytes in Big5; the ASCII stays as it is.
    EXPECT_EQ(big5.size(), std::string("Zanvik --- </TITLE>,").size() + 15 * 2);
    EXPECT_EQ(big5.substr(0, 11), "Zanvik --- ");
    EXPECT_EQ(Big5ToUtf8(big5), text);
}

TEST(CodePage, AKnownCharacterHasItsBig5Bytes)
{
    // U+4E2D is A4 A4 in Big5.
    EXPECT_EQ(Utf8ToBig5("中"), "\xA4\xA4");
}

TEST(CodePage, CharactersBig5LacksBecomeQuestionMarks)
{
    std::string big5 = Utf8ToBig5("a\xF0\x9F\x98\x80" "b");  // an emoji between two letters
    EXPECT_EQ(big5.front(), 'a');
    EXPECT_EQ(big5.back(), 'b');
    EXPECT_NE(big5.find('?'), std::string::npos);
    EXPECT_EQ(Utf8ToBig5("broken \xC3"), "broken ?");
}

}  // namespace

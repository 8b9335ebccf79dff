#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "grab/parser.h"

namespace {

constexpr std::string_view PageDelimiters{" <>=\"\r\n\b", 8};

std::vector<std::string> Tokens(std::string_view stream)
{
    TParser parser(stream, PageDelimiters);
    std::vector<std::string> tokens;
    while (!parser.AtEnd())
        tokens.emplace_back(parser.NextToken());
    return tokens;
}

using Strings = std::vector<std::string>;

TEST(Parser, GivesRunsOfBytesAndSingleDelimiters)
{
    EXPECT_EQ(Tokens("<a HREF=\"x y.htm\">"),
              (Strings{"<", "a", " ", "HREF", "=", "\"", "x", " ", "y.htm", "\"", ">", ""}));
    EXPECT_EQ(Tokens("a\r\n\bb"), (Strings{"a", "\r", "\n", "\b", "b"}));
    EXPECT_EQ(Tokens("<<"), (Strings{"<", "<", ""}));
}

TEST(Parser, TabAndOtherBytesStayInsideAWord)
{
    EXPECT_EQ(Tokens("a\tb c"), (Strings{"a\tb", " ", "c"}));
    EXPECT_EQ(Tokens("a/b:c;d'e"), (Strings{"a/b:c;d'e"}));
}

TEST(Parser, Big5BytesPassThroughUnchanged)
{
    // "許" has a backslash as its second byte; no Big5 byte is a delimiter.
    std::string big5 = "\xa4\xa4\xa4\xe5\xb3\x5c.htm";
    EXPECT_EQ(Tokens("<a href=" + big5 + ">"), (Strings{"<", "a", " ", "href", "=", big5, ">", ""}));
}

TEST(Parser, TheEndSetsAtEndWithTheTokenBuiltSoFar)
{
    TParser word("abc", PageDelimiters);
    EXPECT_EQ(word.NextToken(), "abc");
    EXPECT_TRUE(word.AtEnd());

    // The delimiter that ended a word is held for the next call; only the read after it
    // finds the end.
    TParser held("ab=", PageDelimiters);
    EXPECT_EQ(held.NextToken(), "ab");
    EXPECT_FALSE(held.AtEnd());
    EXPECT_EQ(held.NextToken(), "=");
    EXPECT_FALSE(held.AtEnd());
    EXPECT_EQ(held.NextToken(), "");
    EXPECT_TRUE(held.AtEnd());

    TParser empty("", PageDelimiters);
    EXPECT_EQ(empty.NextToken(), "");
    EXPECT_TRUE(empty.AtEnd());
}

TEST(Parser, UsesOnlyTheDelimitersItIsGiven)
{
    TParser parser("a<b,c", ",");
    EXPECT_EQ(parser.NextToken(), "a<b");
    EXPECT_EQ(parser.NextToken(), ",");
    EXPECT_EQ(parser.NextToken(), "c");
    EXPECT_TRUE(parser.AtEnd());
}

TEST(Parser, ReadsRawBytesUpToAnEndByteAndStepsBackInsideTheLastToken)
{
    TParser parser("='a b'>x", PageDelimiters);
    EXPECT_EQ(parser.NextToken(), "=");
    EXPECT_EQ(parser.NextToken(), "'a");
    parser.StepBack(1);
    EXPECT_EQ(parser.Rest(), "a b'>x");
    EXPECT_EQ(parser.TakeUntil('\''), "a b");
    EXPECT_EQ(parser.NextToken(), ">");
    parser.StepBack(5);  // never before the start of the last token
    EXPECT_EQ(parser.Rest(), ">x");
    parser.Skip(1);
    EXPECT_EQ(parser.TakeUntil('"'), "x");
    EXPECT_TRUE(parser.AtEnd());
    parser.Skip(3);
    EXPECT_EQ(parser.Rest(), "");
}

struct KindCase {
    const char* token;
    int kind;
};

class TokenKindTable : public ::testing::TestWithParam<KindCase> {};

TEST_P(TokenKindTable, ComparesTheWholeTokenWithoutRegardToCase)
{
    EXPECT_EQ(TParser::TokenKind(GetParam().token), GetParam().kind) << GetParam().token;
}

INSTANTIATE_TEST_SUITE_P(Keywords, TokenKindTable, ::testing::Values(
    KindCase{"html", TParser::Html}, KindCase{"HTML", TParser::Html},
    KindCase{"src", TParser::Src}, KindCase{"Src", TParser::Src}, KindCase{"SRC", TParser::Src},
    KindCase{"href", TParser::Href}, KindCase{"HREF", TParser::Href}, KindCase{"hReF", TParser::Href},
    KindCase{"<", TParser::TagOpen}, KindCase{">", TParser::TagClose}, KindCase{"=", TParser::Equals},
    KindCase{" ", TParser::Blank}, KindCase{"BackGround", TParser::Background},
    KindCase{"\"", TParser::Quote}, KindCase{"REDIRECT", TParser::Redirect},
    KindCase{"", TParser::Other}, KindCase{"hrefs", TParser::Other}, KindCase{"sr", TParser::Other},
    KindCase{"src\t", TParser::Other}, KindCase{"\t", TParser::Other}, KindCase{"'", TParser::Other},
    KindCase{"img", TParser::Other}, KindCase{"backgrounds", TParser::Other},
    KindCase{"redirecT1", TParser::Other}, KindCase{"ht ml", TParser::Other},
    KindCase{"srcset", TParser::Srcset}, KindCase{"SrcSet", TParser::Srcset},
    KindCase{"data-src", TParser::DataSrc}, KindCase{"DATA-SRCSET", TParser::DataSrcset},
    KindCase{"poster", TParser::Poster}, KindCase{"Style", TParser::Style},
    KindCase{"styles", TParser::Other}, KindCase{"data-srcsets", TParser::Other},
    KindCase{"data_src", TParser::Other}));

}  // namespace

#include "richtext/rtftokenizer.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// A compact trace of the tokens: "{", "}", "\\name", "\\name=N", "sym:c", "hex:NN", "text:...".
std::vector<std::string> Trace(const QByteArray& rtf)
{
    KvRtfTokenizer tok(rtf);
    std::vector<std::string> out;
    for (;;) {
        const KvRtfTokenizer::Token t = tok.Next();
        switch (t.type) {
        case KvRtfTokenizer::Type::End:
            return out;
        case KvRtfTokenizer::Type::GroupStart:
            out.push_back("{");
            break;
        case KvRtfTokenizer::Type::GroupEnd:
            out.push_back("}");
            break;
        case KvRtfTokenizer::Type::Word:
            out.push_back("\\" + std::string(t.text) +
                          (t.hasParam ? "=" + std::to_string(t.param) : std::string()));
            break;
        case KvRtfTokenizer::Type::Symbol:
            out.push_back(std::string("sym:") + t.symbol);
            break;
        case KvRtfTokenizer::Type::Hex:
            out.push_back("hex:" + std::to_string(t.hex));
            break;
        case KvRtfTokenizer::Type::Text:
            out.push_back("text:" + std::string(t.text));
            break;
        }
    }
}

struct TokenCase
{
    const char* name;
    QByteArray rtf;
    std::vector<std::string> tokens;
};

class RtfTokenizerTest : public ::testing::TestWithParam<TokenCase>
{
};

TEST_P(RtfTokenizerTest, Tokens)
{
    EXPECT_EQ(Trace(GetParam().rtf), GetParam().tokens);
}

const TokenCase kCases[] = {
    {"wordsAndText",
     "{\\rtf1\\b bold\\b0 x}",
     {"{", "\\rtf=1", "\\b", "text:bold", "\\b=0", "text:x", "}"}},
    {"spaceDelimiterEaten", "\\par  two", {"\\par", "text: two"}},
    {"negativeParam", "\\u-3913?", {"\\u=-3913", "text:?"}},
    {"dashWithoutDigitIsNotParam", "\\li-x", {"\\li", "text:-x"}},
    {"hugeParamClamped", "\\fs99999999999999999999 ", {"\\fs=2147483647"}},
    {"hugeNegativeClamped", "\\fs-99999999999999 ", {"\\fs=-2147483648"}},
    {"hex", "\\'e4\\'Fc", {"hex:228", "hex:252"}},
    {"hexTruncated", "\\'4", {"hex:4"}},
    {"hexBad", "\\'zz", {"hex:0", "text:zz"}},
    {"symbols",
     "\\~\\-\\_\\*\\\\\\{\\}",
     {"sym:~", "sym:-", "sym:_", "sym:*", "sym:\\", "sym:{", "sym:}"}},
    {"backslashNewlineIsPar", "a\\\r\nb", {"text:a", "sym:\n", "text:b"}},
    {"crLfIgnored", "a\r\nb\rc\n", {"text:a", "text:b", "text:c"}},
    {"literalTab", "a\tb", {"text:a", "sym:\t", "text:b"}},
    {"controlBytesDropped",
     QByteArray("a\x01\x00"
                "b",
                4),
     {"text:a", "text:b"}},
    {"longRunAcrossWords",
     "0123456789abcdefghij{x}",
     {"text:0123456789abcdefghij", "{", "text:x", "}"}},
    {"longWordTruncated",
     QByteArray(40, 'a').prepend('\\').append(" x"),
     {"\\" + std::string(32, 'a'), "text:x"}},
    {"trailingBackslash", "a\\", {"text:a"}},
};

INSTANTIATE_TEST_SUITE_P(Cases, RtfTokenizerTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(RtfTokenizer, BinaryAndSkipGroup)
{
    KvRtfTokenizer tok("\\bin3 {}}rest");
    const KvRtfTokenizer::Token bin = tok.Next();
    ASSERT_EQ(bin.type, KvRtfTokenizer::Type::Word);
    EXPECT_EQ(tok.TakeBinary(bin.param), QByteArrayView("{}}"));
    EXPECT_EQ(tok.Next().text, "rest");

    KvRtfTokenizer huge("\\bin2147483647 ab");
    huge.Next();
    EXPECT_EQ(huge.TakeBinary(2147483647).size(), 2); // never past the end

    // Skips nested groups, escaped braces and binary data up to the group's own "}".
    KvRtfTokenizer skip("a{b\\}c\\bin2 }}d}e}after");
    skip.SkipGroup();
    EXPECT_EQ(skip.Next().type, KvRtfTokenizer::Type::GroupEnd);
    EXPECT_EQ(skip.Next().text, "after");
}

} // namespace

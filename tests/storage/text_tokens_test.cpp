#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "storage/text_tokens.h"

namespace orbista {
namespace {

// "line:token" for every token, "line:token…" for a cut one.
std::vector<std::string> TokensOf(const std::vector<std::string>& pieces,
                                  size_t longest = TextTokenizer::Unlimited) {
    std::vector<std::string> tokens;
    const auto take = [&tokens](const TextToken& token) {
        tokens.push_back(std::to_string(token.line) + ":" + std::string(token.text) +
                         (token.cut ? "…" : ""));
        return true;
    };
    TextTokenizer tokenizer(longest);
    for (const std::string& piece : pieces) {
        tokenizer.Feed(piece, take);
    }
    tokenizer.Finish(take);
    return tokens;
}

std::vector<std::string> TokensOf(const std::string& text) {
    return TokensOf(std::vector<std::string>{text});
}

using Tokens = std::vector<std::string>;

TEST(TextTokenizer, EveryKindOfLineEndCountsOneLine) {
    EXPECT_EQ(TokensOf("1 2\r\n3\n\n4\r5\r\r\n6"),
              (Tokens{"1:1", "1:2", "2:3", "4:4", "5:5", "7:6"}));
    EXPECT_EQ(TokensOf("\t a\t\tb  \r\n\r\n  c  "), (Tokens{"1:a", "1:b", "3:c"}));
    EXPECT_EQ(TokensOf(" \r\n\t"), Tokens{});
}

TEST(TextTokenizer, AByteOrderMarkIsSkippedAtTheStartOnly) {
    EXPECT_EQ(TokensOf("\xEF\xBB\xBF"
                       "7 8"),
              (Tokens{"1:7", "1:8"}));
    EXPECT_EQ(TokensOf("\xEF\xBB\xBF"), Tokens{});
    EXPECT_EQ(TokensOf("\xEF\xBB\xBF\n5"), Tokens{"2:5"});
    // Anything else keeps its bytes: a mark later on, or the start of one that breaks off.
    EXPECT_EQ(TokensOf("1 \xEF\xBB\xBF"), (Tokens{"1:1", "1:\xEF\xBB\xBF"}));
    EXPECT_EQ(TokensOf("\xEF\xBB"
                       "5 6"),
              (Tokens{"1:\xEF\xBB"
                      "5",
                      "1:6"}));
    EXPECT_EQ(TokensOf("\xEF"), Tokens{"1:\xEF"});
}

TEST(TextTokenizer, PiecesOfAnySizeGiveTheSameTokensAsTheWholeText) {
    const std::string text =
        "\xEF\xBB\xBF"
        "12 set:Memo3=250\r\n\r\n7\r\n\r8\t\t 36\n";
    const Tokens whole = TokensOf(text);
    ASSERT_EQ(whole, (Tokens{"1:12", "1:set:Memo3=250", "3:7", "5:8", "5:36"}));
    for (size_t a = 0; a <= text.size(); ++a) {
        for (size_t b = a; b <= text.size(); ++b) {
            EXPECT_EQ(TokensOf({text.substr(0, a), text.substr(a, b - a), text.substr(b)}), whole)
                << a << " " << b;
        }
    }
}

TEST(TextTokenizer, ATokenLongerThanTheLimitIsHandedOverCutAtOnce) {
    EXPECT_EQ(TokensOf({"12 123456", "789 5"}, 4), (Tokens{"1:12", "1:1234…", "1:5"}));
    EXPECT_EQ(TokensOf({"1234"}, 4), Tokens{"1:1234"});

    // An endless token: the reader hears of it after limit + 1 bytes and can stop there.
    TextTokenizer tokenizer(20);
    int handed = 0;
    const std::string zeros(1 << 16, '\0');
    const bool goesOn = tokenizer.Feed(zeros, [&handed](const TextToken& token) {
        ++handed;
        EXPECT_TRUE(token.cut);
        EXPECT_EQ(token.text.size(), 20u);
        return false;
    });
    EXPECT_FALSE(goesOn);
    EXPECT_EQ(handed, 1);
}

}  // namespace
}  // namespace orbista

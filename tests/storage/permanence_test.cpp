#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/errors.h"
#include "storage/permanence.h"

namespace orbista {
namespace {

using Spins = std::vector<int>;

// The numbers of the text fed in pieces of `pieceLength` bytes, or the message that refused it.
std::string Read(std::string_view text, size_t pieceLength = SIZE_MAX) {
    PermanenceParser parser("p.txt", EveryNumber);
    try {
        for (size_t at = 0; at < text.size(); at += pieceLength) {
            parser.Feed(text.substr(at, pieceLength));
        }
        std::string numbers;
        for (const uint8_t spin : parser.Finish().spins) {
            numbers += (numbers.empty() ? "" : " ") + std::to_string(spin);
        }
        return numbers;
    } catch (const FileError& error) {
        return error.what();
    }
}

TEST(Permanence, NumbersAreSeparatedByCommasSemicolonsBlanksTabsAndLineEndsInAnyMix) {
    EXPECT_EQ(Read("\xEF\xBB\xBF"
                   "12,13,16,18,0,12\r\n5;7; 36\t1\r2\n,,3 ;, 4,\n"),
              "12 13 16 18 0 12 5 7 36 1 2 3 4");
}

TEST(Permanence, AHeaderLineAndCommentLinesAreSkippedInPiecesOfAnySize) {
    const std::string text = "# table 3, 2026\r\nДата;Номер\r\n12;13\r\n  # 5,6\r\n7\r\n";
    for (const size_t piece : {SIZE_MAX, size_t{1}, size_t{3}}) {
        EXPECT_EQ(Read(text, piece), "12 13 7") << piece;
    }
    EXPECT_EQ(Read("Spin\n"), "");
    EXPECT_EQ(Read("\n\nspin\n1\n"), "1");
}

TEST(Permanence, AnyOtherTokenRefusesTheFileNamingItsLine) {
    EXPECT_EQ(Read("12,13\n5;x;7"), "Файл \"p.txt\", строка 2: «x» не является целым числом.");
    EXPECT_EQ(Read("abc,12"), "Файл \"p.txt\", строка 1: «abc» не является целым числом.");
    EXPECT_EQ(Read("Spin\nDate\n1"), "Файл \"p.txt\", строка 2: «Date» не является целым числом.");
    EXPECT_EQ(Read("1\r\n37"),
              "Файл \"p.txt\", строка 2: число 37 не является номером рулетки (0–36).");
    EXPECT_EQ(Read("5 # 6"), "Файл \"p.txt\", строка 1: «#» не является целым числом.");
    EXPECT_EQ(Read("5 12.5"), "Файл \"p.txt\", строка 1: «12.5» не является целым числом.");
    EXPECT_EQ(Read(std::string("a\0b", 3)),
              "Файл \"p.txt\", строка 1: «a\\x00b» не является целым числом.");
}

}  // namespace
}  // namespace orbista

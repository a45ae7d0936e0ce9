#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <memory>
#include <string>

#include "model/decimal.h"
#include "model/errors.h"
#include "storage/autosave.h"
#include "storage/permanence.h"
#include "storage/spin_file.h"
#include "test_folder.h"

namespace orbista {
namespace {

std::unique_ptr<GameState> GameOf(std::initializer_list<int32_t> oldestFirst) {
    auto state = std::make_unique<GameState>();
    for (const int32_t number : oldestFirst) {
        ++state->SpinCount;
        ShiftHistoryUp(*state);
        state->SpinHistory[1] = number;
    }
    return state;
}

std::vector<int32_t> Numbers(const std::filesystem::path& path) {
    const Permanence read = ReadPermanence(path, LoadedSpinCapacity);
    return {read.spins.begin(), read.spins.end()};
}

std::string ErrorText(const std::filesystem::path& path) {
    try {
        ReadPermanence(path, LoadedSpinCapacity);
    } catch (const FileError& error) {
        return error.what();
    }
    return "no error";
}

TEST(SpinFile, ListIsOldestFirstWithTwoBlanksAndNoLineBreak) {
    EXPECT_EQ(SpinListFormat(*GameOf({7, 0, 32})), "7  0  32");
    EXPECT_EQ(SpinListFormat(*GameOf({17})), "17");
    EXPECT_EQ(SpinListFormat(*GameOf({})), "");
}

TEST(SpinFile, GameLongerThanTheHistoryWritesItsKeptSpinsOnly) {
    auto state = std::make_unique<GameState>();
    state->SpinCount = 150000;
    for (int k = 1; k <= KeptSpins; ++k) {
        state->SpinHistory[k] = k % 37;
    }
    state->SpinHistory[KeptSpins + 1] = 36;  // never part of the game
    const std::string text = SpinListFormat(*state);
    EXPECT_EQ(std::count(text.begin(), text.end(), ' '), 2 * (KeptSpins - 1));
    EXPECT_TRUE(text.starts_with(std::to_string(KeptSpins % 37) + "  "));
    EXPECT_TRUE(text.ends_with("  1"));
}

TEST(SpinFile, SaveAlwaysAppendsTxtAndASavedGameReadsBackInOrder) {
    TestFolder folder;
    const auto state = GameOf({7, 0, 32, 36});
    EXPECT_EQ(SaveSpins(*state, folder.Path() / "game.txt"), folder.Path() / "game.txt.txt");
    EXPECT_EQ(Numbers(folder.Path() / "game.txt.txt"), (std::vector<int32_t>{7, 0, 32, 36}));
    SaveSpins(*GameOf({}), folder.Path() / "empty");
    EXPECT_EQ(folder.Read("empty.txt"), "");
    EXPECT_EQ(Numbers(folder.Path() / "empty.txt").size(), 0u);
    EXPECT_THROW(SaveSpins(*state, folder.Path() / "missing" / "game"), FileError);
}

TEST(SpinFile, NumbersAreReadAcrossBlanksTabsAndLineBreaksOfAnyKind) {
    TestFolder folder;
    folder.Write("a.txt",
                 "\xEF\xBB\xBF"
                 "1 2\r\n3\t\t4\n\n  5  \n");
    const Permanence loaded = ReadPermanence(folder.Path() / "a.txt", LoadedSpinCapacity);
    EXPECT_EQ(loaded.spins, (std::vector<uint8_t>{1, 2, 3, 4, 5}));
    EXPECT_FALSE(loaded.truncated);
}

TEST(SpinFile, ABadTokenOrANumberOutside0To36RejectsTheFileNamingLineAndToken) {
    TestFolder folder;
    const auto path = folder.Path() / "bad.txt";
    folder.Write("bad.txt", "1 2\r3 x7 4\n");
    EXPECT_EQ(ErrorText(path),
              "Файл \"" + path.string() + "\", строка 2: «x7» не является целым числом.");
    folder.Write("bad.txt", "5\r\n6\r\n+37");
    EXPECT_EQ(ErrorText(path), "Файл \"" + path.string() +
                                   "\", строка 3: число 37 не является номером рулетки (0–36).");
    for (const char* text : {"5 -1", "1 99999999999", "1 2\x01", "1 \xEF\xBB\xBF"}) {
        folder.Write("bad.txt", text);
        EXPECT_NE(ErrorText(path), "no error") << text;
    }
    // The same rule as save8.dat: a sign is allowed, and a number has at most 20 characters.
    folder.Write("bad.txt", "+5 -0 00000000000000000007");
    EXPECT_EQ(Numbers(path), (std::vector<int32_t>{5, 0, 7}));
    folder.Write("bad.txt", "4\n" + std::string(60, '0') + "7");
    EXPECT_EQ(ErrorText(path),
              "Файл \"" + path.string() +
                  "\", строка 2: «00000000000000000000…» не является целым числом.");
    EXPECT_NE(ErrorText(folder.Path() / "none.txt").find("none.txt"), std::string::npos);
    EXPECT_NE(ErrorText(folder.Path()), "no error");
}

TEST(SpinFile, EndlessInputsAreRejectedAtOnceWithoutWaiting) {
    EXPECT_EQ(
        ErrorText("/dev/zero"), "Файл \"/dev/zero\", строка 1: «" + [] {
            std::string zeros;
            for (size_t i = 0; i < MaxNumberLength; ++i) {
                zeros += "\\x00";
            }
            return zeros;
        }() + "…» не является целым числом.");
    // A pipe would make the window wait for a writer that may never come.
    TestFolder folder;
    const auto fifo = folder.Path() / "fifo";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(ErrorText(fifo),
              "Не удалось открыть файл \"" + fifo.string() + "\": это канал, а не файл.");
}

TEST(SpinFile, OnlyTheFirstMillionNumbersOfALongerFileAreKept) {
    TestFolder folder;
    std::string text;
    for (int i = 0; i < LoadedSpinCapacity; ++i) {
        text += std::to_string(i % 37) + (i % 20 == 19 ? "\n" : " ");
    }
    folder.Write("full.txt", text + "  \n");
    const Permanence full = ReadPermanence(folder.Path() / "full.txt", LoadedSpinCapacity);
    EXPECT_EQ(full.Count(), LoadedSpinCapacity);
    EXPECT_FALSE(full.truncated);
    folder.Write("long.txt", text + "36 never-read");
    const Permanence longer = ReadPermanence(folder.Path() / "long.txt", LoadedSpinCapacity);
    EXPECT_EQ(longer.Count(), LoadedSpinCapacity);
    EXPECT_TRUE(longer.truncated);
    EXPECT_EQ(longer.spins.back(), (LoadedSpinCapacity - 1) % 37);
}

TEST(Autosave, NameHasNoLeadingZerosAndTheFolderIsCreatedWithItsParents) {
    EXPECT_EQ(AutosaveFileName({2027, 1, 2, 0, 0, 5}, 3), "2_1_2027 0.0.5 (3).txt");
    TestFolder folder;
    const auto written =
        AutosaveSpins(*GameOf({5, 23}), folder.Path() / "a" / "Autosave", {2026, 12, 8, 3, 54, 30});
    ASSERT_TRUE(written);
    EXPECT_EQ(written->filename(), "8_12_2026 3.54.30.txt");
}

}  // namespace
}  // namespace orbista

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "tests/sim/sim_run.h"
#include "tests/test_folder.h"

namespace orbista {
namespace {

SimRun RunSim(const std::string& arguments) {
    return RunSimulatorProgram(arguments);
}

// What the simulator writes to standard error, without its speed figure.
std::string SimErrors(const std::string& arguments) {
    return RunShellCommand(std::string(ORBISTA_SIM_PATH) + " " + arguments +
                           " 2>&1 >/dev/null | grep -v spins_per")
        .out;
}

std::vector<std::vector<std::string>> TraceLines(const std::string& out) {
    std::vector<std::vector<std::string>> lines;
    std::istringstream in(out);
    std::string line;
    while (std::getline(in, line)) {
        if (line.find('\t') == std::string::npos) {
            continue;  // summary lines
        }
        std::vector<std::string> fields;
        size_t start = 0;
        for (size_t tab = line.find('\t'); tab != std::string::npos; tab = line.find('\t', start)) {
            fields.push_back(line.substr(start, tab - start));
            start = tab + 1;
        }
        fields.push_back(line.substr(start));
        lines.push_back(fields);
    }
    return lines;
}

std::map<std::string, std::string> Summary(const std::string& out) {
    std::map<std::string, std::string> summary;
    std::istringstream in(out);
    std::string line;
    while (std::getline(in, line)) {
        const size_t colon = line.find(": ");
        if (line.find('\t') == std::string::npos && colon != std::string::npos) {
            summary[line.substr(0, colon)] = line.substr(colon + 2);
        }
    }
    return summary;
}

// Field positions of a trace line.
enum { K, Token, Label12, Memo5, Memo3, Memo14, Memo15, Memo1, Memo12, Recommended, Messages };

class Simulator : public ::testing::Test {
  protected:
    std::string Script(const std::string& text) {
        folder_.Write("script.txt", text);
        return "--check-dir " + folder_.Path().string() + " --script " +
               (folder_.Path() / "script.txt").string();
    }
    TestFolder folder_;
};

TEST_F(Simulator, RejectsBadUsageBeforePlayingAnything) {
    EXPECT_EQ(RunSim("--trace " + Script("1 2 37")).status, 2);
    EXPECT_EQ(RunSim("--trace " + Script("1 x")).out, "");
    EXPECT_EQ(RunSim(Script("set:NoSuchField=1")).status, 2);
    EXPECT_EQ(RunSim(Script("set:StopOnWin=2")).status, 2);
    EXPECT_EQ(RunSim("--random 5 --system nothing").status, 2);
    EXPECT_EQ(RunSim("--random 5 " + Script("1")).status, 2);
    EXPECT_EQ(RunSim("").status, 2);
    EXPECT_NE(SimErrors("--random 5 --seed -1").find("--seed takes a whole number: -1"),
              std::string::npos);
    EXPECT_EQ(SimErrors("--random 5 --csv /no/log.csv"),
              "orbista-sim: Не удалось записать файл \"/no/log.csv\": файл или папка не "
              "найдены.\n");

    const auto missing = folder_.Path() / "save8.dat";
    EXPECT_EQ(RunSim("--settings " + missing.string() + " --random 1").status, 2);
    EXPECT_FALSE(std::filesystem::exists(missing)) << "a missing settings file is never created";
}

TEST_F(Simulator, ScriptFaultsNameTheFileAndTheLineAndEndlessInputsAreRefused) {
    const std::string script = (folder_.Path() / "script.txt").string();
    EXPECT_EQ(SimErrors(Script("1 2\r\n3\r4 x\x01 5")),
              "orbista-sim: Файл \"" + script +
                  "\", строка 3: «x\\x01» не является ни числом 0–36, ни c, n или "
                  "set:ИМЯ=ТЕКСТ.\n");
    EXPECT_EQ(SimErrors(Script("1\n\n37")),
              "orbista-sim: Файл \"" + script +
                  "\", строка 3: число 37 не является номером рулетки (0–36).\n");
    EXPECT_EQ(SimErrors(Script("set:StopOnWin=2")),
              "orbista-sim: Файл \"" + script +
                  "\", строка 1: флаг принимает только 0 или 1: «set:StopOnWin=2».\n");
    EXPECT_EQ(SimErrors("--script /dev/zero"),
              "orbista-sim: Не удалось прочитать файл \"/dev/zero\": файл слишком большой "
              "(больше 16 МБ).\n");
    EXPECT_EQ(SimErrors("--settings /dev/zero --random 1"),
              "orbista-sim: Не удалось прочитать файл \"/dev/zero\": файл слишком большой "
              "(больше 64 КБ).\n");
}

TEST_F(Simulator, SpinsAreReadByTheNumberRuleOfTheFilesAndTracedInPlainDecimal) {
    const SimRun run = RunSim("--trace --system none " + Script("\xEF\xBB\xBF"
                                                                "05 +7 -0"));
    ASSERT_EQ(run.status, 0);
    const auto lines = TraceLines(run.out);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0][Token], "5");
    EXPECT_EQ(lines[1][Token], "7");
    EXPECT_EQ(lines[2][Token], "0");
}

TEST_F(Simulator, TracesEveryFieldAfterSpinsCancelsAndNewGames) {
    const SimRun run =
        RunSim("--trace --system statistics-only " + Script("08 32\n0 c c c c n 05"));
    ASSERT_EQ(run.status, 0);
    const auto lines = TraceLines(run.out);
    ASSERT_EQ(lines.size(), 9u);
    for (const auto& line : lines) {
        ASSERT_EQ(line.size(), 11u);
    }
    EXPECT_EQ(lines[0][K], "1");
    EXPECT_EQ(lines[0][Token], "8");
    EXPECT_EQ(lines[2][Label12], "3");
    EXPECT_EQ(lines[3][Token], "c");
    EXPECT_EQ(lines[3][Label12], "2");
    EXPECT_EQ(lines[6][Label12], "0");  // a cancel of an empty game stays at 0
    EXPECT_EQ(lines[6][Memo5], "0");
    EXPECT_EQ(lines[6][Memo1], "");
    EXPECT_EQ(lines[7][Token], "n");
    EXPECT_EQ(lines[8][Token], "5");
    EXPECT_EQ(lines[8][Label12], "1");
    EXPECT_EQ(lines[8][Recommended], "");

    const auto summary = Summary(run.out);
    EXPECT_EQ(summary.at("spins"), "4");
    EXPECT_EQ(summary.at("cancels"), "4");
    EXPECT_EQ(summary.at("new_games"), "1");
    EXPECT_EQ(summary.at("total_balance"), "0");
}

TEST_F(Simulator, BetsTheSpinJustEnteredAndPaysItsWin) {
    // The drawn series and one candidate: the number just come is recommended with one unit.
    const SimRun run = RunSim("--trace --system with-selection " +
                              Script("set:UseDrawnSeries=1 set:MaxProcessedCount=1 17 17"));
    ASSERT_EQ(run.status, 0);
    const auto lines = TraceLines(run.out);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0][Recommended], "17:1");
    EXPECT_EQ(lines[0][Memo1], "1");
    EXPECT_EQ(lines[0][Memo12], "1");
    EXPECT_EQ(lines[1][Memo5], "35");  // -1 staked, +36 paid
    EXPECT_EQ(lines[1][Memo3], "35");
    EXPECT_EQ(Summary(run.out).at("units_won"), "36");
}

TEST_F(Simulator, ABadFieldRejectsTheSpinWholeAndTheRunGoesOn) {
    const SimRun run = RunSim("--trace --system statistics-only " +
                              Script("4 set:MaxStake=abc 5 set:MaxStake=20 6"));
    ASSERT_EQ(run.status, 0);
    const auto lines = TraceLines(run.out);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1][Label12], "1");  // nothing entered
    EXPECT_EQ(lines[1][Messages],
              "error:Значение \"abc\" в поле \"Максимальная ставка\" не является целым числом.");
    EXPECT_EQ(lines[2][Label12], "2");
    EXPECT_EQ(lines[2][Messages], "");
}

// A run without a trace used to end with status 0 and no word of what failed on the way.
TEST_F(Simulator, ErrorsOfARunWithoutATraceAreToldAndAMissingCheckFolderIsMade) {
    folder_.Write("script.txt", "4 set:MaxStake=abc 5 set:MaxStake=20 6");
    const std::string script = " --script " + (folder_.Path() / "script.txt").string();
    EXPECT_EQ(SimErrors("--system statistics-only --no-check-files" + script),
              "orbista-sim: step 2 (5): Значение \"abc\" в поле \"Максимальная ставка\" не "
              "является целым числом.\n");

    const std::filesystem::path nested = folder_.Path() / "checks" / "today";
    ASSERT_EQ(RunSim("--seed 1 --random 20 --check-dir " + nested.string()).status, 0);
    EXPECT_TRUE(std::filesystem::exists(nested / u8"проверка.txt"));

    folder_.Write("plain", "");
    const std::string underAFile = (folder_.Path() / "plain" / "checks").string();
    const SimRun refused = RunSim("--seed 1 --random 20 --check-dir " + underAFile);
    EXPECT_EQ(refused.status, 2);
    EXPECT_EQ(refused.out, "");  // refused before anything is played
    EXPECT_NE(SimErrors("--seed 1 --random 20 --check-dir " + underAFile).find(underAFile),
              std::string::npos);
}

TEST_F(Simulator, TypedBalanceIsTakenUpByTheNextSpin) {
    const SimRun run = RunSim("--trace --system statistics-only " + Script("1 set:Memo3=250 2"));
    const auto lines = TraceLines(run.out);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1][Memo3], "250");
    EXPECT_EQ(lines[1][Memo15], "250");  // the maximum follows the game balance read back
}

TEST_F(Simulator, WithoutCheckFilesTheRunIsTheSameAndNoFileIsWritten) {
    for (const char* system : {"with-selection", "without-selection", "anti-review"}) {
        const std::string script = Script("5 5 5 17 0 5 c 8 2 5 5 n 5 30 5");
        const SimRun with =
            RunSim(std::string("--trace --seed 3 --system ") + system + " " + script);
        ASSERT_TRUE(std::filesystem::exists(folder_.Path() / u8"проверка.txt") ||
                    std::filesystem::exists(folder_.Path() / "test.txt"))
            << system;
        std::filesystem::remove(folder_.Path() / u8"проверка.txt");
        std::filesystem::remove(folder_.Path() / "test.txt");

        const SimRun without = RunSim(std::string("--trace --seed 3 --no-check-files --system ") +
                                      system + " " + script);
        ASSERT_EQ(without.status, 0) << system;
        EXPECT_EQ(without.out, with.out) << system;
        EXPECT_FALSE(std::filesystem::exists(folder_.Path() / u8"проверка.txt")) << system;
        EXPECT_FALSE(std::filesystem::exists(folder_.Path() / "test.txt")) << system;
    }
}

TEST_F(Simulator, SettingsFileIsAppliedAsAtStartUp) {
    std::string rows;
    for (int row = 1; row <= 60; ++row) {
        rows += (row == 8 || row == 33) ? "1\r\n" : "0\r\n";  // two systems: the later row wins
    }
    folder_.Write("save8.dat", rows);
    const SimRun run = RunSim("--trace --settings " + (folder_.Path() / "save8.dat").string() +
                              " " + Script("3 4 5"));
    ASSERT_EQ(run.status, 0);
    for (const auto& line : TraceLines(run.out)) {
        EXPECT_EQ(line[Recommended], "");  // statistics only
    }
}

TEST_F(Simulator, AutosavesTheGameEndedByNewGame) {
    const auto saves = folder_.Path() / "Autosave";
    const SimRun run = RunSim("--system statistics-only --autosave-dir " + saves.string() + " " +
                              Script("5 23 n 7 n"));
    ASSERT_EQ(run.status, 0);
    std::vector<std::string> contents;
    for (const auto& entry : std::filesystem::directory_iterator(saves)) {
        contents.push_back(folder_.Read(entry.path()));
    }
    ASSERT_EQ(contents.size(), 1u) << "a game of one spin is not saved";
    EXPECT_EQ(contents[0], "5  23");
}

}  // namespace
}  // namespace orbista

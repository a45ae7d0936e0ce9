#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "tests/sim/sim_run.h"
#include "tests/test_folder.h"

namespace orbista {
namespace {

// Runs `orbista-sim compare` with a shell command line; `streams` picks what is captured.
SimRun Compare(const std::string& arguments, const std::string& streams = "2>/dev/null") {
    return RunShellCommand(std::string(ORBISTA_SIM_PATH) + " compare " + arguments + " " + streams);
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

std::vector<std::string> Columns(const std::string& line) {
    std::vector<std::string> columns;
    std::istringstream in(line);
    for (std::string column; in >> column;) {
        columns.push_back(column);
    }
    return columns;
}

constexpr const char* Small =
    "--systems with-selection,peer,gizmo,chaos --seed 3 --runs 5 "
    "--spins 600";

TEST(CompareTest, TableAndCsvAreTheSameForOneJobOrTwoAndOnEveryRun) {
    TestFolder folder;
    const std::string one = (folder.Path() / "one.csv").string();
    const std::string two = (folder.Path() / "two.csv").string();
    const SimRun first = Compare(std::string(Small) + " --jobs 1 --csv " + one);
    const SimRun second = Compare(std::string(Small) + " --jobs 2 --csv " + two);
    ASSERT_EQ(first.status, 0);
    EXPECT_EQ(second.status, 0);
    EXPECT_EQ(second.out, first.out);
    EXPECT_EQ(folder.Read("two.csv"), folder.Read("one.csv"));
    EXPECT_EQ(Lines(folder.Read("one.csv")).size(), 1u + 4 * 5);
    EXPECT_EQ(Compare(std::string(Small) + " --jobs 2").out, first.out);
    EXPECT_NE(
        Compare("--systems with-selection,peer,gizmo,chaos --seed 4 --runs 5 --spins 600").out,
        first.out);
}

TEST(CompareTest, HeaderRepeatsTheRunAndRowsGoByMedianFinalBalance) {
    const SimRun run = Compare(Small);
    ASSERT_EQ(run.status, 0);
    const std::vector<std::string> lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 2u + 4);
    EXPECT_EQ(lines[0],
              "# orbista-sim compare --systems with-selection,peer,gizmo,chaos --settings "
              "defaults --seed 3 --runs 5 --spins 600");
    const std::vector<std::string> header = Columns(lines[1]);
    ASSERT_EQ(header.size(), 16u);
    EXPECT_EQ(header[4], "median");
    double previous = 1e18;
    for (size_t k = 2; k < lines.size(); ++k) {
        const std::vector<std::string> row = Columns(lines[k]);
        ASSERT_EQ(row.size(), header.size()) << lines[k];
        EXPECT_EQ(row[1], "5");
        EXPECT_EQ(row[2], "3000");
        EXPECT_EQ(row[12], "-2.70%");
        const double median = std::stod(row[4]);
        EXPECT_LE(median, previous);
        previous = median;
    }
    // Aligned: every line of the table as wide as its header.
    EXPECT_EQ(lines[2].size(), lines[1].size());
}

TEST(CompareTest, EverySystemThatBetsByDefaultAndOneRunPerSpinFile) {
    TestFolder folder;
    folder.Write("a.txt", "5  17  0  32  5  9  9  14  22  30  1");
    folder.Write("b.txt", "3 3 3 3 3 3 3 3");
    const SimRun run = Compare("--seed 1 --spin-files " + folder.Path().string());
    ASSERT_EQ(run.status, 0);
    const std::vector<std::string> lines = Lines(run.out);
    EXPECT_EQ(lines.size(), 2u + 11);
    EXPECT_NE(lines[0].find("(2 runs)"), std::string::npos) << lines[0];
    EXPECT_EQ(Columns(lines[2])[2], "19");
    EXPECT_EQ(run.out.find("statistics-only"), std::string::npos);
}

TEST(CompareTest, AGameLengthCutsTheJoinedPermanencesAndTheHeaderSaysWhatWasDropped) {
    TestFolder folder;
    folder.Write("a.csv", "Spin\r\n5,17,0,32,5;9;9\r\n14,22,30,1\r\n");
    folder.Write("b.csv", "# second table\n3 3 3 3 3 3 3 3");
    const std::string files =
        (folder.Path() / "a.csv").string() + " " + (folder.Path() / "b.csv").string();
    const SimRun run =
        Compare("--systems peer --seed 1 --spin-files " + files + " --game-length 6");
    ASSERT_EQ(run.status, 0);
    const std::vector<std::string> lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0],
              "# orbista-sim compare --systems peer --settings defaults --seed 1 "
              "--spin-files " +
                  files +
                  " --game-length 6 (19 spins: 3 games, 1 spins "
                  "dropped)");
    EXPECT_EQ(Columns(lines[2])[1], "3");
    EXPECT_EQ(Columns(lines[2])[2], "18");

    const SimRun tooLong =
        Compare("--spin-files " + files + " --game-length 20", "2>&1 >/dev/null");
    EXPECT_EQ(tooLong.status, 2);
    EXPECT_NE(tooLong.out.find("меньше, чем в одной игре: 19 при длине игры 20"), std::string::npos)
        << tooLong.out;
}

TEST(CompareTest, TheWheelTestOfAPermanenceAsATableOrAsCsv) {
    TestFolder folder;
    std::string permanence = "Number\n";
    for (int round = 0; round < 10; ++round) {
        for (int number = 0; number < 37; ++number) {
            permanence += std::to_string(number) + (number == 36 ? "\n" : ",");
        }
    }
    folder.Write("even.csv", permanence);
    const std::string path = (folder.Path() / "even.csv").string();
    const SimRun table = RunSimulatorProgram("wheel " + path);
    ASSERT_EQ(table.status, 0);
    const std::vector<std::string> lines = Lines(table.out);
    EXPECT_EQ(lines[0], "# orbista-sim wheel " + path + ": 370 spins");
    EXPECT_EQ(Columns(lines[2]),
              (std::vector<std::string>{"numbers", "37", "36", "0.0000", "1", "10.0"}));
    EXPECT_EQ(Columns(lines[12]),
              (std::vector<std::string>{"0", "10", "10.0", "0.00", "36", "0.9999"}));

    const SimRun csv = RunSimulatorProgram("wheel --csv " + path);
    ASSERT_EQ(csv.status, 0);
    const std::vector<std::string> rows = Lines(csv.out);
    EXPECT_EQ(rows[1], "numbers,all,370,370,,0,36,1,,");
    // Worked out apart: the chance of an absence of 36, and 2 (36/37)^369 for no repeat at all.
    EXPECT_TRUE(rows[2].starts_with("numbers,0,10,10,0,,,,36,0.999923012866")) << rows[2];
    EXPECT_TRUE(rows.back().starts_with("repeats,all,0,9.97297297297297")) << rows.back();
    EXPECT_NE(rows.back().find(",8.13236004698"), std::string::npos) << rows.back();

    folder.Write("bad.csv", "1,2\n3,x");
    const SimRun bad = RunShellCommand(std::string(ORBISTA_SIM_PATH) + " wheel " +
                                       (folder.Path() / "bad.csv").string() + " 2>&1");
    EXPECT_EQ(bad.status, 2);
    EXPECT_NE(bad.out.find("строка 2: «x» не является целым числом"), std::string::npos) << bad.out;
}

TEST(CompareTest, BadInputIsAUsageErrorNamingItBeforeAnythingRuns) {
    TestFolder folder;
    folder.Write("bad.txt", "1 2 99");
    std::filesystem::create_directory(folder.Path() / "empty");
    const std::string csv = (folder.Path() / "runs.csv").string();
    const std::string bad = (folder.Path() / "bad.txt").string();
    const std::string empty = (folder.Path() / "empty").string();
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"--systems peer,nosuch --runs 2 --spins 10", "nosuch"},
        {"--systems none --runs 2 --spins 10", "none"},
        {"--runs 0 --spins 10", "--runs"},
        {"--runs 2 --spins 100000000000", "--spins"},
        {"--runs 2 --spins -5", "--spins"},
        {"--runs 2", "--spins"},
        {"--runs 2 --spins 10 --spin-files " + bad, "either"},
        {"--spin-files " + bad, "bad.txt"},
        {"--spin-files " + (folder.Path() / "missing.txt").string(), "missing.txt"},
        {"--spin-files " + empty, "empty"},
        {"--spin-files", "--spin-files"},
        {"--runs 2 --spins 10 --game-length 5", "--game-length goes with --spin-files"},
        {"--spin-files " + bad + " --game-length 0", "--game-length"},
        {"--settings " + (folder.Path() / "no-save8.dat").string() + " --runs 2 --spins 10",
         "no-save8.dat"},
        {"--runs 2 --spins 10 --jobs 0", "--jobs"},
        {"--runs 2 --spins 10 --csv " + (folder.Path() / "no" / "runs.csv").string(), "runs.csv"},
        {"--runs 2 --spins 10 --frobnicate", "--frobnicate"},
        {"--runs 2 --spins 10 --seed 1x", "--seed takes a whole number: 1x"},
        {"--runs 2 --spins 10 --csv /no/runs.csv", "--csv: cannot write /no/runs.csv"},
    };
    for (const auto& [arguments, named] : cases) {
        const std::string output = arguments.find("--csv") == std::string::npos ? csv : "";
        const SimRun run =
            Compare(arguments + (output.empty() ? "" : " --csv " + output), "2>&1 >/dev/null");
        EXPECT_EQ(run.status, 2) << arguments;
        EXPECT_NE(run.out.find(named), std::string::npos) << arguments << "\n" << run.out;
    }
    EXPECT_FALSE(std::filesystem::exists(csv));
}

// The single run's log: one row per token, the events named.
TEST(CompareTest, ASingleRunLogsEveryTokenAsCsv) {
    TestFolder folder;
    folder.Write("script.txt", "5 17 c set:MaxStake=x 8 set:MaxStake=20 n 30");
    const std::string csv = (folder.Path() / "run.csv").string();
    const std::string command = std::string(ORBISTA_SIM_PATH) + " --seed 2 --script " +
                                (folder.Path() / "script.txt").string() + " --check-dir " +
                                folder.Path().string() + " --csv " + csv + " >/dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0);
    const std::vector<std::string> rows = Lines(folder.Read("run.csv"));
    ASSERT_EQ(rows.size(), 1u + 6);
    EXPECT_EQ(rows[0],
              "spin,number,recommended,stake_level,units_placed,payout,game_balance,"
              "total_balance,event");
    EXPECT_TRUE(rows[1].starts_with("1,5,")) << rows[1];
    EXPECT_TRUE(rows[3].starts_with("3,c,")) << rows[3];
    EXPECT_TRUE(rows[3].ends_with(",cancel")) << rows[3];
    EXPECT_TRUE(rows[4].starts_with("4,8,")) << rows[4];
    EXPECT_TRUE(rows[4].ends_with(",error")) << rows[4];
    EXPECT_TRUE(rows[5].ends_with(",0,0,new game")) << rows[5];

    const std::string random = std::string(ORBISTA_SIM_PATH) +
                               " --seed 2 --system with-selection --random 3000 --check-dir " +
                               folder.Path().string() + " --csv " + csv + " >/dev/null 2>&1";
    ASSERT_EQ(std::system(random.c_str()), 0);
    const std::string log = folder.Read("run.csv");
    EXPECT_NE(log.find(",loss stop\n"), std::string::npos);
    EXPECT_NE(log.find(",win stop\n"), std::string::npos);
    EXPECT_EQ(Lines(log).size(), 1u + 3000);
}

}  // namespace
}  // namespace orbista

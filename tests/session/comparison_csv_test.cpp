#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/errors.h"
#include "session/comparison.h"
#include "session/comparison_csv.h"
#include "storage/text_file.h"
#include "test_folder.h"

namespace orbista {
namespace {

ComparisonPlan Plan(int64_t bankroll, Shard shard = {}) {
    ComparisonPlan plan;
    // Statistics only: a name with a comma in the CSV's quoted column.
    plan.systems = {SelectionSystem::Peer, SelectionSystem::Chaos, SelectionSystem::StatisticsOnly};
    plan.seed = 9;
    plan.runs = 7;
    plan.spinsPerRun = 800;
    plan.bankroll = bankroll;
    plan.shard = shard;
    plan.jobs = 2;
    return plan;
}

ComparisonResult Played(const ComparisonPlan& plan) {
    ComparisonProgress progress;
    return Comparison(plan).Run(progress);
}

constexpr const char* Command = "orbista-sim compare --seed 9 --runs 7 --spins 800";

TEST(ComparisonCsvTest, ARuinedRunStopsWhereTheBankrollIsGone) {
    const ComparisonResult ruined = Played(Plan(300));
    const RunFigures& run = ruined.runs[0][0];
    ASSERT_TRUE(run.Ruined());
    EXPECT_EQ(run.spins, run.spinOfRuin);
    EXPECT_LE(run.finalTotalBalance, -300);
    // The same game, played without a bankroll to that spin, stands where the ruined one ended.
    ComparisonPlan cut = Plan(0);
    cut.spinsPerRun = run.spinOfRuin;
    EXPECT_EQ(Played(cut).runs[0][0].finalTotalBalance, run.finalTotalBalance);
}

TEST(ComparisonCsvTest, ShardsMergedGiveTheRunsOfTheWholeComparison) {
    TestFolder folder;
    std::vector<std::filesystem::path> files;
    for (int64_t k = 3; k >= 1; --k) {
        const ComparisonPlan plan = Plan(300, Shard{k, 3});
        const ComparisonResult result = Played(plan);
        EXPECT_EQ(result.games.front(), k);
        files.push_back(folder.Path() / ("part" + std::to_string(k) + ".csv"));
        ReplaceFile(files.back(),
                    ComparisonCsv(std::string(Command) + ShardOption(plan.shard), plan, result));
    }
    const ComparisonPlan whole = Plan(300);
    const std::string expected = ComparisonCsv(Command, whole, Played(whole));
    const MergedComparison merged = MergeComparisonCsvs(files);
    EXPECT_EQ(merged.command, Command);
    EXPECT_EQ(merged.plan.bankroll, 300);
    EXPECT_EQ(ComparisonCsv(merged.command, merged.plan, merged.result), expected);
    // One whole run's file merges into itself.
    ReplaceFile(folder.Path() / "whole.csv", expected);
    EXPECT_EQ(MergeComparisonCsvs({folder.Path() / "whole.csv"}).result.runs[1].size(), 7u);
}

TEST(ComparisonCsvTest, AMissingRepeatedOrForeignShardIsRefusedNamingTheFile) {
    TestFolder folder;
    const auto write = [&](const char* name, const std::string& command, Shard shard) {
        const ComparisonPlan plan = Plan(0, shard);
        ReplaceFile(folder.Path() / name,
                    ComparisonCsv(command + ShardOption(shard), plan, Played(plan)));
        return folder.Path() / name;
    };
    const auto one = write("one.csv", Command, {1, 2});
    const auto two = write("two.csv", Command, {2, 2});
    const auto other = write("other.csv", "orbista-sim compare --seed 8", {2, 2});
    folder.Write("broken.csv", std::string("# ") + Command + "\nsystem,run\n");
    const auto refused = [](const std::vector<std::filesystem::path>& files) {
        try {
            MergeComparisonCsvs(files);
        } catch (const FileError& error) {
            return std::string(error.what());
        }
        return std::string("merged");
    };
    EXPECT_EQ(refused({one}),
              "Не удалось прочитать файл \"" + one.string() + "\": нет файла части 2/2.");
    EXPECT_EQ(refused({one, one}), "Не удалось прочитать файл \"" + one.string() +
                                       "\": его часть 1/2 уже была в другом файле.");
    EXPECT_NE(refused({one, other}).find("other.csv\": он сделан другой командой"),
              std::string::npos);
    EXPECT_NE(refused({folder.Path() / "broken.csv"}).find("строка 2: не та строка заголовков"),
              std::string::npos);
    EXPECT_EQ(refused({two, one}), "merged");
}

}  // namespace
}  // namespace orbista

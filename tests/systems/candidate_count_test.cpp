#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "systems/system_test_support.h"

namespace orbista {
namespace {

using CandidateCountSystems = SystemTest;

// The candidate counts written to a check file, one per block.
std::vector<int32_t> CandidatesIn(const std::vector<std::string>& lines) {
    std::vector<int32_t> counts;
    for (size_t i = 0; i + 1 < lines.size(); ++i) {
        if (lines[i].empty()) {
            counts.push_back(std::stoi(lines[i + 1]));
        }
    }
    return counts;
}

// Spins that are all different, newest first.
std::vector<int32_t> DistinctSpins(int32_t count) {
    std::vector<int32_t> spins;
    for (int32_t n = 1; n <= count; ++n) {
        spins.push_back(n % NumberCount);
    }
    return spins;
}

TEST_F(CandidateCountSystems, WithSelectionOnOneSpinBetsItAndExplainsWhy) {
    Game({17});
    Run(SelectionSystem::WithSelection);

    EXPECT_EQ(BetNumbers(), std::vector<int32_t>{17});
    EXPECT_EQ(state->StakeLevel, 1);
    EXPECT_EQ(state->SelectionDepth, 1);
    EXPECT_EQ(state->SelectedCount, 1);
    ASSERT_EQ(files.written.size(), 1u);
    EXPECT_EQ(files.written[0].first, "проверка.txt");
    EXPECT_EQ(files.written[0].second,
              "\r\n1\r\n1\r\n\xF1\xF2\xE0\xE2\xEA\xE8\r\n1\r\n1\r\n\r\n2\r\n2\r\n");
}

TEST_F(CandidateCountSystems, WithSelectionThresholdFollowsTheNormalisationCoefficient) {
    // With K = 1 the threshold is 0, exactly the one-spin excess: a score equal to the
    // threshold is accepted.
    settings.SetNumber(Setting::NormalisationCoefficient, 1);
    Game({17});
    Run(SelectionSystem::WithSelection);
    EXPECT_EQ(BetNumbers(), std::vector<int32_t>{17});

    // With K = 10 the threshold is 2.25: nothing passes, and the count of the last
    // recommendation stays.
    settings.SetNumber(Setting::NormalisationCoefficient, 10);
    TakeCopies();
    state->SelectedCount = 7;
    files.written.clear();
    Run(SelectionSystem::WithSelection);
    EXPECT_TRUE(BetNumbers().empty());
    EXPECT_EQ(state->SelectionDepth, 0);
    EXPECT_EQ(state->SelectedCount, 7);
    EXPECT_EQ(CheckFileLines("проверка.txt"),
              (std::vector<std::string>{"", "1", "1", "", "2", "2"}));
}

TEST_F(CandidateCountSystems, WithSelectionKeepsTheLargestCountThatStillBeatsChance) {
    // Ten different numbers: each larger count is further above chance, so the last wins.
    Game(DistinctSpins(10));
    Run(SelectionSystem::WithSelection);
    EXPECT_EQ(state->SelectedCount, 10);
    EXPECT_EQ(state->SelectionDepth, 10);
    EXPECT_EQ(BetNumbers().size(), 10u);
    const std::vector<std::string> lines = CheckFileLines("проверка.txt");
    EXPECT_EQ(CandidatesIn(lines), (std::vector<int32_t>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));
    EXPECT_EQ(std::count(lines.begin(), lines.end(), Bets), 10);
    EXPECT_EQ(std::vector<std::string>(lines.end() - 3, lines.end()),
              (std::vector<std::string>{"", "11", "11"}))
        << "the exhausted candidate comes last, unaccepted, with j = n + 1";

    // A run of repeats pushes the sixth distinct number far back: below chance, so the five
    // newest numbers stay the choice.
    Game({1, 2, 3, 4, 5, 5, 5, 5, 5, 5, 6});
    files.written.clear();
    Run(SelectionSystem::WithSelection);
    EXPECT_EQ(BetNumbers(), (std::vector<int32_t>{1, 2, 3, 4, 5}));
    EXPECT_EQ(state->SelectedCount, 5);
    EXPECT_EQ(state->SelectionDepth, 5);
}

TEST_F(CandidateCountSystems, WithSelectionNeverLooksPastTheSpreadTable) {
    settings.SetNumber(Setting::MaxProcessedCount, 30);
    Game(DistinctSpins(37));
    Run(SelectionSystem::WithSelection);
    const std::vector<int32_t> candidates = CandidatesIn(CheckFileLines("проверка.txt"));
    ASSERT_FALSE(candidates.empty());
    EXPECT_EQ(candidates.front(), 1);
    EXPECT_EQ(candidates.back(), 24);
    EXPECT_LE(state->SelectedCount, 24);

    // A minimum beyond the table leaves no candidate at all.
    settings.SetNumber(Setting::MinCoveredCount, 25);
    TakeCopies();
    files.written.clear();
    Run(SelectionSystem::WithSelection);
    EXPECT_TRUE(CheckFileLines("проверка.txt").empty());
    EXPECT_TRUE(BetNumbers().empty());
}

TEST_F(CandidateCountSystems, SixLinesCountAZeroSpinApart) {
    // Newest first: zero, six-line 1, six-line 3. The zero is no six-line and takes one off
    // the exponent, so candidate 1 (j = 2) is exactly at chance and candidate 2 above it.
    Game({0, 5, 13});
    Run(SelectionSystem::SixLines);
    EXPECT_EQ(CheckFileLines("проверка.txt"),
              (std::vector<std::string>{"", "1", "2", Bets, "1", "2", "", "2", "3", Bets, "2", "3",
                                        "", "3", "4"}));
    EXPECT_EQ(state->SelectionDepth, 3);
    EXPECT_EQ(state->SelectedCount, 12);
    EXPECT_EQ(state->StakeLevel, 1);
    EXPECT_EQ(BetNumbers(), (std::vector<int32_t>{1, 2, 3, 4, 5, 6, 13, 14, 15, 16, 17, 18}))
        << "the zero spin places nothing";
}

TEST_F(CandidateCountSystems, SixLinesReadTheirBoundsFromTheFields) {
    // The minimum in Memo7 refuses the only candidate that reaches it, whatever the copy says.
    settings.SetNumber(Setting::MinCoveredCount, 3);
    Game({0, 5, 13});
    state->MinCoveredCount = 1;
    Run(SelectionSystem::SixLines);
    EXPECT_TRUE(BetNumbers().empty());
    EXPECT_EQ(state->SelectionDepth, 0);
    EXPECT_EQ(state->SelectedCount, 0);

    // Memo13 limits the six-lines; a typed 9 acts as the arrows' 4.
    settings.SetNumber(Setting::MinCoveredCount, 1);
    settings.SetNumber(Setting::MaxProcessedSixLines, 1);
    Run(SelectionSystem::SixLines);
    EXPECT_EQ(BetNumbers(), (std::vector<int32_t>{1, 2, 3, 4, 5, 6}));
    settings.SetText(Setting::MaxProcessedSixLines, "9");
    Game({1, 7, 13, 19, 25, 31, 2});
    files.written.clear();
    Run(SelectionSystem::SixLines);
    EXPECT_EQ(CandidatesIn(CheckFileLines("проверка.txt")), (std::vector<int32_t>{1, 2, 3, 4}));
}

TEST_F(CandidateCountSystems, PeerStakeGrowsWithTheNumbersCovered) {
    Game(DistinctSpins(10));
    // Peer reads Memo6 and Memo7 itself; the copies do not matter.
    state->MaxProcessedCount = 3;
    state->MinCoveredCount = 8;
    Run(SelectionSystem::Peer);
    EXPECT_EQ(BetNumbers().size(), 10u);
    EXPECT_EQ(state->StakeLevel, 10);
    ExpectStakeOnEveryBet(10);
    EXPECT_EQ(CheckFileLines("проверка.txt").back(), "11");

    settings.SetNumber(Setting::MinCoveredCount, 4);
    files.written.clear();
    Run(SelectionSystem::Peer);
    EXPECT_EQ(state->StakeLevel, 7);
    ExpectStakeOnEveryBet(7);

    // A minimum above every candidate: nothing is bet.
    settings.SetNumber(Setting::MinCoveredCount, 11);
    files.written.clear();
    Run(SelectionSystem::Peer);
    EXPECT_TRUE(BetNumbers().empty());
}

// Newest first: the given distinct numbers, then the last of them repeated, then the other
// numbers of the wheel once each.
std::vector<int32_t> DistinctThenRepeats(int32_t distinct, int32_t repeats) {
    std::vector<int32_t> spins;
    for (int32_t n = 1; n <= distinct; ++n) {
        spins.push_back(n);
    }
    spins.insert(spins.end(), repeats, distinct);
    for (int32_t n = distinct + 1; n <= 36; ++n) {
        spins.push_back(n);
    }
    spins.push_back(0);
    return spins;
}

TEST_F(CandidateCountSystems, AntiReviewBetsWhatDidNotComeWhenNumbersRepeat) {
    // Thirteen numbers, then 13 twenty times: fourteen distinct numbers take 34 spins, far
    // fewer than chance gives. The 23 numbers outside those spins are bet.
    Game(DistinctThenRepeats(13, 20));
    Run(SelectionSystem::AntiReview);
    EXPECT_EQ(state->SelectedCount, 23);
    EXPECT_EQ(state->SelectionDepth, 34);
    std::vector<int32_t> expected{0};
    for (int32_t n = 15; n <= 36; ++n) {
        expected.push_back(n);
    }
    EXPECT_EQ(BetNumbers(), expected);
    ExpectStakeOnEveryBet(1);
    const std::vector<std::string> lines = CheckFileLines("test.txt");
    EXPECT_EQ(CandidatesIn(lines).back(), 30);
}

TEST_F(CandidateCountSystems, AntiReviewJudgesTheFieldBoundsAfterAllCandidates) {
    // Five numbers, then twenty repeats: six distinct numbers in 26 spins is the strongest
    // shortfall, and the later, weaker ones with 13 numbers or more do not replace it. Betting
    // 31 numbers exceeds the maximum of 24, so nothing is bet.
    Game(DistinctThenRepeats(5, 20));
    Run(SelectionSystem::AntiReview);
    EXPECT_TRUE(BetNumbers().empty());
    EXPECT_EQ(state->SelectionDepth, 0);
    EXPECT_EQ(state->SelectedCount, 0);
    const std::vector<std::string> lines = CheckFileLines("test.txt");
    EXPECT_EQ(std::count(lines.begin(), lines.end(), Bets), 2)
        << "candidate 1 (36 numbers, refused at once) and candidate 6";
}

}  // namespace
}  // namespace orbista

#include <algorithm>
#include <array>
#include <optional>
#include <string_view>

#include "systems/progression.h"
#include "systems/shared.h"
#include "systems/systems.h"

namespace orbista {

namespace {

constexpr int32_t LargestSpreadCount = static_cast<int32_t>(DistinctSpreadTable.size());
constexpr int32_t AntiReviewLargestCount = 30;
// Anti-review never bets more numbers than this.
constexpr int32_t AntiReviewMostNumbers = 34;

struct Candidate {
    int32_t count = 0;      // a: the distinct values looked for
    Lookback lookback;      // j: how many newest entries hold them
    double expected = 0.0;  // E: the distinct values chance gives in j draws
};

// What a candidate-count system scans and from where its threshold starts.
struct CandidateScanRule {
    const History& series;
    bool sixLines = false;  // the six-line series: m = 6, zero spins counted apart
    int32_t first = 1;
    int32_t last = 0;
    double threshold = 0.0;
    std::string_view checkFileName;
};

// Called for every candidate count of every scan, many times a spin; left out of line, the call
// and the candidate it returns cost as much as the look itself.
[[gnu::always_inline]] inline Candidate LookAtCandidate(LookbackWalk& walk, bool sixLines,
                                                        int32_t count) {
    Candidate candidate;
    candidate.count = count;
    candidate.lookback = walk.Until(count);
    if (!candidate.lookback.exhausted) {
        // Within the readable history here, so the length fits 32 bits.
        const auto length = static_cast<int32_t>(candidate.lookback.length);
        candidate.expected = sixLines
                                 ? ExpectedDistinct(length - candidate.lookback.zeros, SixLineCount)
                                 : ExpectedDistinct(length, NumberCount);
    }
    return candidate;
}

// Looks at every candidate count in turn, up to the first one the game is too short for, and
// keeps the last candidate whose deviation from chance reaches the running threshold; each
// accepted candidate raises the threshold to its own deviation. judge(candidate, threshold)
// gives the candidate's deviation when it is accepted; accept(state, candidate) records it. The
// reasoning goes to the system's check file, one block per candidate, the accepted ones marked.
template <typename Judge, typename Accept>
void CandidateScan(SelectionContext& context, const CandidateScanRule& rule, Judge judge,
                   Accept accept) {
    GameState& state = context.state;
    CheckFileText& file = context.checkFiles.NewCheckFileText();
    double threshold = rule.threshold;
    LookbackWalk walk(rule.series, state.SpinCount, rule.sixLines);
    for (int32_t count = std::max(rule.first, 1); count <= rule.last; ++count) {
        const Candidate candidate = LookAtCandidate(walk, rule.sixLines, count);
        file.Line("");
        file.Line(count);
        file.Line(candidate.lookback.length);
        if (candidate.lookback.exhausted) {
            break;  // the game is too short for this count, and so for every larger one
        }
        if (const std::optional<double> deviation = judge(candidate, threshold)) {
            threshold = *deviation;
            accept(state, candidate);
            file.Line(CheckFileBetsMarker);
            file.Line(count);
            file.Line(candidate.lookback.length);
        }
    }
    context.checkFiles.WriteCheckFile(rule.checkFileName, file.Text());
}

// More distinct values than chance gives, by at least the threshold.
std::optional<double> MoreDistinctThanChance(const Candidate& candidate, double threshold) {
    const double excess = candidate.count - candidate.expected;
    if (excess >= threshold) {
        return excess;
    }
    return std::nullopt;
}

double NormalisedThreshold(const GameState& state) {
    return state.NormalisationCoefficient / 4.0 - 0.25;
}

// Numbers and six-lines below the player's minimum are not worth a bet: the candidate still
// raises the threshold, but nothing is bet on it.
void AcceptUnlessBelowMinimum(GameState& state, const Candidate& candidate, int32_t minimum) {
    state.SelectionDepth = candidate.lookback.length;
    state.SelectedCount = candidate.count;
    if (minimum > candidate.count) {
        state.SelectionDepth = 0;
        state.SelectedCount = 0;
    }
}

}  // namespace

void SystemWithSelection(SelectionContext& context) {
    GameState& state = context.state;
    state.SelectionDepth = 0;
    // Counts past the end of the spread table have no unit to be measured in; they are left out.
    const CandidateScanRule rule{
        .series = state.WorkingSeries,
        .first = state.MinCoveredCount,
        .last = std::min(state.MaxProcessedCount, LargestSpreadCount),
        .threshold = NormalisedThreshold(state),
        .checkFileName = SelectionCheckFileName,
    };
    CandidateScan(
        context, rule,
        [](const Candidate& candidate, double threshold) -> std::optional<double> {
            const double spread = DistinctSpreadTable[candidate.count - 1];
            const double excess = candidate.count - candidate.expected;
            if (excess >= threshold * spread) {
                return excess / spread;
            }
            return std::nullopt;
        },
        [](GameState& accepted, const Candidate& candidate) {
            accepted.SelectionDepth = candidate.lookback.length;
            accepted.SelectedCount = candidate.count;
        });
    state.StakeLevel = StakeLevelRule(state, state.SelectedCount);
    BetNewestEntries(state, state.SelectionDepth);
}

void SystemSixLines(SelectionContext& context) {
    GameState& state = context.state;
    const int32_t minimum = context.settings.ClampedNumber(Setting::MinCoveredCount);
    const int32_t mostSixLines = context.settings.ClampedNumber(Setting::MaxProcessedSixLines);
    state.SelectedCount = 0;
    state.SelectionDepth = 0;
    const CandidateScanRule rule{
        .series = state.SixLineHistory,
        .sixLines = true,
        .first = 1,
        .last = mostSixLines,
        .threshold = (state.NormalisationCoefficient - 1) / 15.0,
        .checkFileName = SelectionCheckFileName,
    };
    CandidateScan(context, rule, MoreDistinctThanChance,
                  [minimum](GameState& accepted, const Candidate& candidate) {
                      AcceptUnlessBelowMinimum(accepted, candidate, minimum);
                  });
    state.SelectedCount = SixLineCount * state.SelectedCount;
    state.StakeLevel = StakeLevelRule(state, state.SelectedCount);
    VisitNewestEntries(state.SixLineHistory, state.SelectionDepth,
                       [&state](int32_t sixLine) { BetSixLine(state, sixLine); });
}

void SystemPeer(SelectionContext& context) {
    GameState& state = context.state;
    const int32_t minimum = context.settings.ClampedNumber(Setting::MinCoveredCount);
    const int32_t maximum = context.settings.ClampedNumber(Setting::MaxProcessedCount);
    state.SelectionDepth = 0;
    const CandidateScanRule rule{
        .series = state.WorkingSeries,
        .first = 1,
        .last = maximum,
        .threshold = 0.0,
        .checkFileName = SelectionCheckFileName,
    };
    CandidateScan(context, rule, MoreDistinctThanChance,
                  [minimum](GameState& accepted, const Candidate& candidate) {
                      AcceptUnlessBelowMinimum(accepted, candidate, minimum);
                  });
    // No progression: the more numbers are covered, the more goes on each.
    state.StakeLevel = state.SelectedCount - minimum + 1;
    if (state.SelectionDepth > 0) {
        BetNewestEntries(state, state.SelectionDepth);
    }
}

void SystemAntiReview(SelectionContext& context) {
    GameState& state = context.state;
    const int32_t minimum = context.settings.ClampedNumber(Setting::MinCoveredCount);
    const int32_t maximum = context.settings.ClampedNumber(Setting::MaxProcessedCount);
    state.SelectionDepth = 0;
    const CandidateScanRule rule{
        .series = state.WorkingSeries,
        .first = 1,
        .last = AntiReviewLargestCount,
        .threshold = NormalisedThreshold(state),
        .checkFileName = AntiReviewCheckFileName,
    };
    CandidateScan(
        context, rule,
        [](const Candidate& candidate, double threshold) -> std::optional<double> {
            const double shortfall = candidate.expected - candidate.count;
            if (shortfall >= threshold) {
                return shortfall;
            }
            return std::nullopt;
        },
        [](GameState& accepted, const Candidate& candidate) {
            accepted.SelectionDepth = candidate.lookback.length;
            accepted.SelectedCount = NumberCount - candidate.count;
            if (accepted.SelectedCount > AntiReviewMostNumbers) {
                accepted.SelectionDepth = 0;
                accepted.SelectedCount = 0;
            }
        });
    // The player's bounds apply to the numbers bet, judged once on the candidate kept last.
    if (maximum < state.SelectedCount || minimum > state.SelectedCount) {
        state.SelectionDepth = 0;
        state.SelectedCount = 0;
    }
    state.StakeLevel = StakeLevelRule(state, state.SelectedCount);
    if (state.SelectionDepth > 0) {
        for (int32_t number = 0; number < NumberCount; ++number) {
            state.Stakes[number] = state.StakeLevel;
        }
        VisitNewestEntries(state.WorkingSeries, state.SelectionDepth, [&state](int32_t number) {
            if (IsWheelNumber(number)) {
                state.Stakes[number] = 0;
            }
        });
    }
}

}  // namespace orbista

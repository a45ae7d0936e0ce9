#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "model/check_file.h"
#include "model/game_state.h"
#include "model/random.h"
#include "model/settings_model.h"
#include "systems/selection.h"
#include "tests/recording_check_files.h"

namespace orbista {

// A game state, the window's settings at their defaults, a seeded generator and a check-file
// recorder, wired the way the cycle hands them to the selection step.
class SystemTest : public ::testing::Test {
  protected:
    SystemTest() { random.Seed(20240601); }

    // Enters a game, newest spin first, into the drawn series, the working series and the
    // six-line series, and takes this cycle's settings copies.
    void Game(std::initializer_list<int32_t> newestFirst) {
        Game(std::vector<int32_t>(newestFirst));
    }
    void Game(const std::vector<int32_t>& newestFirst) {
        int32_t k = 0;
        for (const int32_t number : newestFirst) {
            ++k;
            state->SpinHistory[k] = number;
            state->WorkingSeries[k] = number;
            state->SixLineHistory[k] = SixLineOf(number);
        }
        state->SpinCount = k;
        TakeCopies();
    }

    void TakeCopies() {
        state->MinCoveredCount = settings.ClampedNumber(Setting::MinCoveredCount);
        state->MaxProcessedCount = settings.ClampedNumber(Setting::MaxProcessedCount);
        state->ProgressionSteepness = settings.ClampedNumber(Setting::ProgressionSteepness);
        state->NormalisationCoefficient = settings.ClampedNumber(Setting::NormalisationCoefficient);
    }

    // One selection step of the given system, from a cleared recommendation.
    void Run(SelectionSystem system) {
        settings.SetActiveSystem(system);
        state->Stakes.fill(0);
        RunSelectionSystem(context);
    }

    // The numbers 0..36 that carry a stake, ascending.
    std::vector<int32_t> BetNumbers() const {
        std::vector<int32_t> numbers;
        for (int32_t n = 0; n < NumberCount; ++n) {
            if (state->Stakes[n] > 0) {
                numbers.push_back(n);
            }
        }
        return numbers;
    }

    // Every bet number carries exactly this stake.
    void ExpectStakeOnEveryBet(int32_t stake) const {
        for (const int32_t n : BetNumbers()) {
            EXPECT_EQ(state->Stakes[n], stake) << "number " << n;
        }
    }

    // The lines of the only check file written, without their CR LF ends.
    std::vector<std::string> CheckFileLines(std::string_view expectedName) const {
        EXPECT_EQ(files.written.size(), 1u);
        if (files.written.empty()) {
            return {};
        }
        EXPECT_EQ(files.written.front().first, expectedName);
        std::vector<std::string> lines;
        std::string_view text = files.written.front().second;
        while (!text.empty()) {
            const size_t end = text.find("\r\n");
            EXPECT_NE(end, std::string_view::npos) << "every line ends with CR LF";
            if (end == std::string_view::npos) {
                break;
            }
            lines.emplace_back(text.substr(0, end));
            text.remove_prefix(end + 2);
        }
        return lines;
    }

    std::unique_ptr<GameState> state = std::make_unique<GameState>();
    MemorySettings settings;
    RandomGenerator random;
    RecordingCheckFiles files;
    SelectionContext context{*state, settings, random, files};
};

inline const std::string Bets{CheckFileBetsMarker};

}  // namespace orbista

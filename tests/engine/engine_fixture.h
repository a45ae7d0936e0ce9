#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "engine/engine.h"
#include "engine/headless_view.h"
#include "model/settings_model.h"
#include "session/session.h"
#include "storage/autosave_folder.h"
#include "systems/progression.h"
#include "tests/recording_check_files.h"
#include "tests/test_folder.h"

namespace orbista {

// The headless window, with a stand-in for the selection system: whatever `system` does runs
// where the cycle clears the recommendation for the system to fill, in a game with spins, as the
// real step would. The tests size stakes themselves and so do not depend on any real system.
class ViewWithSystem : public HeadlessView {
  public:
    explicit ViewWithSystem(const GameState& state) : state_(state) {}

    void ClearRecommendedNumbers() override {
        HeadlessView::ClearRecommendedNumbers();
        if (system && state_.SpinInProgress == 1 && state_.SpinCount > 0) {
            system();
        }
    }

    std::function<void()> system;

  private:
    const GameState& state_;
};

class EngineTest : public ::testing::Test {
  protected:
    EngineTest() {
        random.Seed(11);
        settings.SetActiveSystem(SelectionSystem::StatisticsOnly);
        engine.SetPauseAfterWinMessage(std::chrono::milliseconds(0));
        engine.StartUp();
        state.ProgressionSteepness = settings.Number(Setting::ProgressionSteepness);
    }

    // Every cycle recommends these numbers at the level the progression gives for them.
    void RecommendSized(std::vector<int32_t> chosen) {
        view.system = [this, chosen] {
            state.StakeLevel = StakeLevelRule(state, static_cast<int32_t>(chosen.size()));
            for (const int32_t n : chosen) {
                state.Stakes[n] = state.StakeLevel;
            }
        };
    }
    // Every cycle recommends these numbers at this many units each.
    void RecommendFixed(std::vector<int32_t> chosen, int32_t units) {
        view.system = [this, chosen, units] {
            for (const int32_t n : chosen) {
                state.Stakes[n] = units;
            }
        };
    }
    void Spins(std::initializer_list<int32_t> numbers) {
        for (const int32_t n : numbers) {
            engine.EnterNumber(n);
        }
    }
    std::string Text(Display display) const { return view.Text(display); }

    std::unique_ptr<GameState> owned = std::make_unique<GameState>();
    GameState& state = *owned;
    MemorySettings settings;
    ViewWithSystem view{state};
    RandomGenerator random;
    TestFolder folder;
    RecordingCheckFiles checkFiles;
    Session session{{state, settings, view, random}, checkFiles};
    AutosaveFolder& autosaves = session.autosaves;
    Engine& engine = session.engine;
};

// The twelve numbers of the worked examples; 5 is one of them, 20 is not.
inline const std::vector<int32_t> Twelve = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};

}  // namespace orbista

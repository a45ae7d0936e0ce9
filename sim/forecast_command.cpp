#include "sim/forecast_command.h"

#include <chrono>
#include <random>

#include "model/errors.h"

namespace orbista {

namespace {

// Beyond these a forecast is a typing mistake rather than a question.
constexpr int64_t MostContinuations = 10'000'000;
constexpr int64_t MostHorizon = 10'000'000;

const char* LadderEndName(LadderEnd end) {
    switch (end) {
        case LadderEnd::LossStop:
            return "loss_stop";
        case LadderEnd::EveryNumberBet:
            return "every_number_bet";
        case LadderEnd::RowLimit:
            return "row_limit";
        case LadderEnd::Error:
            return "error";
    }
    return "";
}

}  // namespace

ForecastCommand::ForecastCommand(CLI::App& app, std::FILE* out, std::FILE* err)
    : Command(app, out, err) {
    DeclareSettingsAndSystem(app, runOptions_, systemName_);
    AddPathOption(app, "--script", script_, "FILE",
                  "plays the tokens of the file first (without it: a new game)");
    AddTextOption(app, "--seed", seedText_, "N",
                  "seeds the script's game and the forecast: the same arguments, the same output");
    AddTextOption(app, "--continuations", continuationsText_, "K",
                  "continuations to play (default 2000)");
    AddTextOption(app, "--horizon", horizonText_, "H",
                  "spins after which a continuation counts as open (default 5000)");
}

void ForecastCommand::Prepare() {
    runOptions_.checkFiles = false;
    TakeSystemAndSeed(systemName_, seedText_, runOptions_);
    options_.seed = runOptions_.seed ? *runOptions_.seed : std::random_device()();
    if (continuationsText_) {
        options_.continuations =
            CountValue("--continuations", *continuationsText_, MostContinuations);
    }
    if (horizonText_) {
        options_.horizon =
            static_cast<int32_t>(CountValue("--horizon", *horizonText_, MostHorizon));
    }
    if (script_) {
        tokens_ = ReadScript(*script_);
    }
    simulation_ = std::make_unique<Simulation>(runOptions_, out_, err_);
}

int ForecastCommand::Play() {
    simulation_->PlayScript(tokens_);
    HeadlessRun& run = simulation_->Run();
    if (!HasForecast(run.settings.ActiveSystem())) {
        std::fprintf(out_, "forecast: none (the active system places no bets)\n");
        return 0;
    }
    try {
        PrintForecast(RunForecast(TakePicture(*run.state, run.settings, run.view), options_));
    } catch (const PlayerError& error) {
        std::fprintf(err_, "%s: %s\n", Name().c_str(), error.what());
        std::fprintf(out_, "forecast: none (a field holds no number)\n");
    }
    return 0;
}

void ForecastCommand::PrintForecast(const Forecast& forecast) const {
    std::fprintf(out_, "seed: %llu\ncontinuations: %lld\nhorizon: %d\n",
                 static_cast<unsigned long long>(options_.seed),
                 static_cast<long long>(forecast.continuations), forecast.horizon);
    const auto share = [this](const char* key, const Share& value) {
        std::fprintf(out_, "%s: %.4f [%.4f, %.4f]\n", key, value.value, value.interval.low,
                     value.interval.high);
    };
    share("win_stop", forecast.winStop);
    share("loss_stop", forecast.lossStop);
    share("open", forecast.open);
    const auto mean = [this](const char* key, const Mean& value) {
        std::fprintf(out_, "%s: %.1f [%.1f, %.1f]\n", key, value.value, value.interval.low,
                     value.interval.high);
    };
    mean("expected_total_change", forecast.totalChange);
    mean("expected_units_staked", forecast.unitsStaked);
    if (forecast.medianSpinsToEnd) {
        std::fprintf(out_, "median_spins_to_end: %lld\n",
                     static_cast<long long>(*forecast.medianSpinsToEnd));
    } else {
        std::fprintf(out_, "median_spins_to_end: >%d\n", forecast.horizon);
    }
    std::fprintf(out_, "ladder: step stake_per_number numbers on_table lost game_balance\n");
    for (size_t k = 0; k < forecast.ladder.size(); ++k) {
        const LadderStep& step = forecast.ladder[k];
        std::fprintf(out_, "ladder: %zu %d %d %lld %lld %lld\n", k + 1, step.stakePerNumber,
                     step.numbers, static_cast<long long>(step.onTable),
                     static_cast<long long>(step.lost), static_cast<long long>(step.gameBalance));
    }
    std::fprintf(out_, "ladder_end: %s\n", LadderEndName(forecast.ladderEnd));
}

}  // namespace orbista

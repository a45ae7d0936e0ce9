#include "sim/single_run.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <chrono>

#include "model/errors.h"
#include "storage/settings_file.h"
#include "storage/text_file.h"

namespace orbista {

Simulation::Simulation(const RunOptions& options, std::FILE* out, std::FILE* err)
    : run_(options.seed,
           options.checkFiles ? options.checkDir.value_or(".")
                              : std::optional<std::filesystem::path>(),
           options.autosaveDir),
      out_(out),
      err_(err),
      trace_(options.trace) {
    MemorySettings& settings = run_.settings;
    if (options.settingsFile) {
        StoredSettings rows{};
        ReadSettingsRows(*options.settingsFile, rows);
        ShowSettings(settings, rows);
    }
    if (options.system) {
        settings.SetActiveSystem(*options.system);
    }
    if (options.sectorsOnTable) {
        settings.SetFlag(Setting::SectorsOnTable, true);
    }
    NoteTotalBalance();
    if (options.csv) {
        log_ = std::make_unique<StreamedFile>(*options.csv);
        log_->Write(LogHeader);
    }
    countersBefore_ = run_.engine.Counters();
}

void Simulation::CloseLog() {
    if (log_) {
        log_->Commit();
    }
}

void Simulation::Play(const ScriptToken& token) {
    switch (token.kind) {
        case ScriptToken::Kind::Type:
            Type(token);
            return;
        case ScriptToken::Kind::Spin:
            run_.engine.EnterNumber(token.number);
            break;
        case ScriptToken::Kind::Cancel:
            run_.engine.CancelSpin();
            break;
        case ScriptToken::Kind::NewGame:
            run_.engine.NewGame();
            break;
    }
    Finish(token.text);
}

int64_t Simulation::PlayScript(const std::vector<ScriptToken>& tokens) {
    int64_t spins = 0;
    for (const ScriptToken& token : tokens) {
        Play(token);
        spins += token.kind == ScriptToken::Kind::Spin ? 1 : 0;
    }
    return spins;
}

void Simulation::PlayRandom(int64_t spins) {
    std::array<char, 4> digits{};
    for (int64_t i = 0; i < spins; ++i) {
        const int32_t number = run_.random.Random(NumberCount);
        run_.engine.EnterNumber(number);
        const auto written = std::to_chars(digits.data(), digits.data() + digits.size(), number);
        Finish(std::string_view(digits.data(), written.ptr));
    }
}

void Simulation::PrintSummary() const {
    const EngineCounters& counters = run_.engine.Counters();
    const HeadlessView& view = run_.view;
    std::string summary;
    const auto line = [&summary](std::string_view key, const std::string& value) {
        summary.append(key).append(": ").append(value).append("\n");
    };
    line("spins", std::to_string(counters.spins));
    line("cancels", std::to_string(counters.cancels));
    line("new_games", std::to_string(counters.newGames));
    line("win_stops", std::to_string(counters.winStops));
    line("loss_stops", std::to_string(counters.lossStops));
    line("total_balance", view.Text(Display::TotalBalance));
    line("game_balance", view.Text(Display::GameBalance));
    line("min_total_balance", std::to_string(minTotal_));
    line("max_total_balance", std::to_string(maxTotal_));
    line("units_staked", std::to_string(counters.unitsStaked));
    line("units_won", std::to_string(counters.unitsWon));
    WriteOut(out_, summary);
}

void Simulation::Type(const ScriptToken& token) {
    MemorySettings& settings = run_.settings;
    if (token.system) {
        settings.SetActiveSystem(*token.system);
    } else if (token.balance) {
        run_.view.Type(ControlOf(*token.balance), token.value);
    } else if (InfoOf(*token.setting).kind == SettingKind::Number) {
        settings.SetText(*token.setting, token.value);
    } else {
        SetFlagAsClicked(*token.setting, token.value == "1");
    }
}

void Simulation::SetFlagAsClicked(Setting setting, bool on) {
    if (InfoOf(setting).seriesChoice) {
        SetSeriesChoice(run_.settings, setting, on);
    } else {
        run_.settings.SetFlag(setting, on);
    }
}

void Simulation::Finish(std::string_view token) {
    NoteTotalBalance();
    ++tokensPlayed_;
    const TokenOutcome outcome{tokensPlayed_, token,           *run_.state,
                               run_.view,     countersBefore_, run_.engine.Counters()};
    if (trace_) {
        line_.clear();
        AppendTraceLine(line_, outcome);
        WriteOut(out_, line_);
    } else {
        PrintErrors(token);
    }
    if (log_) {
        line_.clear();
        AppendLogRow(line_, outcome);
        log_->Write(line_);
    }
    countersBefore_ = run_.engine.Counters();
    run_.view.ClearMessages();
}

void Simulation::NoteTotalBalance() {
    if (const std::optional<int32_t> total = run_.view.Number(Display::TotalBalance)) {
        minTotal_ = std::min<int64_t>(minTotal_, *total);
        maxTotal_ = std::max<int64_t>(maxTotal_, *total);
    }
}

// Without a trace, the errors that the window would have shown in a message box (a field that
// holds no number, a check file or an autosave that could not be written) go to standard error,
// so that a run never fails unseen.
void Simulation::PrintErrors(std::string_view token) const {
    for (const std::string& message : run_.view.messages) {
        if (message.starts_with(HeadlessView::ErrorPrefix)) {
            std::fprintf(err_, "orbista-sim: step %lld (%.*s): %s\n",
                         static_cast<long long>(tokensPlayed_), static_cast<int>(token.size()),
                         token.data(), message.c_str() + HeadlessView::ErrorPrefix.size());
        }
    }
}

void DeclareSettingsAndSystem(CLI::App& app, RunOptions& options,
                              std::optional<std::string>& systemName) {
    AddPathOption(app, "--settings", options.settingsFile, "FILE",
                  "settings in the save8.dat format, applied as the window applies them at start");
    AddTextOption(app, "--system", systemName, "NAME",
                  "the active system, chosen after the settings (names below)");
}

void TakeSystemAndSeed(const std::optional<std::string>& systemName,
                       const std::optional<std::string>& seedText, RunOptions& options) {
    if (systemName) {
        options.system = SystemBySimName(*systemName);
        if (!options.system) {
            throw UsageError("unknown system: " + *systemName);
        }
    }
    if (seedText) {
        options.seed = SeedValue("--seed", *seedText);
    }
}

SingleRunCommand::SingleRunCommand(CLI::App& app, std::FILE* out, std::FILE* err)
    : Command(app, out, err) {
    DeclareSettingsAndSystem(app, options_, systemName_);
    app.add_flag("--sectors-on-table", options_.sectorsOnTable,
                 "ESD counts its sectors on the table, not on the wheel");
    AddTextOption(app, "--seed", seedText_, "N",
                  "seeds the random generator: the same arguments give the same run");
    AddPathOption(app, "--check-dir", options_.checkDir, "DIR",
                  "where the systems' check files go (made when missing; default: here)");
    app.add_flag("--no-check-files", noCheckFiles_, "writes no check file, for long batch runs");
    AddPathOption(app, "--autosave-dir", options_.autosaveDir, "DIR",
                  "saves every finished game there as a spin file");
    app.add_flag("--trace", options_.trace,
                 "prints a tab-separated line per token: the displays, the bets, the messages");
    AddPathOption(app, "--csv", options_.csv, "FILE",
                  "writes a CSV row per token: bets, stake, payout, balances, events");
    AddPathOption(app, "--script", script_, "FILE",
                  "plays the tokens of the file: 0..36, c (cancel), n (new game), set:NAME=TEXT");
    AddTextOption(app, "--random", randomText_, "N", "plays N random spins");
}

void SingleRunCommand::Prepare() {
    options_.checkFiles = !noCheckFiles_;
    TakeSystemAndSeed(systemName_, seedText_, options_);
    if (randomText_) {
        randomSpins_ = ParseWhole<int64_t>(*randomText_);
        if (!randomSpins_ || *randomSpins_ < 0) {
            throw UsageError("--random takes a number of spins: " + *randomText_);
        }
    }
    if (script_.has_value() == randomSpins_.has_value()) {
        throw UsageError("give exactly one of --script FILE and --random N");
    }
    if (script_) {
        tokens_ = ReadScript(*script_);
    }
    // A folder that cannot be made or written is told before the run.
    if (options_.checkFiles) {
        PrepareFolderForWriting(options_.checkDir.value_or("."));
    }
    if (options_.autosaveDir) {
        PrepareFolderForWriting(*options_.autosaveDir);
    }
    simulation_ = std::make_unique<Simulation>(options_, out_, err_);
}

int SingleRunCommand::Play() {
    const auto started = std::chrono::steady_clock::now();
    int64_t spins = 0;
    if (randomSpins_) {
        simulation_->PlayRandom(*randomSpins_);
        spins = *randomSpins_;
    } else {
        spins = simulation_->PlayScript(tokens_);
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    simulation_->PrintSummary();
    FlushOut(out_);
    simulation_->CloseLog();
    std::fprintf(err_, "spins_per_second: %.0f\n", seconds > 0 ? spins / seconds : 0.0);
    return 0;
}

}  // namespace orbista

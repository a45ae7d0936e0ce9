#include "sim/compare.h"

#include "sim/interruption.h"
#include "storage/spin_file.h"

#include <unistd.h>
#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdarg>
#include <future>
#include <optional>
#include <stdexcept>
#include <string_view>
#include <thread>

#include "model/errors.h"
#include "session/comparison.h"
#include "session/comparison_stats.h"
#include "storage/text_file.h"

namespace orbista {

namespace {

constexpr int MostJobs = 256;

std::vector<SelectionSystem> ParseSystems(const std::string& list) {
    if (list == "all") {
        std::vector<SelectionSystem> systems;
        for (const SystemInfo& info : SystemsTable()) {
            systems.push_back(info.system);
        }
        return systems;
    }
    std::vector<SelectionSystem> systems;
    size_t start = 0;
    while (start <= list.size()) {
        const size_t comma = std::min(list.find(',', start), list.size());
        const std::string name = list.substr(start, comma - start);
        const auto system = SystemBySimName(name);
        if (!system || *system == SelectionSystem::None) {
            throw UsageError("unknown system in --systems: " + name);
        }
        if (std::find(systems.begin(), systems.end(), *system) == systems.end()) {
            systems.push_back(*system);
        }
        start = comma + 1;
    }
    return systems;
}

// The line that repeats what was compared, so that a surprising result can be run again.
std::string HeaderLine(const CompareOptions& options, const GameCut& cut) {
    std::string line = "# orbista-sim compare --systems " + options.systemsText + " --settings " +
                       options.settingsText;
    if (options.plan.sectorsOnTable) {
        line += " --sectors-on-table";
    }
    line += " --seed " + std::to_string(options.plan.seed);
    if (options.plan.PlaysSpinFiles()) {
        line += " --spin-files";
        for (const std::string& path : options.spinPaths) {
            line += " " + path;
        }
        if (options.plan.gameLength > 0) {
            line += " --game-length " + std::to_string(options.plan.gameLength) + " (" +
                    std::to_string(cut.spins) + " spins: " + std::to_string(cut.games) +
                    " games, " + std::to_string(cut.dropped) + " spins dropped)";
        } else {
            line += " (" + std::to_string(options.plan.spinFiles.size()) + " runs)";
        }
    } else {
        line += " --runs " + std::to_string(options.plan.runs) + " --spins " +
                std::to_string(options.plan.spinsPerRun);
    }
    return line + "\n";
}

std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

std::string Format(const char* format, ...) {
    char buffer[64];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    return buffer;
}

std::vector<std::string> TableRow(const SystemFigures& figures) {
    return {std::string(InfoOf(figures.system)->simName),
            std::to_string(figures.runs),
            std::to_string(figures.spins),
            Format("%.1f", figures.meanFinal),
            Format("%.1f", figures.medianFinal),
            Format("%.1f", figures.p5Final),
            Format("%.1f", figures.p95Final),
            Format("%.1f%%", 100 * figures.shareBelowZero),
            Format("%.3f", figures.winStopsPerThousand),
            Format("%.3f", figures.lossStopsPerThousand),
            Format("%.2f%%", 100 * figures.returnPerUnit),
            Format("%.2f%%", 100 * figures.returnStandardError),
            Format("%.2f%%", 100 * FairWheelReturn),
            Format("%.1f", figures.medianDrawdown),
            Format("%.1f", figures.p95Drawdown),
            std::to_string(figures.highestStakeLevel)};
}

// Aligned columns: the system's name to the left, the figures to the right.
std::string Table(const std::vector<SystemFigures>& ranked) {
    std::vector<std::vector<std::string>> rows = {
        {"system", "runs", "spins", "mean", "median", "p5", "p95", "below_0", "win_stops/1k",
         "loss_stops/1k", "return/unit", "std_error", "fair_wheel", "drawdown_median",
         "drawdown_p95", "highest_stake"}};
    for (const SystemFigures& figures : ranked) {
        rows.push_back(TableRow(figures));
    }
    std::vector<size_t> widths(rows[0].size(), 0);
    for (const auto& row : rows) {
        for (size_t c = 0; c < row.size(); ++c) {
            widths[c] = std::max(widths[c], row[c].size());
        }
    }
    std::string text;
    for (const auto& row : rows) {
        for (size_t c = 0; c < row.size(); ++c) {
            const std::string pad(widths[c] - row[c].size(), ' ');
            text += c == 0 ? row[c] + pad : "  " + pad + row[c];
        }
        text += '\n';
    }
    return text;
}

// Runs the comparison on its own thread while this one shows how far it is, on a terminal only.
ComparisonResult RunShowingProgress(const Comparison& comparison, ComparisonProgress& progress,
                                    std::FILE* err) {
    if (isatty(fileno(err)) == 0) {
        return comparison.Run(progress);
    }
    auto running = std::async(std::launch::async, [&] { return comparison.Run(progress); });
    const auto started = std::chrono::steady_clock::now();
    const double total = static_cast<double>(comparison.TotalSpins());
    while (running.wait_for(std::chrono::milliseconds(250)) != std::future_status::ready) {
        const double done = static_cast<double>(progress.SpinsDone());
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        const double rate = seconds > 0 ? done / seconds : 0;
        const double left = rate > 0 ? (total - done) / rate : 0;
        std::fprintf(err, "\rspins %.0f of %.0f  %.0f spins/s  %.0f s left   ", done, total, rate,
                     left);
        std::fflush(err);
    }
    std::fprintf(err, "\r%*s\r", 60, "");
    return running.get();
}

// A request that this machine could not finish in a day or hold in its memory is a mistake.
void RefuseWhatTheMachineCannotDo(const Comparison& comparison) {
    const ComparisonPlan& plan = comparison.Plan();
    const std::string asked = std::to_string(plan.systems.size()) + " systems × " +
                              std::to_string(comparison.RunCount()) + " games";
    if (comparison.TotalSpins() > MostComparisonSpins) {
        throw UsageError(asked + " come to " + std::to_string(comparison.TotalSpins()) +
                         " spins, more than the " + std::to_string(MostComparisonSpins) +
                         " a comparison may play");
    }
    if (comparison.ResultBytes() > MostComparisonResultBytes) {
        throw UsageError("the results of " + asked + " would take " +
                         std::to_string(comparison.ResultBytes()) + " bytes of memory, more than " +
                         std::to_string(MostComparisonResultBytes) + " (2 GB)");
    }
}

}  // namespace

std::vector<std::filesystem::path> ExpandSpinPaths(const std::vector<std::string>& paths) {
    std::vector<std::filesystem::path> files;
    for (const std::string& path : paths) {
        std::error_code error;
        if (std::filesystem::is_directory(path, error)) {
            const std::vector<std::filesystem::path> inFolder = SpinFilesOfFolder(path);
            if (inFolder.empty()) {
                throw UsageError("no .txt spin file in the folder " + path);
            }
            files.insert(files.end(), inFolder.begin(), inFolder.end());
        } else {
            files.emplace_back(path);
        }
    }
    return files;
}

CompareCommand::CompareCommand(CLI::App& app, std::FILE* out, std::FILE* err)
    : Command(app, out, err) {
    AddTextOption(app, "--systems", systemsText_, "LIST",
                  "the systems compared, apart by commas, or all (default: every one that bets)");
    AddPathOption(app, "--settings", settingsFile_, "FILE",
                  "settings in the save8.dat format, applied to every run (default: defaults)");
    app.add_flag("--sectors-on-table", options_.plan.sectorsOnTable,
                 "ESD counts its sectors on the table, not on the wheel");
    AddTextOption(app, "--seed", seedText_, "N",
                  "seeds the spins of every run (default: the clock, printed in the header)");
    AddTextOption(app, "--runs", runsText_, "R", "plays R games of random spins per system");
    AddTextOption(app, "--spins", spinsText_, "N", "of N spins each");
    AddPathsOption(app, "--spin-files", spinPaths_, "PATH",
                   "or one game per spin file, a folder giving each of its .txt files");
    AddTextOption(app, "--game-length", gameLengthText_, "N",
                  "joins the spin files in their order and cuts them into games of N spins, "
                  "dropping a shorter remainder");
    AddTextOption(app, "--jobs", jobsText_, "J", "plays on J threads (default: 1)");
    AddPathOption(app, "--csv", csv_, "FILE", "writes one CSV row per system and game");
}

void CompareCommand::Prepare() {
    CompareOptions& options = options_;
    options.plan.systems = BettingSystems();
    if (systemsText_) {
        options.systemsText = *systemsText_;
        options.plan.systems = ParseSystems(options.systemsText);
    }
    if (settingsFile_) {
        options.settingsText = settingsFile_->string();
        StoredSettings rows{};
        ReadSettingsRows(*settingsFile_, rows);
        options.plan.settings = rows;
    }
    if (seedText_) {
        options.plan.seed = SeedValue("--seed", *seedText_);
    } else {
        options.plan.seed =
            static_cast<uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
    }
    std::optional<int64_t> runs;
    std::optional<int64_t> spins;
    if (runsText_) {
        runs = CountValue("--runs", *runsText_, MostComparisonRuns);
    }
    if (spinsText_) {
        spins = CountValue("--spins", *spinsText_, MostComparisonSpinsPerRun);
    }
    options.spinPaths = spinPaths_;
    if (jobsText_) {
        options.plan.jobs = static_cast<int>(CountValue("--jobs", *jobsText_, MostJobs));
    }
    const bool random = runs || spins;
    if (random == !options.spinPaths.empty()) {
        throw UsageError("give either --runs R --spins N or --spin-files PATH...");
    }
    if (random && !(runs && spins)) {
        throw UsageError(runs ? "--runs needs --spins N" : "--spins needs --runs R");
    }
    if (gameLengthText_) {
        if (options.spinPaths.empty()) {
            throw UsageError("--game-length goes with --spin-files");
        }
        options.plan.gameLength =
            CountValue("--game-length", *gameLengthText_, MostComparisonSpinsPerRun);
    }
    options.plan.runs = runs.value_or(0);
    options.plan.spinsPerRun = spins.value_or(0);
    options.plan.spinFiles = ExpandSpinPaths(options.spinPaths);
    comparison_.emplace(options.plan);
    RefuseWhatTheMachineCannotDo(*comparison_);
    if (csv_) {
        csvFile_ = std::make_unique<StreamedFile>(*csv_);
    }
}

int CompareCommand::Play() {
    const CompareOptions& options = options_;
    ComparisonProgress progress;
    ComparisonResult result;
    {
        const StopOnInterrupt interrupt(progress);
        result = RunShowingProgress(*comparison_, progress, err_);
    }
    std::string text = HeaderLine(options, comparison_->Cut());
    for (const std::filesystem::path& file : comparison_->CutSpinFiles()) {
        text += "# " + CutSpinFileNote(file) + "\n";
    }
    const int64_t games = result.runs.empty() ? 0 : static_cast<int64_t>(result.runs[0].size());
    if (result.stopped) {
        text += "# прервано: " + std::to_string(games) + " из " +
                std::to_string(comparison_->RunCount()) + " игр\n";
    }
    WriteOut(out_, text + Table(RankedFigures(options.plan, result)));
    FlushOut(out_);
    for (size_t s = 0; s < result.runs.size(); ++s) {
        for (size_t i = 0; i < result.runs[s].size(); ++i) {
            if (!result.runs[s][i].firstError.empty()) {
                std::fprintf(err_, "orbista-sim compare: %s, run %zu: %s\n",
                             std::string(InfoOf(options.plan.systems[s])->simName).c_str(), i + 1,
                             result.runs[s][i].firstError.c_str());
            }
        }
    }
    if (csvFile_) {
        csvFile_->Write(ComparisonCsv(options.plan, result));
        csvFile_->Commit();
    }
    return result.stopped ? InterruptedStatus : 0;
}

}  // namespace orbista

#include "sim/compare.h"

#include "sim/interruption.h"
#include "storage/spin_file.h"

#include <unistd.h>
#include <algorithm>
#include <charconv>
#include <chrono>
#include <future>
#include <optional>
#include <stdexcept>
#include <string_view>
#include <thread>

#include "model/errors.h"
#include "session/comparison.h"
#include "session/comparison_csv.h"
#include "storage/text_file.h"

namespace orbista {

namespace {

constexpr int MostJobs = 256;
// Beyond this many spin files the header names their folders instead of every one.
constexpr size_t MostSpinPathsNamed = 8;
// A total balance is a 32-bit number, so no bankroll beyond it can run out.
constexpr int64_t MostBankroll = 2'000'000'000;

// The systems of a list of names, each once in the order first named; "betting" names every
// system that bets, "all" every system.
std::vector<SelectionSystem> ParseSystems(const std::string& list) {
    std::vector<SelectionSystem> systems;
    const auto add = [&](SelectionSystem system) {
        if (std::find(systems.begin(), systems.end(), system) == systems.end()) {
            systems.push_back(system);
        }
    };
    size_t start = 0;
    while (start <= list.size()) {
        const size_t comma = std::min(list.find(',', start), list.size());
        const std::string name = list.substr(start, comma - start);
        if (name == "betting") {
            for (const SelectionSystem system : BettingSystems()) {
                add(system);
            }
        } else if (name == "all") {
            for (const SystemInfo& info : SystemsTable()) {
                add(info.system);
            }
        } else if (const auto system = SystemBySimName(name);
                   system && *system != SelectionSystem::None) {
            add(*system);
        } else {
            throw UsageError("unknown system in --systems: " + name);
        }
        start = comma + 1;
    }
    return systems;
}

// The folders that the spin files are every ".txt" file of, when they are; none when some folder
// holds one they do not name, or they name one of a folder twice.
std::optional<std::vector<std::filesystem::path>> FoldersOf(
    const std::vector<std::filesystem::path>& files) {
    std::vector<std::filesystem::path> folders;
    std::vector<std::filesystem::path> given;
    for (const std::filesystem::path& file : files) {
        const std::filesystem::path folder = file.parent_path().empty() ? "." : file.parent_path();
        if (std::find(folders.begin(), folders.end(), folder) == folders.end()) {
            folders.push_back(folder);
        }
        given.push_back(folder / file.filename());
    }
    std::vector<std::filesystem::path> inFolders;
    try {
        for (const std::filesystem::path& folder : folders) {
            const std::vector<std::filesystem::path> inFolder = SpinFilesOfFolder(folder);
            inFolders.insert(inFolders.end(), inFolder.begin(), inFolder.end());
        }
    } catch (const FileError&) {
        return std::nullopt;
    }
    std::sort(given.begin(), given.end());
    std::sort(inFolders.begin(), inFolders.end());
    return given == inFolders ? std::optional(folders) : std::nullopt;
}

// How the header names the spin files: as given when they are few, else by their folders; and
// how they were cut into games.
CommandText SpinFilesWords(const CompareOptions& options, const GameCut& cut) {
    const std::vector<std::filesystem::path>& files = options.plan.spinFiles;
    CommandText words{" --spin-files", std::to_string(files.size()) + " files"};
    if (options.plan.gameLength > 0) {
        words.remark += ", " + std::to_string(cut.spins) + " spins: " + std::to_string(cut.games) +
                        " games, " + std::to_string(cut.dropped) + " spins dropped";
    }
    std::vector<std::string> named = options.spinPaths;
    if (named.size() > MostSpinPathsNamed) {
        if (const auto folders = FoldersOf(files)) {
            named.clear();
            for (const std::filesystem::path& folder : *folders) {
                named.push_back(folder.string());
            }
        }
    }
    for (const std::string& path : named) {
        words.words += " " + ShellWord(path);
    }
    if (options.plan.gameLength > 0) {
        words.words += " --game-length " + std::to_string(options.plan.gameLength);
    }
    return words;
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
        std::fprintf(err, "\rruns %lld of %lld  %.0f spins/s  %.0f s left   ",
                     static_cast<long long>(progress.RunsDone()),
                     static_cast<long long>(comparison.TotalRuns()), rate, left);
        std::fflush(err);
    }
    std::fprintf(err, "\r%*s\r", 60, "");
    return running.get();
}

// A request that this machine could not finish in a day or hold in its memory is a mistake.
void RefuseWhatTheMachineCannotDo(const Comparison& comparison) {
    const ComparisonPlan& plan = comparison.Plan();
    const std::string asked = std::to_string(plan.systems.size()) + " systems × " +
                              std::to_string(comparison.GamesToPlay().size()) + " games";
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
    AddTextOption(app, "--bankroll", bankrollText_, "B",
                  "a game is ruined and stops when its total balance reaches -B (default: 10 "
                  "loss limits of the settings; 0: no bankroll)");
    AddTextOption(app, "--jobs", jobsText_, "J", "plays on J threads (default: 1)");
    AddPathOption(app, "--csv", csv_, "FILE", "writes one CSV row per system and game");
    AddTextOption(app, "--shard", shardText_, "K/N",
                  "plays only games K, K+N, K+2N, ... for orbista-sim merge (needs --csv)");
    report_.Declare(app);
}

void CompareCommand::Prepare() {
    CompareOptions& options = options_;
    options.plan.systems = BettingSystems();
    if (systemsText_) {
        options.systemsText = *systemsText_;
        options.plan.systems = ParseSystems(options.systemsText);
    }
    MemorySettings settings;
    if (settingsFile_) {
        options.settingsText = settingsFile_->string();
        StoredSettings rows{};
        ReadSettingsRows(*settingsFile_, rows);
        options.plan.settings = rows;
        ShowSettings(settings, rows);
    }
    options.plan.bankroll = DefaultBankroll(settings);
    if (bankrollText_) {
        const auto bankroll = ParseWhole<int64_t>(*bankrollText_);
        if (!bankroll || *bankroll < 0 || *bankroll > MostBankroll) {
            throw UsageError("--bankroll takes a whole number from 0 to " +
                             std::to_string(MostBankroll) + ": " + *bankrollText_);
        }
        options.plan.bankroll = *bankroll;
    }
    if (shardText_) {
        const auto shard = ParseShard(*shardText_);
        if (!shard) {
            throw UsageError("--shard takes K/N, the K-th of N parts (1 <= K <= N): " +
                             *shardText_);
        }
        if (!csv_) {
            throw UsageError("--shard writes its games for orbista-sim merge: give --csv FILE");
        }
        options.plan.shard = *shard;
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
    report_.Check(options.plan.systems);
    comparison_.emplace(options.plan);
    RefuseWhatTheMachineCannotDo(*comparison_);
    if (csv_) {
        csvFile_ = std::make_unique<StreamedFile>(*csv_);
    }
}

CommandText CompareCommand::RunsCommand() const {
    const CompareOptions& options = options_;
    const ComparisonPlan& plan = options.plan;
    CommandText command{"orbista-sim compare --systems " + ShellWord(options.systemsText), {}};
    if (options.settingsText) {
        command.words += " --settings " + ShellWord(*options.settingsText);
    }
    if (plan.sectorsOnTable) {
        command.words += " --sectors-on-table";
    }
    command.words +=
        " --bankroll " + std::to_string(plan.bankroll) + " --seed " + std::to_string(plan.seed);
    if (plan.PlaysSpinFiles()) {
        const CommandText files = SpinFilesWords(options, comparison_->Cut());
        command.words += files.words;
        command.remark = files.remark;
    } else {
        command.words +=
            " --runs " + std::to_string(plan.runs) + " --spins " + std::to_string(plan.spinsPerRun);
    }
    command.words += ShardOption(plan.shard);
    return command;
}

int CompareCommand::Play() {
    const CompareOptions& options = options_;
    ComparisonProgress progress;
    ComparisonResult result;
    {
        const StopOnInterrupt interrupt(progress);
        result = RunShowingProgress(*comparison_, progress, err_);
    }
    std::vector<std::string> notes;
    for (const std::filesystem::path& file : comparison_->CutSpinFiles()) {
        notes.push_back(CutSpinFileNote(file));
    }
    if (result.stopped) {
        notes.push_back("прервано: " + std::to_string(result.games.size()) + " из " +
                        std::to_string(comparison_->GamesToPlay().size()) + " игр");
    }
    const CommandText command = RunsCommand();
    WriteOut(out_, report_.Report(command, options.plan, result, notes));
    FlushOut(out_);
    for (const RunError& error : result.errors) {
        std::fprintf(err_, "orbista-sim compare: %s, game %lld: %s\n",
                     std::string(InfoOf(options.plan.systems[error.system])->simName).c_str(),
                     static_cast<long long>(error.game), error.text.c_str());
    }
    if (csvFile_) {
        WriteComparisonCsv(*csvFile_, command.Text(), options.plan, result);
    }
    return result.stopped ? InterruptedStatus : 0;
}

MergeCommand::MergeCommand(CLI::App& app, std::FILE* out, std::FILE* err) : Command(app, out, err) {
    AddPathsOption(app, "files", files_, "FILE",
                   "the CSVs that orbista-sim compare --shard K/N --csv FILE wrote")
        ->required();
    report_.Declare(app);
}

void MergeCommand::Prepare() {
    std::vector<std::filesystem::path> files(files_.begin(), files_.end());
    merged_.emplace(MergeComparisonCsvs(files));
    report_.Check(merged_->plan.systems);
}

int MergeCommand::Play() {
    WriteOut(out_,
             report_.Report(CommandText::Of(merged_->command), merged_->plan, merged_->result));
    FlushOut(out_);
    return 0;
}

}  // namespace orbista

#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "session/headless_run.h"
#include "sim/command_line.h"
#include "sim/script.h"
#include "sim/token_lines.h"
#include "storage/text_file.h"

namespace orbista {

// What a single run plays with, as its options gave it.
struct RunOptions {
    std::optional<std::filesystem::path> settingsFile;
    std::optional<SelectionSystem> system;
    bool sectorsOnTable = false;
    std::optional<uint64_t> seed;
    std::optional<std::filesystem::path> checkDir;
    bool checkFiles = true;
    std::optional<std::filesystem::path> autosaveDir;
    bool trace = false;
    std::optional<std::filesystem::path> csv;
};

// Declares --settings and --system, which every command that plays one game takes alike.
void DeclareSettingsAndSystem(CLI::App& app, RunOptions& options,
                              std::optional<std::string>& systemName);
// Takes the active system, by the name --system gave, and the --seed into the options;
// UsageError when no system has the name or the seed is no number.
void TakeSystemAndSeed(const std::optional<std::string>& systemName,
                       const std::optional<std::string>& seedText, RunOptions& options);

// One game played token by token through the engine, traced or summed up on `out`. The settings
// file is read and the --csv log begun when it is made (FileError when they cannot be); a write
// to `out` that fails throws OutputError, one to the log FileError.
class Simulation {
  public:
    Simulation(const RunOptions& options, std::FILE* out, std::FILE* err);

    void Play(const ScriptToken& token);
    // Plays the tokens in order; how many of them were spins.
    int64_t PlayScript(const std::vector<ScriptToken>& tokens);
    void PlayRandom(int64_t spins);
    void PrintSummary() const;
    // Puts the --csv log in its place; FileError when it could not be written.
    void CloseLog();
    // The game as the tokens played so far left it.
    HeadlessRun& Run() { return run_; }

  private:
    void Type(const ScriptToken& token);
    void SetFlagAsClicked(Setting setting, bool on);
    void Finish(std::string_view token);
    void NoteTotalBalance();
    void PrintErrors(std::string_view token) const;

    HeadlessRun run_;
    std::FILE* out_;
    std::FILE* err_;
    bool trace_;
    int64_t tokensPlayed_ = 0;
    int64_t minTotal_ = 0;
    int64_t maxTotal_ = 0;
    std::string line_;
    std::unique_ptr<StreamedFile> log_;
    EngineCounters countersBefore_;
};

// `orbista-sim [OPTIONS] (--script FILE | --random N)`: one game, traced or summed up.
class SingleRunCommand : public Command {
  public:
    SingleRunCommand(CLI::App& app, std::FILE* out, std::FILE* err);

    void Prepare() override;
    int Play() override;

  private:
    RunOptions options_;
    bool noCheckFiles_ = false;
    std::optional<std::string> systemName_;
    std::optional<std::string> seedText_;
    std::optional<std::string> randomText_;
    std::optional<std::filesystem::path> script_;
    std::optional<int64_t> randomSpins_;
    std::vector<ScriptToken> tokens_;
    std::unique_ptr<Simulation> simulation_;
};

}  // namespace orbista

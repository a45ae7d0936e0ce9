#pragma once

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "session/comparison.h"
#include "sim/command_line.h"

namespace orbista {

// What a comparison plays, and the words its header repeats it in.
struct CompareOptions {
    ComparisonPlan plan;
    std::string systemsText = "betting";
    std::string settingsText = "defaults";
    std::vector<std::string> spinPaths;
    std::optional<std::filesystem::path> csv;
};

// Every file named, and every ".txt" of every folder named (by name), in the order given.
std::vector<std::filesystem::path> ExpandSpinPaths(const std::vector<std::string>& paths);

// `orbista-sim compare [OPTIONS]`: the systems over the same games, a table on standard output,
// the progress (on a terminal) and the errors on standard error.
class CompareCommand : public Command {
  public:
    CompareCommand(CLI::App& app, std::FILE* out, std::FILE* err);

    void Prepare() override;
    int Play() override;

  private:
    CompareOptions options_;
    std::optional<std::string> systemsText_;
    std::optional<std::filesystem::path> settingsFile_;
    std::optional<std::string> seedText_;
    std::optional<std::string> runsText_;
    std::optional<std::string> spinsText_;
    std::vector<std::string> spinPaths_;
    std::optional<std::string> gameLengthText_;
    std::optional<std::string> jobsText_;
    std::optional<std::filesystem::path> csv_;
    std::optional<Comparison> comparison_;
};

}  // namespace orbista

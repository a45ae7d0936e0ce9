#pragma once

#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "session/comparison.h"
#include "session/comparison_csv.h"
#include "sim/command_line.h"
#include "sim/comparison_report.h"
#include "storage/text_file.h"

namespace orbista {

// What a comparison plays, and the words its header repeats it in.
struct CompareOptions {
    ComparisonPlan plan;
    std::string systemsText = "betting";
    std::optional<std::string> settingsText;  // none: the defaults
    std::vector<std::string> spinPaths;
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
    // The command that plays these runs (with the shard), as the CSV's first line keeps it.
    CommandText RunsCommand() const;

    CompareOptions options_;
    std::optional<std::string> systemsText_;
    std::optional<std::filesystem::path> settingsFile_;
    std::optional<std::string> seedText_;
    std::optional<std::string> runsText_;
    std::optional<std::string> spinsText_;
    std::vector<std::string> spinPaths_;
    std::optional<std::string> gameLengthText_;
    std::optional<std::string> jobsText_;
    std::optional<std::string> bankrollText_;
    std::optional<std::string> shardText_;
    std::optional<std::filesystem::path> csv_;
    ReportOptions report_;
    std::optional<Comparison> comparison_;
    std::unique_ptr<StreamedFile> csvFile_;
};

// `orbista-sim merge [OPTIONS] FILE...`: the table of a comparison from the per-run CSVs of its
// shards, the same byte for byte as one run of the whole comparison would print.
class MergeCommand : public Command {
  public:
    MergeCommand(CLI::App& app, std::FILE* out, std::FILE* err);

    void Prepare() override;
    int Play() override;

  private:
    std::vector<std::string> files_;
    ReportOptions report_;
    std::optional<MergedComparison> merged_;
};

}  // namespace orbista

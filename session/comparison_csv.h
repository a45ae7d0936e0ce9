#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <functional>

#include "session/comparison.h"
#include "storage/text_file.h"

namespace orbista {

// The per-run CSV of a comparison: a first line "# " and the command that plays these runs (with
// its shard, " --shard K/N", when it plays one), a header row, then one row per (system, game),
// systems in the plan's order, with every figure of RunFigures and the bankroll it was played with,
// plain decimal with points. The table can be rebuilt from it to the last digit: the sums of
// squares are written so that they read back exactly.
std::string ComparisonCsv(std::string_view command, const ComparisonPlan& plan,
                          const ComparisonResult& result);
// The same text into a file, a few thousand rows at a time, so that a million rows are never held
// whole; the file takes its place at the end (Commit).
void WriteComparisonCsv(StreamedFile& file, std::string_view command, const ComparisonPlan& plan,
                        const ComparisonResult& result);

// "K/N" with 1 <= K <= N: the K-th of N shards; none for anything else.
std::optional<Shard> ParseShard(std::string_view text);
// " --shard K/N", the option that names a shard in a command; empty for the whole comparison.
std::string ShardOption(const Shard& shard);

// The comparison that the per-run CSVs of all its shards (or of one whole run) make together.
struct MergedComparison {
    // The command of the whole comparison: the files' command without its shard option.
    std::string command;
    ComparisonPlan plan;  // the systems, in the files' order, and the bankroll
    ComparisonResult result;
};

// Reads the files and puts their runs together in the order of the games. FileError naming the
// file when one is not such a CSV, was made by another command, or repeats a game; and naming
// the first when a game or a shard is missing.
MergedComparison MergeComparisonCsvs(const std::vector<std::filesystem::path>& files);

}  // namespace orbista

#include "session/comparison_csv.h"

#include <algorithm>
#include <charconv>
#include <functional>
#include <limits>
#include <map>
#include <set>

#include "model/errors.h"
#include "storage/bounded_file.h"

namespace orbista {

namespace {

constexpr std::string_view CommandMark = "# ";
constexpr std::string_view ShardMark = " --shard ";
constexpr std::string_view Header =
    "system,system_name,run,spins,final_total_balance,lowest_total_balance,win_stops,"
    "loss_stops,spins_with_bets,units_staked,units_won,highest_stake_level,most_units_on_table,"
    "ruined,spin_of_ruin,max_drawdown,bankroll,net_squares,stake_squares,net_times_stake";
constexpr size_t FieldCount = 20;
// The rows are written a piece of about this size at a time.
constexpr size_t PieceBytes = 1 << 16;
// A CSV of the most runs a comparison plays is a few hundred megabytes.
constexpr uint64_t MostCsvBytes = uint64_t{4} << 30;

void AppendNumber(std::string& text, int64_t value) {
    text += ',';
    text += std::to_string(value);
}

// The shortest text that reads back as the same double.
void AppendExact(std::string& text, double value) {
    char buffer[32];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
    text += ',';
    text.append(buffer, end);
}

void AppendRow(std::string& csv, const SystemInfo& system, int64_t game, const RunFigures& run,
               int64_t bankroll) {
    // The name the window shows, quoted: one holds a comma, none a quote.
    csv += system.simName;
    csv += ",\"";
    csv += system.caption;
    csv += '"';
    for (const int64_t value :
         {game, int64_t{run.spins}, int64_t{run.finalTotalBalance}, int64_t{run.lowestTotalBalance},
          int64_t{run.winStops}, int64_t{run.lossStops}, int64_t{run.spinsWithBets},
          run.unitsStaked, run.unitsWon, int64_t{run.highestStakeLevel}, run.mostUnitsOnTable,
          int64_t{run.Ruined() ? 1 : 0}, int64_t{run.spinOfRuin}, run.maxDrawdown, bankroll}) {
        AppendNumber(csv, value);
    }
    for (const double value : {run.netSquares, run.stakeSquares, run.netTimesStake}) {
        AppendExact(csv, value);
    }
    csv += '\n';
}

// The lines of a file, read piece by piece so that a large file is never held whole.
class LineReader {
  public:
    explicit LineReader(const std::filesystem::path& path)
        : file_(path, MostCsvBytes, BoundedFile::Pipes::Allowed) {}

    bool Next(std::string& line) {
        for (;;) {
            const size_t end = pending_.find('\n', at_);
            if (end != std::string::npos) {
                line.assign(pending_, at_, end - at_);
                at_ = end + 1;
                ++number_;
                return true;
            }
            const std::string_view piece = file_.NextPiece();
            pending_.erase(0, at_);
            at_ = 0;
            if (piece.empty()) {
                if (pending_.empty()) {
                    return false;
                }
                line = std::move(pending_);
                pending_.clear();
                ++number_;
                return true;
            }
            pending_.append(piece);
        }
    }
    int64_t Number() const { return number_; }

  private:
    BoundedFile file_;
    std::string pending_;
    size_t at_ = 0;
    int64_t number_ = 0;
};

template <typename Number>
bool ParseField(std::string_view text, Number& value) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() && !text.empty();
}

template <typename Narrow>
bool ParseNarrow(std::string_view text, Narrow& value) {
    int64_t wide = 0;
    if (!ParseField(text, wide) || wide < std::numeric_limits<Narrow>::min() ||
        wide > std::numeric_limits<Narrow>::max()) {
        return false;
    }
    value = static_cast<Narrow>(wide);
    return true;
}

struct Row {
    SelectionSystem system = SelectionSystem::None;
    int64_t game = 0;
    int64_t bankroll = 0;
    RunFigures run;
};

// The fields of a row; a field in double quotes may hold commas (and no quote).
std::vector<std::string_view> FieldsOf(std::string_view line) {
    std::vector<std::string_view> fields;
    for (size_t start = 0;;) {
        size_t comma = line.find(',', start);
        if (start < line.size() && line[start] == '"') {
            const size_t close = line.find('"', start + 1);
            comma = close == std::string_view::npos ? close : line.find(',', close);
        }
        fields.push_back(line.substr(start, comma - start));
        if (comma == std::string_view::npos) {
            return fields;
        }
        start = comma + 1;
    }
}

std::optional<Row> ParseRow(std::string_view line) {
    std::vector<std::string_view> fields = FieldsOf(line);
    if (fields.size() == FieldCount) {
        // The name the window shows only helps a reader.
        fields.erase(fields.begin() + 1);
    }
    if (fields.size() != FieldCount - 1) {
        return std::nullopt;
    }
    Row row;
    const auto system = SystemBySimName(fields[0]);
    int64_t ruined = 0;
    RunFigures& run = row.run;
    const bool parsed =
        system && *system != SelectionSystem::None && ParseField(fields[1], row.game) &&
        row.game > 0 && ParseNarrow(fields[2], run.spins) &&
        ParseNarrow(fields[3], run.finalTotalBalance) &&
        ParseNarrow(fields[4], run.lowestTotalBalance) && ParseNarrow(fields[5], run.winStops) &&
        ParseNarrow(fields[6], run.lossStops) && ParseNarrow(fields[7], run.spinsWithBets) &&
        ParseField(fields[8], run.unitsStaked) && ParseField(fields[9], run.unitsWon) &&
        ParseNarrow(fields[10], run.highestStakeLevel) &&
        ParseField(fields[11], run.mostUnitsOnTable) && ParseField(fields[12], ruined) &&
        ParseNarrow(fields[13], run.spinOfRuin) && ParseField(fields[14], run.maxDrawdown) &&
        ParseField(fields[15], row.bankroll) && ParseField(fields[16], run.netSquares) &&
        ParseField(fields[17], run.stakeSquares) && ParseField(fields[18], run.netTimesStake);
    if (!parsed || ruined != (run.Ruined() ? 1 : 0)) {
        return std::nullopt;
    }
    row.system = *system;
    return row;
}

// A command and its shard: the option " --shard K/N" taken out of it.
std::pair<std::string, Shard> SplitShard(const std::string& command) {
    const size_t at = command.find(ShardMark);
    if (at == std::string::npos) {
        return {command, Shard{}};
    }
    const size_t from = at + ShardMark.size();
    const size_t end = std::min(command.find(' ', from), command.size());
    const auto shard = ParseShard(std::string_view(command).substr(from, end - from));
    if (!shard) {
        return {command, Shard{}};
    }
    return {command.substr(0, at) + command.substr(end), *shard};
}

struct FileRows {
    std::string command;
    Shard shard;
    std::vector<Row> rows;
};

FileRows ReadRunsCsv(const std::filesystem::path& path) {
    LineReader reader(path);
    FileRows file;
    std::string line;
    if (!reader.Next(line) || !line.starts_with(CommandMark)) {
        throw FileError::AtLine(path, 1,
                                "нет строки «# orbista-sim compare …», с которой "
                                "начинается файл сравнения");
    }
    std::tie(file.command, file.shard) = SplitShard(line.substr(CommandMark.size()));
    if (!reader.Next(line) || line != Header) {
        throw FileError::AtLine(path, 2, "не та строка заголовков столбцов");
    }
    while (reader.Next(line)) {
        std::optional<Row> row = ParseRow(line);
        if (!row) {
            throw FileError::AtLine(path, reader.Number(),
                                    "«" + ShownText(line) + "» — не строка игры сравнения");
        }
        file.rows.push_back(*row);
    }
    return file;
}

// Hands the CSV over in pieces of about PieceBytes, the command and the header first.
void ForEachCsvPiece(std::string_view command, const ComparisonPlan& plan,
                     const ComparisonResult& result,
                     const std::function<void(std::string_view)>& take) {
    std::string piece =
        std::string(CommandMark) + std::string(command) + "\n" + std::string(Header) + "\n";
    for (size_t s = 0; s < result.runs.size(); ++s) {
        const SystemInfo& system = *InfoOf(plan.systems[s]);
        for (size_t i = 0; i < result.runs[s].size(); ++i) {
            AppendRow(piece, system, result.games[i], result.runs[s][i], plan.bankroll);
            if (piece.size() >= PieceBytes) {
                take(piece);
                piece.clear();
            }
        }
    }
    take(piece);
}

}  // namespace

std::string ComparisonCsv(std::string_view command, const ComparisonPlan& plan,
                          const ComparisonResult& result) {
    std::string csv;
    ForEachCsvPiece(command, plan, result, [&](std::string_view piece) { csv += piece; });
    return csv;
}

void WriteComparisonCsv(StreamedFile& file, std::string_view command, const ComparisonPlan& plan,
                        const ComparisonResult& result) {
    ForEachCsvPiece(command, plan, result, [&](std::string_view piece) { file.Write(piece); });
    file.Commit();
}

std::optional<Shard> ParseShard(std::string_view text) {
    const size_t slash = text.find('/');
    Shard shard;
    if (slash == std::string_view::npos || !ParseField(text.substr(0, slash), shard.index) ||
        !ParseField(text.substr(slash + 1), shard.count) || shard.index < 1 ||
        shard.index > shard.count) {
        return std::nullopt;
    }
    return shard;
}

std::string ShardOption(const Shard& shard) {
    return shard.Whole() ? std::string()
                         : std::string(ShardMark) + std::to_string(shard.index) + "/" +
                               std::to_string(shard.count);
}

MergedComparison MergeComparisonCsvs(const std::vector<std::filesystem::path>& files) {
    MergedComparison merged;
    std::set<int64_t> shards;
    int64_t shardCount = 0;
    std::map<SelectionSystem, std::map<int64_t, RunFigures>> games;
    std::optional<int64_t> bankroll;
    for (size_t f = 0; f < files.size(); ++f) {
        const FileRows file = ReadRunsCsv(files[f]);
        if (f == 0) {
            merged.command = file.command;
            shardCount = file.shard.count;
        }
        if (file.command != merged.command || file.shard.count != shardCount) {
            throw FileError::CannotRead(files[f], "он сделан другой командой, чем \"" +
                                                      PrintableText(files[0].string()) + "\"");
        }
        if (!shards.insert(file.shard.index).second) {
            throw FileError::CannotRead(files[f], "его часть " + std::to_string(file.shard.index) +
                                                      "/" + std::to_string(file.shard.count) +
                                                      " уже была в другом файле");
        }
        for (const Row& row : file.rows) {
            if (bankroll.value_or(row.bankroll) != row.bankroll) {
                throw FileError::CannotRead(files[f], "в нём игры с разными банками");
            }
            bankroll = row.bankroll;
            if (std::find(merged.plan.systems.begin(), merged.plan.systems.end(), row.system) ==
                merged.plan.systems.end()) {
                merged.plan.systems.push_back(row.system);
            }
            if (!games[row.system].emplace(row.game, row.run).second) {
                throw FileError::CannotRead(files[f],
                                            "игра " + std::to_string(row.game) + " повторяется");
            }
        }
    }
    if (static_cast<int64_t>(shards.size()) != shardCount) {
        for (int64_t k = 1;; ++k) {
            if (!shards.contains(k)) {
                throw FileError::CannotRead(files[0], "нет файла части " + std::to_string(k) + "/" +
                                                          std::to_string(shardCount));
            }
        }
    }
    merged.plan.bankroll = bankroll.value_or(0);
    merged.plan.shard = Shard{};
    const size_t count = games.empty() ? 0 : games.begin()->second.size();
    for (int64_t game = 1; game <= static_cast<int64_t>(count); ++game) {
        merged.result.games.push_back(game);
    }
    for (const SelectionSystem system : merged.plan.systems) {
        const std::map<int64_t, RunFigures>& ofSystem = games[system];
        std::vector<RunFigures> runs;
        for (const auto& [game, run] : ofSystem) {
            if (game != static_cast<int64_t>(runs.size()) + 1 || ofSystem.size() != count) {
                throw FileError::CannotRead(
                    files[0], "нет игры " + std::to_string(runs.size() + 1) + " системы " +
                                  std::string(InfoOf(system)->simName));
            }
            runs.push_back(run);
        }
        merged.result.runs.push_back(std::move(runs));
        merged.result.bands.emplace_back();
    }
    return merged;
}

}  // namespace orbista

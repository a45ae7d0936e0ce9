#include "storage/game_csv.h"

namespace orbista {

std::string GameCsv(const std::deque<GameCsvRow>& rows, int64_t firstSpin) {
    std::string csv = "Спин,Выпало,Стояло на поле,Результат спина,Баланс в этой игре\n";
    int64_t spin = firstSpin;
    for (const GameCsvRow& row : rows) {
        csv += std::to_string(spin++) + "," + std::to_string(row.number) + "," +
               std::to_string(row.stake) + "," + std::to_string(row.result) + "," +
               std::to_string(row.gameBalance) + "\n";
    }
    return csv;
}

std::filesystem::path WithCsvExtension(std::filesystem::path path) {
    if (!path.has_extension()) {
        path += ".csv";
    }
    return path;
}

}  // namespace orbista

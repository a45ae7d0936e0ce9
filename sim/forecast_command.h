#pragma once

#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "session/forecast.h"
#include "sim/command_line.h"
#include "sim/single_run.h"

namespace orbista {

// `orbista-sim forecast [OPTIONS]`: plays the script (or nothing: a new game), then prints the
// forecast of the game as it stands, one `key: value` per line, and the ladder a row per step.
class ForecastCommand : public Command {
  public:
    ForecastCommand(CLI::App& app, std::FILE* out, std::FILE* err);

    void Prepare() override;
    int Play() override;

  private:
    void PrintForecast(const Forecast& forecast) const;

    RunOptions runOptions_;
    ForecastOptions options_;
    std::optional<std::string> systemName_;
    std::optional<std::string> seedText_;
    std::optional<std::string> continuationsText_;
    std::optional<std::string> horizonText_;
    std::optional<std::filesystem::path> script_;
    std::vector<ScriptToken> tokens_;
    std::unique_ptr<Simulation> simulation_;
};

}  // namespace orbista

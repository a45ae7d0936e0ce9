#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

#include "engine/engine.h"
#include "engine/headless_view.h"
#include "model/game_state.h"

namespace orbista {

// What one token of a run left on the game, as the trace and the --csv log read it.
struct TokenOutcome {
    int64_t step = 0;  // 1-based: the trace's and the log's line number
    std::string_view token;
    const GameState& state;
    const HeadlessView& view;
    const EngineCounters& before;  // the engine's counters before the token
    const EngineCounters& after;
};

// The trace line of a token: the step, the token, the displays, the recommendation and the
// messages, tab-separated, ending in a line feed.
void AppendTraceLine(std::string& line, const TokenOutcome& outcome);

// The first row of the --csv log, naming its columns.
inline constexpr std::string_view LogHeader =
    "spin,number,recommended,stake_level,units_placed,payout,game_balance,total_balance,event\n";
// The --csv row of a token: the step, the token, the recommendation, what was placed and paid,
// both balances and the events (win stop, loss stop, new game, cancel, error).
void AppendLogRow(std::string& line, const TokenOutcome& outcome);

// The per-token log of --csv. It is written beside its file and takes the file's place when the
// run is done, so that a run that fails leaves the previous log as it was.
class TokenLog {
  public:
    explicit TokenLog(std::filesystem::path path);
    ~TokenLog();
    TokenLog(const TokenLog&) = delete;
    TokenLog& operator=(const TokenLog&) = delete;

    void Write(std::string_view text) { std::fwrite(text.data(), 1, text.size(), file_); }
    // Puts the log in its place; FileError when it could not be written.
    void Close();

  private:
    std::filesystem::path path_;
    std::filesystem::path temporary_;
    std::FILE* file_ = nullptr;
    std::error_code ignored_;
};

}  // namespace orbista

#include "sim/token_lines.h"

#include <algorithm>
#include <cerrno>
#include <vector>

#include "model/display.h"
#include "model/errors.h"

namespace orbista {

namespace {

// The window's fields as the trace prints them, in order.
constexpr Display TracedDisplays[] = {
    Display::SpinCount,      Display::TotalBalance, Display::GameBalance, Display::GameBalanceMin,
    Display::GameBalanceMax, Display::StakeLevel,   Display::TableStake};

// The recommendation as number:stake pairs, apart by the separator.
void AppendStakes(std::string& line, const GameState& state, char separator) {
    bool first = true;
    for (int n = 0; n < NumberCount; ++n) {
        if (state.Stakes[n] > 0) {
            if (!first) {
                line += separator;
            }
            line += std::to_string(n) + ":" + std::to_string(state.Stakes[n]);
            first = false;
        }
    }
}

}  // namespace

void AppendTraceLine(std::string& line, const TokenOutcome& outcome) {
    line += std::to_string(outcome.step);
    line += '\t';
    line += outcome.token;
    for (const Display display : TracedDisplays) {
        line += '\t';
        line += outcome.view.Text(display);
    }
    line += '\t';
    AppendStakes(line, outcome.state, ',');
    line += '\t';
    const std::vector<std::string>& messages = outcome.view.messages;
    for (size_t i = 0; i < messages.size(); ++i) {
        line += i == 0 ? "" : "|";
        line += messages[i];
    }
    line += '\n';
}

void AppendLogRow(std::string& line, const TokenOutcome& outcome) {
    const EngineCounters& before = outcome.before;
    const EngineCounters& after = outcome.after;
    const HeadlessView& view = outcome.view;
    line += std::to_string(outcome.step);
    line += ',';
    line += outcome.token;
    line += ',';
    AppendStakes(line, outcome.state, ' ');
    line += "," + view.Text(Display::StakeLevel);
    line += "," + std::to_string(after.unitsStaked - before.unitsStaked);
    line += "," + std::to_string(after.unitsWon - before.unitsWon);
    line += "," + view.Text(Display::GameBalance) + "," + view.Text(Display::TotalBalance) + ",";
    std::vector<std::string_view> events;
    if (after.winStops > before.winStops) {
        events.push_back("win stop");
    }
    if (after.lossStops > before.lossStops) {
        events.push_back("loss stop");
    }
    if (outcome.token == "n") {
        events.push_back("new game");
    } else if (outcome.token == "c") {
        events.push_back("cancel");
    }
    if (std::any_of(view.messages.begin(), view.messages.end(), [](const std::string& m) {
            return m.starts_with(HeadlessView::ErrorPrefix);
        })) {
        events.push_back("error");
    }
    for (size_t i = 0; i < events.size(); ++i) {
        line += i == 0 ? "" : ";";
        line += events[i];
    }
    line += '\n';
}

TokenLog::TokenLog(std::filesystem::path path)
    : path_(std::move(path)), temporary_(path_.string() + ".tmp") {
    file_ = std::fopen(temporary_.c_str(), "wb");
    if (file_ == nullptr) {
        throw FileError::CannotWrite(path_, SystemErrorReason(errno));
    }
    Write(LogHeader);
}

TokenLog::~TokenLog() {
    if (file_ != nullptr) {
        std::fclose(file_);
        std::filesystem::remove(temporary_, ignored_);
    }
}

void TokenLog::Close() {
    const bool failed = std::ferror(file_) != 0;
    const bool closed = std::fclose(file_) == 0;
    const int error = errno;
    file_ = nullptr;
    if (failed || !closed) {
        std::filesystem::remove(temporary_, ignored_);
        throw FileError::CannotWrite(path_, SystemErrorReason(error));
    }
    std::error_code renamed;
    std::filesystem::rename(temporary_, path_, renamed);
    if (renamed) {
        std::filesystem::remove(temporary_, ignored_);
        throw FileError::CannotWrite(path_, SystemErrorReason(renamed.value()));
    }
}

}  // namespace orbista

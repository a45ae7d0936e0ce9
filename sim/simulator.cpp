#include "sim/simulator.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string_view>

#include "model/decimal.h"
#include "model/errors.h"
#include "session/comparison.h"
#include "session/headless_run.h"
#include "sim/arguments.h"
#include "storage/settings_file.h"
#include "storage/text_file.h"
#include "storage/text_tokens.h"

namespace orbista {

namespace {

constexpr const char* Usage =
    "usage: orbista-sim [--settings FILE] [--system NAME] [--sectors-on-table]\n"
    "                   [--seed N] [--check-dir DIR] [--no-check-files] [--autosave-dir DIR]\n"
    "                   [--trace] [--csv FILE] (--script FILE | --random N)\n"
    "       orbista-sim compare --help\n";

struct Options {
    std::optional<std::filesystem::path> settingsFile;
    std::optional<SelectionSystem> system;
    bool sectorsOnTable = false;
    std::optional<uint64_t> seed;
    std::optional<std::filesystem::path> checkDir;
    bool checkFiles = true;
    std::optional<std::filesystem::path> autosaveDir;
    bool trace = false;
    std::optional<std::filesystem::path> csv;
    std::optional<std::filesystem::path> script;
    std::optional<int64_t> randomSpins;
};

Options ParseOptions(const std::vector<std::string>& args) {
    Options options;
    ArgumentList list(args);
    while (list.Next()) {
        const std::string& arg = list.Option();
        if (arg == "--settings") {
            options.settingsFile = list.Value();
        } else if (arg == "--system") {
            const std::string& name = list.Value();
            options.system = SystemBySimName(name);
            if (!options.system) {
                throw UsageError("unknown system: " + name);
            }
        } else if (arg == "--sectors-on-table") {
            options.sectorsOnTable = true;
        } else if (arg == "--seed") {
            options.seed = list.SeedValue();
        } else if (arg == "--check-dir") {
            options.checkDir = list.Value();
        } else if (arg == "--no-check-files") {
            options.checkFiles = false;
        } else if (arg == "--autosave-dir") {
            options.autosaveDir = list.Value();
        } else if (arg == "--trace") {
            options.trace = true;
        } else if (arg == "--csv") {
            options.csv = list.WritableFileValue();
        } else if (arg == "--script") {
            options.script = list.Value();
        } else if (arg == "--random") {
            const std::string& text = list.Value();
            options.randomSpins = ParseWhole<int64_t>(text);
            if (!options.randomSpins || *options.randomSpins < 0) {
                throw UsageError("--random takes a number of spins: " + text);
            }
        } else {
            throw UsageError("unknown argument: " + arg);
        }
    }
    if (options.script.has_value() == options.randomSpins.has_value()) {
        throw UsageError("give exactly one of --script FILE and --random N");
    }
    return options;
}

// One input of a script: a spin, a cancel, a new game, or text typed into a field.
struct Token {
    enum class Kind { Spin, Cancel, NewGame, Type };
    Kind kind = Kind::Spin;
    std::string text;  // as written in the script
    int32_t number = 0;
    // For Kind::Type: what is typed where.
    std::optional<Setting> setting;
    std::optional<SelectionSystem> system;
    std::optional<Display> balance;
    std::string value;
};

// A balance is typed into by the name of its control, as the player's fields are known.
std::optional<Display> BalanceNamed(std::string_view name) {
    const std::optional<Display> display = DisplayByControl(name);
    switch (display.value_or(Display::SpinCount)) {
        case Display::TotalBalance:
        case Display::GameBalance:
        case Display::GameBalanceMin:
        case Display::GameBalanceMax:
            return display;
        default:
            return std::nullopt;
    }
}

// A script far longer than any run needs: the whole of it is parsed before the first token is
// played, and each token takes memory.
constexpr uint64_t ScriptByteLimit = 16 << 20;

// Where a script's token stands, to reject it naming the file and the line.
class TokenInScript {
  public:
    TokenInScript(const std::filesystem::path& path, const TextToken& token)
        : path_(path), token_(token) {}

    [[noreturn]] void Reject(std::string_view problem) const {
        throw FileError::AtLine(path_, token_.line, std::string(problem));
    }
    std::string Quoted() const { return "«" + ShownText(token_.text) + "»"; }

  private:
    const std::filesystem::path& path_;
    const TextToken& token_;
};

Token ParseTypeToken(std::string_view text, const TokenInScript& place) {
    Token token;
    token.kind = Token::Kind::Type;
    token.text = text;
    const std::string_view body = text.substr(4);
    const size_t equals = body.find('=');
    if (equals == std::string_view::npos) {
        place.Reject("в " + place.Quoted() + " нет «=» (нужно set:ИМЯ=ТЕКСТ)");
    }
    const std::string_view name = body.substr(0, equals);
    token.value = body.substr(equals + 1);
    if (name == "ActiveSystem") {
        token.system = SystemBySimName(token.value);
        if (!token.system) {
            place.Reject("неизвестная методика в " + place.Quoted());
        }
    } else if (const std::optional<Display> balance = BalanceNamed(name)) {
        token.balance = balance;
    } else if (const auto setting = SettingByField(name)) {
        token.setting = setting;
        if (InfoOf(*setting).kind == SettingKind::Flag && token.value != "0" &&
            token.value != "1") {
            place.Reject("флаг принимает только 0 или 1: " + place.Quoted());
        }
    } else {
        place.Reject("неизвестное поле в " + place.Quoted());
    }
    return token;
}

Token ParseToken(const std::filesystem::path& path, const TextToken& scriptToken) {
    const std::string_view text = scriptToken.text;
    const TokenInScript place(path, scriptToken);
    if (text.starts_with("set:")) {
        return ParseTypeToken(text, place);
    }
    Token token;
    token.text = text;
    if (text == "c") {
        token.kind = Token::Kind::Cancel;
    } else if (text == "n") {
        token.kind = Token::Kind::NewGame;
    } else if (const auto number = ParseNumberToken(text)) {
        if (*number < 0 || *number >= NumberCount) {
            place.Reject("число " + std::to_string(*number) +
                         " не является номером рулетки (0–36)");
        }
        token.number = *number;
        token.text = std::to_string(*number);  // the trace shows a spin in plain decimal
    } else {
        place.Reject(place.Quoted() + " не является ни числом 0–36, ни c, n или set:ИМЯ=ТЕКСТ");
    }
    return token;
}

std::vector<Token> ReadScript(const std::filesystem::path& path) {
    const std::string text = ReadWholeFile(path, ScriptByteLimit);
    std::vector<Token> tokens;
    TextTokenizer tokenizer;
    const auto take = [&](const TextToken& token) {
        tokens.push_back(ParseToken(path, token));
        return true;
    };
    tokenizer.Feed(text, take);
    tokenizer.Finish(take);
    return tokens;
}

// The window's fields as the trace prints them, in order.
constexpr Display TracedDisplays[] = {
    Display::SpinCount,      Display::TotalBalance, Display::GameBalance, Display::GameBalanceMin,
    Display::GameBalanceMax, Display::StakeLevel,   Display::TableStake};

// The per-token log of --csv. It is written beside its file and takes the file's place when the
// run is done, so that a run that fails leaves the previous log as it was.
class TokenLog {
  public:
    explicit TokenLog(std::filesystem::path path)
        : path_(std::move(path)), temporary_(path_.string() + ".tmp") {
        file_ = std::fopen(temporary_.c_str(), "wb");
        if (file_ == nullptr) {
            throw FileError::CannotWrite(path_, SystemErrorReason(errno));
        }
        Write(
            "spin,number,recommended,stake_level,units_placed,payout,game_balance,"
            "total_balance,event\n");
    }
    ~TokenLog() {
        if (file_ != nullptr) {
            std::fclose(file_);
            std::filesystem::remove(temporary_, ignored_);
        }
    }
    TokenLog(const TokenLog&) = delete;
    TokenLog& operator=(const TokenLog&) = delete;

    void Write(std::string_view text) { std::fwrite(text.data(), 1, text.size(), file_); }

    void Close() {
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

  private:
    std::filesystem::path path_;
    std::filesystem::path temporary_;
    std::FILE* file_ = nullptr;
    std::error_code ignored_;
};

class Simulation {
  public:
    Simulation(const Options& options, std::FILE* out, std::FILE* err)
        : run_(options.seed,
               options.checkFiles ? options.checkDir.value_or(".")
                                  : std::optional<std::filesystem::path>(),
               options.autosaveDir),
          state_(*run_.state),
          settings_(run_.settings),
          view_(run_.view),
          engine_(run_.engine),
          out_(out),
          err_(err),
          trace_(options.trace) {
        if (options.settingsFile) {
            StoredSettings rows{};
            ReadSettingsRows(*options.settingsFile, rows);
            ShowSettings(settings_, rows);
        }
        if (options.system) {
            settings_.SetActiveSystem(*options.system);
        }
        if (options.sectorsOnTable) {
            settings_.SetFlag(Setting::SectorsOnTable, true);
        }
        NoteTotalBalance();
        if (options.csv) {
            log_ = std::make_unique<TokenLog>(*options.csv);
        }
        countersBefore_ = engine_.Counters();
    }

    // Puts the --csv log in its place; FileError when it could not be written.
    void CloseLog() {
        if (log_) {
            log_->Close();
        }
    }

    void Play(const Token& token) {
        switch (token.kind) {
            case Token::Kind::Type:
                Type(token);
                return;
            case Token::Kind::Spin:
                engine_.EnterNumber(token.number);
                break;
            case Token::Kind::Cancel:
                engine_.CancelSpin();
                break;
            case Token::Kind::NewGame:
                engine_.NewGame();
                break;
        }
        Finish(token.text);
    }

    void PlayRandom(int64_t spins) {
        std::array<char, 4> digits{};
        for (int64_t i = 0; i < spins; ++i) {
            const int32_t number = run_.random.Random(NumberCount);
            engine_.EnterNumber(number);
            const auto written =
                std::to_chars(digits.data(), digits.data() + digits.size(), number);
            Finish(std::string_view(digits.data(), written.ptr));
        }
    }

    void PrintSummary() const {
        const EngineCounters& counters = engine_.Counters();
        std::fprintf(
            out_,
            "spins: %lld\ncancels: %lld\nnew_games: %lld\nwin_stops: %lld\n"
            "loss_stops: %lld\ntotal_balance: %s\ngame_balance: %s\n"
            "min_total_balance: %lld\nmax_total_balance: %lld\nunits_staked: %lld\n"
            "units_won: %lld\n",
            static_cast<long long>(counters.spins), static_cast<long long>(counters.cancels),
            static_cast<long long>(counters.newGames), static_cast<long long>(counters.winStops),
            static_cast<long long>(counters.lossStops), view_.Text(Display::TotalBalance).c_str(),
            view_.Text(Display::GameBalance).c_str(), static_cast<long long>(minTotal_),
            static_cast<long long>(maxTotal_), static_cast<long long>(counters.unitsStaked),
            static_cast<long long>(counters.unitsWon));
    }

  private:
    void Type(const Token& token) {
        if (token.system) {
            settings_.SetActiveSystem(*token.system);
        } else if (token.balance) {
            view_.Type(ControlOf(*token.balance), token.value);
        } else if (InfoOf(*token.setting).kind == SettingKind::Number) {
            settings_.SetText(*token.setting, token.value);
        } else {
            SetFlagAsClicked(*token.setting, token.value == "1");
        }
    }

    void SetFlagAsClicked(Setting setting, bool on) {
        if (InfoOf(setting).seriesChoice) {
            SetSeriesChoice(settings_, setting, on);
        } else {
            settings_.SetFlag(setting, on);
        }
    }

    void Finish(std::string_view token) {
        NoteTotalBalance();
        ++tokensPlayed_;
        if (trace_) {
            PrintTraceLine(token);
        } else {
            PrintErrors(token);
        }
        if (log_) {
            WriteLogRow(token);
        }
        countersBefore_ = engine_.Counters();
        view_.ClearMessages();
    }

    void WriteLogRow(std::string_view token) {
        const EngineCounters& counters = engine_.Counters();
        line_.clear();
        line_ += std::to_string(++logRow_);
        line_ += ',';
        line_ += token;
        line_ += ',';
        AppendStakes(' ');
        line_ += "," + view_.Text(Display::StakeLevel);
        line_ += "," + std::to_string(counters.unitsStaked - countersBefore_.unitsStaked);
        line_ += "," + std::to_string(counters.unitsWon - countersBefore_.unitsWon);
        line_ +=
            "," + view_.Text(Display::GameBalance) + "," + view_.Text(Display::TotalBalance) + ",";
        std::vector<std::string_view> events;
        if (counters.winStops > countersBefore_.winStops) {
            events.push_back("win stop");
        }
        if (counters.lossStops > countersBefore_.lossStops) {
            events.push_back("loss stop");
        }
        if (token == "n") {
            events.push_back("new game");
        } else if (token == "c") {
            events.push_back("cancel");
        }
        if (std::any_of(view_.messages.begin(), view_.messages.end(), [](const std::string& m) {
                return m.starts_with(HeadlessView::ErrorPrefix);
            })) {
            events.push_back("error");
        }
        for (size_t i = 0; i < events.size(); ++i) {
            line_ += i == 0 ? "" : ";";
            line_ += events[i];
        }
        line_ += '\n';
        log_->Write(line_);
    }

    // The recommendation as number:stake pairs, apart by the separator.
    void AppendStakes(char separator) {
        bool first = true;
        for (int n = 0; n < NumberCount; ++n) {
            if (state_.Stakes[n] > 0) {
                if (!first) {
                    line_ += separator;
                }
                line_ += std::to_string(n) + ":" + std::to_string(state_.Stakes[n]);
                first = false;
            }
        }
    }

    void NoteTotalBalance() {
        if (const std::optional<int32_t> total = view_.Number(Display::TotalBalance)) {
            minTotal_ = std::min<int64_t>(minTotal_, *total);
            maxTotal_ = std::max<int64_t>(maxTotal_, *total);
        }
    }

    // Without a trace, the errors that the window would have shown in a message box (a field that
    // holds no number, a check file or an autosave that could not be written) go to standard
    // error, so that a run never fails unseen.
    void PrintErrors(std::string_view token) const {
        for (const std::string& message : view_.messages) {
            if (message.starts_with(HeadlessView::ErrorPrefix)) {
                std::fprintf(err_, "orbista-sim: step %lld (%.*s): %s\n",
                             static_cast<long long>(tokensPlayed_), static_cast<int>(token.size()),
                             token.data(), message.c_str() + HeadlessView::ErrorPrefix.size());
            }
        }
    }

    void PrintTraceLine(std::string_view token) {
        line_.clear();
        line_ += std::to_string(tokensPlayed_);
        line_ += '\t';
        line_ += token;
        for (const Display display : TracedDisplays) {
            line_ += '\t';
            line_ += view_.Text(display);
        }
        line_ += '\t';
        AppendStakes(',');
        line_ += '\t';
        for (size_t i = 0; i < view_.messages.size(); ++i) {
            line_ += i == 0 ? "" : "|";
            line_ += view_.messages[i];
        }
        line_ += '\n';
        std::fwrite(line_.data(), 1, line_.size(), out_);
    }

    HeadlessRun run_;
    GameState& state_;
    MemorySettings& settings_;
    HeadlessView& view_;
    Engine& engine_;
    std::FILE* out_;
    std::FILE* err_;
    bool trace_;
    int64_t tokensPlayed_ = 0;
    int64_t minTotal_ = 0;
    int64_t maxTotal_ = 0;
    std::string line_;
    std::unique_ptr<TokenLog> log_;
    EngineCounters countersBefore_;
    int64_t logRow_ = 0;
};

}  // namespace

int RunSimulator(const std::vector<std::string>& args, std::FILE* out, std::FILE* err) {
    Options options;
    std::vector<Token> tokens;
    std::unique_ptr<Simulation> simulation;
    try {
        options = ParseOptions(args);
        if (options.script) {
            tokens = ReadScript(*options.script);
        }
        if (options.checkFiles && options.checkDir) {
            CreateFolder(*options.checkDir);  // a folder that cannot be made is told before the run
        }
        simulation = std::make_unique<Simulation>(options, out, err);
    } catch (const UsageError& error) {
        std::fprintf(err, "orbista-sim: %s\n%s", error.what(), Usage);
        return 2;
    } catch (const FileError& error) {
        std::fprintf(err, "orbista-sim: %s\n", error.what());
        return 2;
    }

    const auto started = std::chrono::steady_clock::now();
    int64_t spins = 0;
    if (options.randomSpins) {
        simulation->PlayRandom(*options.randomSpins);
        spins = *options.randomSpins;
    } else {
        for (const Token& token : tokens) {
            simulation->Play(token);
            spins += token.kind == Token::Kind::Spin ? 1 : 0;
        }
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    simulation->PrintSummary();
    std::fflush(out);
    try {
        simulation->CloseLog();
    } catch (const FileError& error) {
        std::fprintf(err, "orbista-sim: %s\n", error.what());
        return 1;
    }
    std::fprintf(err, "spins_per_second: %.0f\n", seconds > 0 ? spins / seconds : 0.0);
    return 0;
}

}  // namespace orbista

#include "sim/script.h"

#include "model/decimal.h"
#include "model/errors.h"
#include "model/game_state.h"
#include "storage/text_file.h"
#include "storage/text_tokens.h"

namespace orbista {

namespace {

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

ScriptToken ParseTypeToken(std::string_view text, const TokenInScript& place) {
    ScriptToken token;
    token.kind = ScriptToken::Kind::Type;
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

ScriptToken ParseToken(const std::filesystem::path& path, const TextToken& scriptToken) {
    const std::string_view text = scriptToken.text;
    const TokenInScript place(path, scriptToken);
    if (text.starts_with("set:")) {
        return ParseTypeToken(text, place);
    }
    ScriptToken token;
    token.text = text;
    if (text == "c") {
        token.kind = ScriptToken::Kind::Cancel;
    } else if (text == "n") {
        token.kind = ScriptToken::Kind::NewGame;
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

}  // namespace

std::vector<ScriptToken> ParseScript(std::string_view text, const std::filesystem::path& path) {
    std::vector<ScriptToken> tokens;
    TextTokenizer tokenizer;
    const auto take = [&](const TextToken& token) {
        tokens.push_back(ParseToken(path, token));
        return true;
    };
    tokenizer.Feed(text, take);
    tokenizer.Finish(take);
    return tokens;
}

std::vector<ScriptToken> ReadScript(const std::filesystem::path& path) {
    return ParseScript(ReadWholeFile(path, ScriptByteLimit), path);
}

}  // namespace orbista

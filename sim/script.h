#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/display.h"
#include "model/settings_table.h"

namespace orbista {

// One input of a script: a spin, a cancel, a new game, or text typed into a field.
struct ScriptToken {
    enum class Kind { Spin, Cancel, NewGame, Type };
    Kind kind = Kind::Spin;
    std::string text;  // as the trace prints it: a spin in plain decimal, else as written
    int32_t number = 0;
    // For Kind::Type: what is typed where.
    std::optional<Setting> setting;
    std::optional<SelectionSystem> system;
    std::optional<Display> balance;
    std::string value;
};

// A script far longer than any run needs: the whole of it is parsed before the first token is
// played, and each token takes memory.
inline constexpr uint64_t ScriptByteLimit = 16 << 20;

// The tokens of a script's text; FileError naming `path` and the line of the first token that is
// none of a spin (0..36), c, n or set:NAME=TEXT with a known field.
std::vector<ScriptToken> ParseScript(std::string_view text, const std::filesystem::path& path);
// The same for the file, which may hold at most ScriptByteLimit bytes.
std::vector<ScriptToken> ReadScript(const std::filesystem::path& path);

}  // namespace orbista

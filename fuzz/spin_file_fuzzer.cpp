// Any text as a spin file (a permanence): read whole or in pieces of any size it gives the same
// numbers or the same message, and the numbers, saved as the program saves a game, read back
// unchanged.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "model/errors.h"
#include "model/game_state.h"
#include "storage/permanence.h"
#include "storage/spin_file.h"

namespace {

using namespace orbista;

// The numbers read, or the message that refused the text.
struct Outcome {
    std::vector<int32_t> numbers;
    bool truncated = false;
    std::string error;

    bool operator==(const Outcome&) const = default;
};

// `pieceSeed` 0 feeds the text whole; otherwise it chooses the lengths of the pieces.
Outcome Read(std::string_view text, uint32_t pieceSeed) {
    PermanenceParser parser("spins.txt", LoadedSpinCapacity);
    try {
        uint32_t state = pieceSeed;
        while (!text.empty()) {
            size_t length = text.size();
            if (pieceSeed != 0) {
                state = state * 1664525u + 1013904223u;
                length = std::min<size_t>(text.size(), 1 + (state >> 24) % 9);
            }
            if (!parser.Feed(text.substr(0, length))) {
                break;
            }
            text.remove_prefix(length);
        }
        const Permanence loaded = parser.Finish();
        return Outcome{{loaded.spins.begin(), loaded.spins.end()}, loaded.truncated, {}};
    } catch (const FileError& error) {
        return Outcome{{}, false, error.what()};
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const Outcome whole = Read(text, 0);
    if (!(Read(text, static_cast<uint32_t>(size) | 1u) == whole)) {
        std::abort();
    }
    const auto count = static_cast<int32_t>(whole.numbers.size());
    if (!whole.error.empty() || count > KeptSpins) {
        return 0;
    }
    static const auto state = std::make_unique<GameState>();
    state->SpinCount = count;
    for (int32_t k = 1; k <= count; ++k) {
        state->SpinHistory[k] = whole.numbers[count - k];
    }
    const Outcome saved = Read(SpinListFormat(*state), 0);
    if (!saved.error.empty() || saved.numbers != whole.numbers) {
        std::abort();
    }
    return 0;
}

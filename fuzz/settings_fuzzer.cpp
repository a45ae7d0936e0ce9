// Any text as save8.dat: reading it either fails with a FileError or gives rows that survive the
// round the window makes with them (show, capture, write, read again) unchanged.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "model/errors.h"
#include "model/settings_model.h"
#include "storage/settings_file.h"

namespace {

using namespace orbista;

std::array<int32_t, StoredRowCount> ShownAndCaptured(const StoredSettings& rows) {
    MemorySettings window;
    ShowSettings(window, rows);
    return CaptureRows(window);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    StoredSettings rows{};
    try {
        ReadSettingsText("save8.dat", text, rows);
    } catch (const FileError&) {
        return 0;
    }
    const std::array<int32_t, StoredRowCount> captured = ShownAndCaptured(rows);
    StoredSettings written{};
    for (int i = 0; i < StoredRowCount; ++i) {
        written[i].first = captured[i];
    }
    StoredSettings reread{};
    ReadSettingsText("save8.dat", SettingsFileText(written), reread);
    for (int i = 0; i < StoredRowCount; ++i) {
        if (reread[i].first != captured[i] || reread[i].second != 0) {
            std::abort();
        }
    }
    if (ShownAndCaptured(reread) != captured) {
        std::abort();
    }
    return 0;
}

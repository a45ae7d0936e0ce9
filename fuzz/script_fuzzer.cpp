// Any text as a script of orbista-sim: the reader refuses it (FileError) or accepts it, and then
// it is played through the engine to its end, traced. The first byte chooses the system.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "model/errors.h"
#include "model/settings_table.h"
#include "sim/script.h"
#include "sim/single_run.h"

namespace {

// A private folder for the check files, made once per process.
const std::filesystem::path& Scratch() {
    static const std::filesystem::path folder = [] {
        std::string name =
            (std::filesystem::temp_directory_path() / "orbista-fuzz-XXXXXX").string();
        if (mkdtemp(name.data()) == nullptr) {
            std::abort();
        }
        return std::filesystem::path(name);
    }();
    return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    static std::FILE* const sink = std::fopen("/dev/null", "w");
    std::vector<orbista::ScriptToken> tokens;
    try {
        tokens = orbista::ParseScript(
            std::string_view(reinterpret_cast<const char*>(data + 1), size - 1), "script.txt");
    } catch (const orbista::FileError&) {
        return 0;
    }
    const auto systems = orbista::SystemsTable();
    orbista::RunOptions options;
    options.system = data[0] % (systems.size() + 1) == systems.size()
                         ? orbista::SelectionSystem::None
                         : systems[data[0] % (systems.size() + 1)].system;
    options.sectorsOnTable = (data[0] & 0x80) != 0;
    options.seed = 1;
    options.checkDir = Scratch();
    options.trace = true;
    orbista::Simulation simulation(options, sink, sink);
    for (const orbista::ScriptToken& token : tokens) {
        simulation.Play(token);
    }
    simulation.PrintSummary();
    return 0;
}

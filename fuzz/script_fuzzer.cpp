// Any text as a script of orbista-sim: it is refused with exit status 2, or accepted and played
// through the engine to its end (exit status 0). The first byte chooses the system.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "sim/simulator.h"

namespace {

const char* const Systems[] = {"with-selection",
                               "without-selection",
                               "sectors",
                               "six-lines",
                               "peer",
                               "anti-review",
                               "esd",
                               "favourites",
                               "gizmo",
                               "chaos",
                               "waiting",
                               "statistics-only",
                               "custom",
                               "none"};

// A private folder for the script and the check files, made once per process.
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
    const std::filesystem::path script = Scratch() / "script.txt";
    std::FILE* file = std::fopen(script.c_str(), "wb");
    if (file == nullptr || std::fwrite(data + 1, 1, size - 1, file) != size - 1 ||
        std::fclose(file) != 0) {
        std::abort();
    }
    const char* system = Systems[data[0] % std::size(Systems)];
    std::vector<std::string> args = {"--system",     system,        "--seed",           "1",
                                     "--trace",      "--check-dir", Scratch().string(), "--script",
                                     script.string()};
    if (data[0] & 0x80) {
        args.push_back("--sectors-on-table");
    }
    const int status = orbista::RunSimulator(args, sink, sink);
    if (status != 0 && status != 2) {
        std::abort();
    }
    return 0;
}

// Pins what every system does on a fixed input, so that a change meant only to reshape the code
// cannot alter a trace, a check file or an autosave unnoticed. When behaviour is meant to change,
// run this test, check that the differences are the intended ones (scripts/trace-corpus.sh before
// and after, compared with diff -r), and copy the new signatures it prints into the table below.

#include <gtest/gtest.h>

#include <algorithm>
#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "tests/sim/sim_run.h"
#include "tests/test_folder.h"

namespace orbista {
namespace {

// FNV-1a, 64 bits: a stable hash that needs no library and prints as 16 hex digits.
class Signature {
  public:
    void Add(const std::string& text) {
        for (const unsigned char c : text) {
            hash_ = (hash_ ^ c) * 0x100000001b3ull;
        }
        Add('\0');
    }
    std::string Hex() const {
        char text[17];
        std::snprintf(text, sizeof text, "%016" PRIx64, hash_);
        return text;
    }

  private:
    void Add(char separator) {
        hash_ = (hash_ ^ static_cast<unsigned char>(separator)) * 0x100000001b3ull;
    }
    std::uint64_t hash_ = 0xcbf29ce484222325ull;
};

// Every file of a folder, by name in order, as name and contents. Autosave names carry the clock,
// so for them only the sorted contents count.
void AddFolder(Signature& signature, const TestFolder& folder, const std::filesystem::path& sub,
               bool with_names) {
    std::vector<std::string> entries;
    if (!std::filesystem::exists(folder.Path() / sub)) {
        return;
    }
    for (const auto& entry : std::filesystem::directory_iterator(folder.Path() / sub)) {
        const std::string contents = folder.Read(sub / entry.path().filename());
        entries.push_back(with_names ? entry.path().filename().string() + '\n' + contents
                                     : contents);
    }
    std::sort(entries.begin(), entries.end());
    for (const auto& entry : entries) {
        signature.Add(entry);
    }
}

std::string Pinned(const std::string& what, const std::string& actual, const std::string& pinned) {
    return "The behaviour of " + what + " changed: its signature is " + actual +
           ", the pinned one " + pinned +
           ". If the change is meant, compare scripts/trace-corpus.sh before and after, and "
           "put the new signature into the table of tests/sim/signature_test.cpp.";
}

struct SystemSignature {
    const char* system;
    const char* signature;
};

// --trace --seed 7 --random 400 for every system: the trace, the summary and the check files.
constexpr SystemSignature kRandomRuns[] = {
    {"with-selection", "27147e94d9d41bd9"},
    {"without-selection", "514e45f693ba9ffd"},
    {"sectors", "541a05ceea8e970b"},
    {"six-lines", "b62b785707604a69"},
    {"peer", "b83c8ca8e2dfafac"},
    {"anti-review", "8b7074b68514d0bd"},
    {"esd", "8b35c9fcad4d293b"},
    {"favourites", "70e7265aecd04558"},
    {"gizmo", "3f1a890eb518f1cb"},
    {"chaos", "37c5524f73690c71"},
    {"waiting", "4e8c49ca7d91d531"},
    {"statistics-only", "f4181e0832bdd5d1"},
    {"custom", "f4181e0832bdd5d1"},
    {"none", "f4181e0832bdd5d1"},
};

TEST(Signature, RandomRunOfEverySystemIsPinned) {
    for (const auto& [system, pinned] : kRandomRuns) {
        TestFolder folder;
        const SimRun run =
            RunSimulatorProgram(std::string("--trace --seed 7 --random 400 --system ") + system +
                                " --check-dir " + folder.Path().string());
        ASSERT_EQ(run.status, 0) << system;
        Signature signature;
        signature.Add(run.out);
        AddFolder(signature, folder, ".", true);
        EXPECT_EQ(signature.Hex(), pinned) << Pinned(system, signature.Hex(), pinned);
    }
}

// A long script from a fixed generator: spins, with a repetitive stretch now and then, cancels,
// new games, typed stakes, balances and bad fields, the series switch and a change of system.
std::string MixedScript() {
    static const char* const kSystems[] = {"with-selection", "sectors",     "six-lines",
                                           "peer",           "anti-review", "esd",
                                           "favourites",     "waiting",     "without-selection"};
    std::uint32_t state = 12345;
    auto next = [&state](std::uint32_t range) {
        state = state * 1103515245u + 12345u;
        return (state >> 8) % range;
    };
    std::ostringstream script;
    for (int token = 0; token < 3000; ++token) {
        const std::uint32_t r = next(1000);
        if (r < 30) {
            script << "c";
        } else if (r < 35) {
            script << "n";
        } else if (r < 40) {
            script << "set:MaxStake=" << next(40);
        } else if (r < 43) {
            script << "set:Memo3=" << static_cast<int>(next(500)) - 100;
        } else if (r < 45) {
            script << "set:UseDrawnSeries=" << next(2);
        } else if (r < 46) {
            script << "set:WinTarget=abc";
        } else if (r < 47) {
            script << "set:WinTarget=50";
        } else if (r < 49) {
            script << "set:ActiveSystem=" << kSystems[next(std::size(kSystems))];
        } else if (r < 300) {
            script << next(6);
        } else {
            script << next(37);
        }
        script << '\n';
    }
    return script.str();
}

TEST(Signature, MixedScriptIsPinned) {
    const std::string pinned = "d20fda1af64e9ac7";
    TestFolder folder;
    folder.Write("script.txt", MixedScript());
    std::filesystem::create_directories(folder.Path() / "check");
    const SimRun run = RunSimulatorProgram("--trace --seed 7 --system with-selection --check-dir " +
                                           (folder.Path() / "check").string() + " --autosave-dir " +
                                           (folder.Path() / "autosave").string() + " --script " +
                                           (folder.Path() / "script.txt").string());
    ASSERT_EQ(run.status, 0);
    Signature signature;
    signature.Add(run.out);
    AddFolder(signature, folder, "check", true);
    AddFolder(signature, folder, "autosave", false);
    EXPECT_EQ(signature.Hex(), pinned) << Pinned("the mixed script", signature.Hex(), pinned);
}

// The trace lines of one token sequence, without the running index.
std::vector<std::string> LinesWithoutIndex(const std::string& out) {
    std::vector<std::string> lines;
    std::istringstream in(out);
    std::string line;
    while (std::getline(in, line)) {
        const size_t tab = line.find('\t');
        if (tab != std::string::npos) {
            lines.push_back(line.substr(tab + 1));
        }
    }
    return lines;
}

// With the drawn series the systems see only the game's own spins, so a new game played with the
// same spins traces the same lines. Gizmo and chaos draw random numbers and are left out.
TEST(Signature, DrawnSeriesReplaysTheSameGameTheSameWay) {
    const std::string spins =
        "17 3 25 0 8 8 14 33 2 19 21 7 7 30 11 36 5 24 16 1 10 23 8 4 12 35 3 26 0 32 15 8 8 8 "
        "1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20 21 22 23 24 25 26 27 28 29 30 31 32 "
        "33 34 35 36 0 5 5 17 17 17 22 9";
    const size_t count = std::count(spins.begin(), spins.end(), ' ') + 1;
    for (const char* system :
         {"with-selection", "without-selection", "sectors", "six-lines", "peer", "anti-review",
          "esd", "favourites", "waiting", "statistics-only", "custom", "none"}) {
        TestFolder folder;
        folder.Write("script.txt", "set:UseDrawnSeries=1 " + spins + " n " + spins);
        const SimRun run = RunSimulatorProgram(
            std::string("--trace --seed 7 --system ") + system + " --check-dir " +
            folder.Path().string() + " --script " + (folder.Path() / "script.txt").string());
        ASSERT_EQ(run.status, 0) << system;
        const auto lines = LinesWithoutIndex(run.out);
        ASSERT_EQ(lines.size(), 2 * count + 1) << system;
        for (size_t k = 0; k < count; ++k) {
            EXPECT_EQ(lines[k], lines[count + 1 + k]) << system << ", spin " << k + 1;
        }
    }
}

}  // namespace
}  // namespace orbista

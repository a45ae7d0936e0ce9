#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>

#include "tests/sim/sim_run.h"
#include "tests/test_folder.h"

namespace orbista {
namespace {

namespace fs = std::filesystem;

const std::string Sim = ORBISTA_SIM_PATH;

// The exit status and standard error of a shell command line; standard output is dropped.
SimRun Errors(const std::string& command) {
    return RunShellCommand("{ " + command + " ; } 2>&1 >/dev/null");
}

std::string Quoted(const fs::path& path) {
    return "'" + path.string() + "'";
}

TEST(Outputs, TheLogGoesIntoDevicesPipesAndLinksAndNeverReplacesThem) {
    TestFolder folder;
    const std::string run = Sim + " --seed 1 --random 5 --no-check-files --csv ";
    const fs::path pipe = folder.Path() / "pipe";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_EQ(Errors(run + Quoted(pipe)).out, "orbista-sim: Не удалось записать файл \"" +
                                                  pipe.string() +
                                                  "\": этот канал никто не читает.\n");
    ASSERT_EQ(RunShellCommand(run + Quoted(folder.Path() / "file.csv")).status, 0);
    EXPECT_EQ(
        // Refused until the reader has opened its end, which is a moment after it started.
        RunShellCommand("cat " + Quoted(pipe) + " & until " + run + Quoted(pipe) +
                        " >/dev/null 2>&1; do sleep 0.01; done; wait")
            .out,
        folder.Read("file.csv"));
    EXPECT_TRUE(fs::is_fifo(pipe));

    const fs::path null = folder.Path() / "null";
    if (::mknod(null.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0) {  // the superuser's only
        EXPECT_EQ(RunShellCommand(run + Quoted(null)).status, 0);
        EXPECT_TRUE(fs::is_character_file(null));
    }

    // A file of the name the log used to be written under is the player's own.
    folder.Write("x.csv.tmp", "notes");
    fs::create_symlink("real.csv", folder.Path() / "x.csv");
    ASSERT_EQ(RunShellCommand(run + Quoted(folder.Path() / "x.csv")).status, 0);
    EXPECT_EQ(folder.Read("x.csv.tmp"), "notes");
    EXPECT_TRUE(fs::is_symlink(folder.Path() / "x.csv"));
    EXPECT_TRUE(folder.Read("real.csv").starts_with("spin,number,"));
}

TEST(Outputs, StandardOutputThatRefusesAWriteIsAFailure) {
    TestFolder folder;
    const fs::path full = folder.Path() / "full";
    if (::mknod(full.c_str(), S_IFCHR | 0666, makedev(1, 7)) == 0) {  // the superuser's only
        for (const std::string arguments :
             {"--random 5 --no-check-files", "--trace --random 5 --no-check-files", "--help",
              "--version", "compare --seed 1 --runs 1 --spins 10"}) {
            const SimRun run = Errors(Sim + " " + arguments + " >" + Quoted(full));
            EXPECT_EQ(run.out.substr(run.out.find(':')),
                      ": Не удалось записать стандартный вывод: нет места на диске.\n")
                << arguments;
        }
    }
    // A pipe closed by its reader ends the run quietly, as it ends any command-line tool.
    const SimRun closed = RunShellCommand("{ " + Sim +
                                          " --trace --random 1000000 --no-check-files 2>&1; echo "
                                          "$? >" +
                                          Quoted(folder.Path() / "status") + "; } | head -c 1");
    EXPECT_EQ(closed.out, "1");
    EXPECT_EQ(folder.Read("status"), "1\n");
}

TEST(Outputs, SigtermLeavesTheOldLogAndNoTemporaryFile) {
    TestFolder folder;
    folder.Write("log.csv", "old");
    const SimRun run = RunShellCommand(
        "cd " + Quoted(folder.Path()) + " && { " + Sim +
        " --random 1000000000 --no-check-files --csv log.csv & pid=$!; "
        "while [ -z \"$(ls -A | grep tmp)\" ]; do sleep 0.05; done; kill -TERM $pid; wait $pid; "
        "echo $?; }");
    EXPECT_EQ(run.out, "143\n");
    EXPECT_EQ(folder.Read("log.csv"), "old");
    EXPECT_EQ(NamesIn(folder.Path()), std::set<std::string>{"log.csv"});
}

TEST(Outputs, CtrlCOnACompareTellsAndWritesTheGamesFinishedSoFar) {
    TestFolder folder;
    const SimRun run = RunShellCommand(
        "cd " + Quoted(folder.Path()) + " && { " + Sim +
        " compare --seed 1 --systems peer --runs 1000 --spins 1000000 --csv runs.csv >table "
        "2>/dev/null & pid=$!; while [ -z \"$(ls -A | grep tmp)\" ]; do sleep 0.05; done; "
        "sleep 0.5; kill -INT $pid; wait $pid; echo $?; }");
    EXPECT_EQ(run.out, "130\n");
    const std::string table = folder.Read("table");
    const size_t marked = table.find("\n# прервано: ");
    ASSERT_NE(marked, std::string::npos) << table;
    const int64_t games = std::stoll(table.substr(marked + std::string("\n# прервано: ").size()));
    EXPECT_NE(table.find(" из 1000 игр\nsystem "), std::string::npos) << table;
    const std::string csv = folder.Read("runs.csv");
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 2 + games);  // the command, the header
    EXPECT_EQ(NamesIn(folder.Path()), (std::set<std::string>{"runs.csv", "table"}));
}

TEST(CommandLine, EachCommandExplainsItselfAndRefusesWhatItCannotMeanOrDo) {
    const SimRun help = RunShellCommand(Sim + " --help");
    const SimRun compareHelp = RunShellCommand(Sim + " compare --help");
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(compareHelp.status, 0);
    for (const char* named :
         {"--settings", "--system", "--sectors-on-table", "--seed", "--check-dir",
          "--no-check-files", "--autosave-dir", "--trace", "--csv", "--script", "--random",
          "--version", "compare", "with-selection", "statistics-only", "none", "Exit status"}) {
        EXPECT_NE(help.out.find(named), std::string::npos) << named;
    }
    for (const char* named :
         {"--systems", "--settings", "--sectors-on-table", "--seed", "--runs", "--spins",
          "--spin-files", "--jobs", "--csv", "chaos", "custom", "Exit status", "Example"}) {
        EXPECT_NE(compareHelp.out.find(named), std::string::npos) << named;
    }
    EXPECT_EQ(RunShellCommand(Sim + " --version").out, "orbista-sim 8.3\n");

    TestFolder folder;
    folder.Write("empty.txt", "");
    const std::string c = Sim + " compare ";
    for (const auto& [command, message] : std::vector<std::pair<std::string, std::string>>{
             {Sim + " --settings --random 5", "--settings: needs a value, not the option --random"},
             {Sim + " --seed 1 --seed 2 --random 5", "--seed is given more than once"},
             {Sim + " --random 5 --csv ''", "--csv: an empty name is no file"},
             {c + "--spin-files " + Quoted(folder.Path() / "empty.txt"),
              "empty.txt\": в нём нет ни одного спина."},
             {c + "--systems all --runs 100000 --spins 10000000",
              "13 systems × 100000 games come to 13000000000000 spins, more than the "
              "100000000000 a comparison may play"},
         }) {
        const SimRun run = Errors(command);
        EXPECT_EQ(run.out.find(message) == std::string::npos ? -1 : run.status, 2)
            << command << "\n"
            << run.out;
    }
}

TEST(CommandLine, ASpinFileOverTheLimitIsPlayedInPartAndSaidSo) {
    TestFolder folder;
    std::string spins;
    for (int i = 0; i < 1'000'001; ++i) {
        spins += std::to_string(i % 37) + " ";
    }
    folder.Write("long.txt", spins);
    const SimRun run = RunShellCommand(Sim + " compare --seed 1 --systems statistics-only " +
                                       "--spin-files " + Quoted(folder.Path() / "long.txt"));
    ASSERT_EQ(run.status, 0);
    EXPECT_NE(run.out.find("\n# В файле \"" + (folder.Path() / "long.txt").string() +
                           "\" больше 1000000 спинов: играются первые 1000000.\n"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find(" 1000000 "), std::string::npos) << run.out;
}

// What the superuser may write whatever its permissions is refused, before anything is played.
TEST(Unprivileged, AnOutputThatCannotBeWrittenIsRefusedBeforeAnythingIsPlayed) {
    REQUIRE_AN_UNPRIVILEGED_USER();
    TestFolder folder;
    folder.Write("log.csv", "old");
    fs::permissions(folder.Path() / "log.csv", fs::perms::owner_read);
    fs::create_directory(folder.Path() / "closed");
    fs::permissions(folder.Path() / "closed", fs::perms::owner_read | fs::perms::owner_exec);
    const std::string log = Quoted(folder.Path() / "log.csv");
    const std::string closed = Quoted(folder.Path() / "closed");
    for (const std::string& arguments :
         {"--random 5 --no-check-files --csv " + log, "compare --runs 1 --spins 5 --csv " + log,
          "--random 5 --check-dir " + closed,
          "--random 5 --no-check-files --autosave-dir " + closed,
          "--random 5 --no-check-files --csv " + Quoted(folder.Path() / "closed" / "log.csv")}) {
        const SimRun run = RunSimulatorProgram(arguments);
        EXPECT_EQ(run.status, 2) << arguments;
        EXPECT_EQ(run.out, "") << arguments;
    }
    EXPECT_EQ(folder.Read("log.csv"), "old");
    EXPECT_EQ(NamesIn(folder.Path()), (std::set<std::string>{"closed", "log.csv"}));
}

}  // namespace
}  // namespace orbista

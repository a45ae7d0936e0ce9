#include "sim/command_line.h"

#include <array>
#include <cerrno>

#include "model/errors.h"
#include "model/settings_table.h"
#include "session/comparison_columns.h"
#include "sim/compare.h"
#include "sim/forecast_command.h"
#include "sim/single_run.h"
#include "sim/wheel.h"

namespace orbista {

namespace {

// A value is checked before it is taken: a path may not be empty, and no value may look like an
// option, which would mean the option before it was given none.
const CLI::Validator& TakenValue() {
    static const CLI::Validator validator(
        [](const std::string& value) -> std::string {
            if (value.empty()) {
                return "an empty name is no file";
            }
            if (value.starts_with("--")) {
                return "needs a value, not the option " + value;
            }
            return {};
        },
        "", "value");
    return validator;
}

// A single-value option given twice is a mistake, not a change of mind.
void RefuseRepeatedOptions(const CLI::App& app) {
    for (const CLI::Option* option : app.get_options()) {
        if (option->get_items_expected_max() == 1 && option->count() > 1) {
            throw UsageError(option->get_name() + " is given more than once");
        }
    }
}

// The options given before "compare" or "forecast" belong to a single run.
void RefuseOptionsOf(const CLI::App& app, const Command& chosen) {
    for (const CLI::Option* option : app.get_options()) {
        if (option->count() > 0) {
            throw UsageError(option->get_name() + " does not go with " + chosen.App().get_name());
        }
    }
}

// The columns --sort takes, as the help lists them.
std::string ColumnKeyList() {
    std::string keys;
    for (const ComparisonColumn& column : ComparisonColumns()) {
        keys += (keys.empty() ? "" : ", ") + std::string(column.key);
    }
    return keys;
}

std::string RunFooter() {
    return "Systems (--system NAME):\n" + SystemNames(true) +
           "\n\n"
           "Without --trace a summary goes to standard output (spins, cancels, new_games,\n"
           "win_stops, loss_stops, total_balance, game_balance, min_total_balance,\n"
           "max_total_balance, units_staked, units_won), and spins_per_second to standard error.\n"
           "\n"
           "Exit status:\n"
           "  0  the run was played (errors the window would show are on standard error)\n"
           "  1  an output could not be written\n"
           "  2  bad usage, an unreadable input, or an output that cannot be written,\n"
           "     found before anything is played\n"
           "  130, 143  ended by Ctrl+C or SIGTERM: the --csv file stays as it was before the run\n"
           "\n"
           "Examples:\n"
           "  orbista-sim --system with-selection --seed 1 --random 100000\n"
           "\n"
           "  orbista-sim --settings save8.dat --trace --script spins.txt\n"
           "\n"
           "  orbista-sim compare --help";
}

std::string CompareFooter() {
    return "Systems (--systems LIST):\n" + SystemNames(false) +
           "\n\n"
           "The table has a row per system, best mean final balance first (--sort to change),\n"
           "systems that bet nothing last with \"—\" for every money figure; game i of every\n"
           "system sees the same spins, whatever --jobs. Of a spin file over 1000000 spins the\n"
           "first 1000000 are played, as in the window, and the header says so. Columns: " +
           ColumnKeyList() +
           ".\n"
           "\n"
           "Exit status:\n"
           "  0  the comparison was played\n"
           "  1  an output could not be written\n"
           "  2  bad usage, an unreadable or empty input, an output that cannot be written,\n"
           "     or more than 10^11 spins or 2 GB of results, found before anything is played\n"
           "  130  stopped by Ctrl+C: the table, whose header says how many games were\n"
           "       finished, and the CSV hold those; a second Ctrl+C ends it at once\n"
           "\n"
           "Examples:\n"
           "  orbista-sim compare --seed 1 --runs 100 --spins 10000 --jobs 2 --csv runs.csv\n"
           "  orbista-sim compare --seed 1 --runs 10000 --spins 2000 --shard 2/3 --csv part2.csv\n"
           "  orbista-sim merge part1.csv part2.csv part3.csv";
}

std::string MergeFooter() {
    return "Every shard's file, written by compare --shard K/N --csv FILE with the same other\n"
           "options, must be given; the table is the one the whole comparison prints.\n"
           "\n"
           "Exit status:\n"
           "  0  the table was printed\n"
           "  2  bad usage, or a file that is unreadable, from another comparison, repeated or\n"
           "     missing\n"
           "\n"
           "Example:\n"
           "  orbista-sim merge --pair peer,esd part1.csv part2.csv part3.csv";
}

std::string ForecastFooter() {
    return "Systems (--system NAME):\n" + SystemNames(true) +
           "\n\n"
           "Each continuation plays the game on from where the script left it, with random spins,\n"
           "until the win stop, the loss stop or the horizon. The output: win_stop, loss_stop and\n"
           "open (shares with their 95% interval, which sum to 1), expected_total_change and\n"
           "expected_units_staked (means with their 95% interval), median_spins_to_end, and the\n"
           "ladder: the stakes of each further spin when none of them hits, up to the stop.\n"
           "A system that places no bets prints \"forecast: none\".\n"
           "\n"
           "Exit status:\n"
           "  0  the forecast was made, or there is none\n"
           "  2  bad usage or an unreadable input, found before anything is played\n"
           "\n"
           "Example:\n"
           "  orbista-sim forecast --seed 1 --script spins.txt --continuations 2000";
}

std::string WheelFooter() {
    return "Files hold numbers 0..36 apart by commas, semicolons, blanks, tabs or line breaks;\n"
           "lines that start with # and a first line without a number (a header) are skipped.\n"
           "\n"
           "Each of eight chi-square tests (numbers, dozens, columns, colours, parity, halves,\n"
           "six-lines, streets; zero a cell of its own) gives the chance that a fair wheel\n"
           "deviates as much. Eight tests at 5 % give a false alarm for about one permanence\n"
           "of a fair wheel in three; only p below 0.05/8 stands out. Per number: hits, the\n"
           "longest absence and the exact chance of one that long in as many spins.\n"
           "\n"
           "Exit status:\n"
           "  0  the spins were tested\n"
           "  2  bad usage or an unreadable file\n"
           "\n"
           "Example:\n"
           "  orbista-sim wheel table7.csv --csv > table7-test.csv";
}

// Exit status 1 for standard output that refused a write; a pipe whose reader has gone is no news
// to whoever closed it, so it ends quietly, as command-line tools do.
int Failed(const OutputError& error, const std::string& name, std::FILE* err) {
    if (error.Error() != EPIPE) {
        std::fprintf(err, "%s: %s\n", name.c_str(), error.what());
    }
    return 1;
}

// Prints the help or the version: exit status 0 once it is written.
int Tell(const std::string& text, std::FILE* out, std::FILE* err) {
    try {
        WriteOut(out, text);
        FlushOut(out);
    } catch (const OutputError& error) {
        return Failed(error, "orbista-sim", err);
    }
    return 0;
}

}  // namespace

OutputError::OutputError(int error)
    : std::runtime_error("Не удалось записать стандартный вывод: " + SystemErrorReason(error) +
                         "."),
      error_(error) {}

void WriteOut(std::FILE* out, std::string_view text) {
    if (std::fwrite(text.data(), 1, text.size(), out) != text.size()) {
        throw OutputError(errno);
    }
}

void FlushOut(std::FILE* out) {
    if (std::fflush(out) != 0 || std::ferror(out) != 0) {
        throw OutputError(errno);
    }
}

uint64_t SeedValue(std::string_view option, const std::string& text) {
    const auto seed = ParseWhole<uint64_t>(text);
    if (!seed) {
        throw UsageError(std::string(option) + " takes a whole number: " + text);
    }
    return *seed;
}

int64_t CountValue(const std::string& option, const std::string& text, int64_t most) {
    const auto value = ParseWhole<int64_t>(text);
    if (!value || *value <= 0 || *value > most) {
        throw UsageError(option + " takes a whole number from 1 to " + std::to_string(most) + ": " +
                         text);
    }
    return *value;
}

std::string Command::Name() const {
    const CLI::App* parent = app_.get_parent();
    return parent == nullptr ? app_.get_name() : parent->get_name() + " " + app_.get_name();
}

CLI::Option* AddPathOption(CLI::App& app, const std::string& name,
                           std::optional<std::filesystem::path>& path, const std::string& typeName,
                           const std::string& description) {
    return app
        .add_option_function<std::string>(
            name, [&path](const std::string& value) { path = value; }, description)
        ->type_name(typeName)
        ->check(TakenValue());
}

CLI::Option* AddTextOption(CLI::App& app, const std::string& name, std::optional<std::string>& text,
                           const std::string& typeName, const std::string& description) {
    return app
        .add_option_function<std::string>(
            name, [&text](const std::string& value) { text = value; }, description)
        ->type_name(typeName)
        ->check(TakenValue());
}

CLI::Option* AddPathsOption(CLI::App& app, const std::string& name, std::vector<std::string>& paths,
                            const std::string& typeName, const std::string& description) {
    return app.add_option(name, paths, description)
        ->type_name(typeName)
        ->expected(1, CLI::detail::expected_max_vector_size)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll)
        ->check(TakenValue());
}

std::string SystemNames(bool withNone) {
    std::vector<std::string> names;
    for (const SystemInfo& info : SystemsTable()) {
        names.emplace_back(info.simName);
    }
    if (withNone) {
        names.emplace_back("none (no system)");
    }
    // Lines of at most 80 characters, indented by two.
    std::string text = " ";
    size_t lineStart = 0;
    for (size_t i = 0; i < names.size(); ++i) {
        const std::string word = " " + names[i] + (i + 1 < names.size() ? "," : "");
        if (text.size() - lineStart + word.size() > 80) {
            text += "\n ";
            lineStart = text.size() - 1;
        }
        text += word;
    }
    return text;
}

int RunCommandLine(const std::vector<std::string>& args, std::FILE* out, std::FILE* err) {
    CLI::App app(
        "Plays roulette spins through the ORBISTA engine without a window: one game, traced or\n"
        "summed up, from a script (--script) or random spins (--random); with compare, every\n"
        "system over the same games; with wheel, a test of a table's recorded numbers.",
        "orbista-sim");
    app.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    app.set_help_flag("-h,--help", "prints this help and exits");
    app.set_version_flag("--version", "orbista-sim " ORBISTA_VERSION,
                         "prints the version and exits");
    app.footer(RunFooter());
    SingleRunCommand run(app, out, err);

    CLI::App& compareApp = *app.add_subcommand(
        "compare", "plays every chosen system over the same games and prints a table of them");
    compareApp.footer(CompareFooter());
    CompareCommand compare(compareApp, out, err);

    CLI::App& mergeApp = *app.add_subcommand(
        "merge", "prints the table of a comparison played in shards, from their CSV files");
    mergeApp.footer(MergeFooter());
    MergeCommand merge(mergeApp, out, err);

    CLI::App& forecastApp = *app.add_subcommand(
        "forecast", "plays the script, then forecasts how the game goes on to its stop");
    forecastApp.footer(ForecastFooter());
    ForecastCommand forecast(forecastApp, out, err);

    CLI::App& wheelApp = *app.add_subcommand(
        "wheel", "tests whether the spins of permanence files look like those of a fair wheel");
    wheelApp.footer(WheelFooter());
    WheelCommand wheel(wheelApp, out, err);

    Command* chosen = &run;
    try {
        std::vector<std::string> reversed(args.rbegin(), args.rend());
        app.parse(reversed);
        if (compareApp.parsed()) {
            chosen = &compare;
        } else if (mergeApp.parsed()) {
            chosen = &merge;
        } else if (forecastApp.parsed()) {
            chosen = &forecast;
        } else if (wheelApp.parsed()) {
            chosen = &wheel;
        }
        if (chosen != &run) {
            RefuseOptionsOf(app, *chosen);
        }
        RefuseRepeatedOptions(chosen->App());
        chosen->Prepare();
    } catch (const CLI::CallForHelp&) {
        return Tell(app.help(), out, err);
    } catch (const CLI::CallForVersion& version) {
        return Tell(version.what() + std::string("\n"), out, err);
    } catch (const CLI::ParseError& error) {
        const std::string name = compareApp.parsed()    ? compare.Name()
                                 : mergeApp.parsed()    ? merge.Name()
                                 : forecastApp.parsed() ? forecast.Name()
                                 : wheelApp.parsed()    ? wheel.Name()
                                                        : run.Name();
        std::fprintf(err, "%s: %s\nTry '%s --help' for more information.\n", name.c_str(),
                     error.what(), name.c_str());
        return 2;
    } catch (const UsageError& error) {
        const std::string name = chosen->Name();
        std::fprintf(err, "%s: %s\nTry '%s --help' for more information.\n", name.c_str(),
                     error.what(), name.c_str());
        return 2;
    } catch (const PlayerError& error) {
        std::fprintf(err, "%s: %s\n", chosen->Name().c_str(), error.what());
        return 2;
    }
    try {
        const int status = chosen->Play();
        FlushOut(out);
        return status;
    } catch (const FileError& error) {
        std::fprintf(err, "%s: %s\n", chosen->Name().c_str(), error.what());
        return 1;
    } catch (const OutputError& error) {
        return Failed(error, chosen->Name(), err);
    }
}

}  // namespace orbista

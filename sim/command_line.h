#pragma once

#include <CLI/CLI.hpp>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace orbista {

// A command line the simulator cannot run: it prints the message and where to find the help, and
// exits 2.
class UsageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Standard output refused what was written (a full disk, a pipe whose reader has gone): the
// command ends with exit status 1, saying so unless the pipe was closed.
class OutputError : public std::runtime_error {
  public:
    explicit OutputError(int error);
    int Error() const { return error_; }

  private:
    int error_;
};

// Writes to standard output (or whatever `out` is); OutputError when it cannot.
void WriteOut(std::FILE* out, std::string_view text);
// Hands on what `out` still holds; OutputError when it cannot.
void FlushOut(std::FILE* out);

// The whole of text as a decimal number of the given type; none for anything else.
template <typename Integer>
std::optional<Integer> ParseWhole(std::string_view text) {
    Integer value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

// The value of `option` as a seed: any whole number that fits 64 bits.
uint64_t SeedValue(std::string_view option, const std::string& text);
// The value of `option` as a count from 1 to `most`.
int64_t CountValue(const std::string& option, const std::string& text, int64_t most);

// A command of orbista-sim. Its constructor declares the command's options on its CLI::App (one
// line each: a new option is added there and read in Prepare); RunCommandLine parses the command
// line, then calls Prepare and Play of the command that was chosen.
class Command {
  public:
    // The results go to `out`, the errors and figures to `err`.
    Command(CLI::App& app, std::FILE* out, std::FILE* err) : out_(out), err_(err), app_(app) {}
    virtual ~Command() = default;
    Command(const Command&) = delete;
    Command& operator=(const Command&) = delete;

    CLI::App& App() const { return app_; }
    // "orbista-sim" or "orbista-sim compare": how its messages begin.
    std::string Name() const;

    // Checks what the options took and reads the inputs, before anything is played: UsageError or
    // FileError (exit status 2) for anything the command cannot run with.
    virtual void Prepare() = 0;
    // Plays and returns the exit status; FileError (exit status 1) for an output that could not be
    // written.
    virtual int Play() = 0;

  protected:
    std::FILE* out_;
    std::FILE* err_;

  private:
    CLI::App& app_;
};

// Declares an option that takes a file's or a folder's path. An empty path, or a value that starts
// with "--" (an option forgotten its value), is refused.
CLI::Option* AddPathOption(CLI::App& app, const std::string& name,
                           std::optional<std::filesystem::path>& path, const std::string& typeName,
                           const std::string& description);
// Declares an option that takes one value, kept as written for Prepare to read.
CLI::Option* AddTextOption(CLI::App& app, const std::string& name, std::optional<std::string>& text,
                           const std::string& typeName, const std::string& description);

// Declares an option that takes one or more paths, from every time it is given.
CLI::Option* AddPathsOption(CLI::App& app, const std::string& name, std::vector<std::string>& paths,
                            const std::string& typeName, const std::string& description);

// "with-selection, without-selection, ...": the names the options take, as the help lists them.
std::string SystemNames(bool withNone);

// Runs orbista-sim with the given arguments (without the program name). Returns the exit status.
int RunCommandLine(const std::vector<std::string>& args, std::FILE* out, std::FILE* err);

}  // namespace orbista

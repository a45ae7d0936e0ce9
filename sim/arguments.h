#pragma once

#include <charconv>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace orbista {

// A command line the simulator cannot run: it prints the message and its usage, and exits 2.
class UsageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

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

// Walks a command line option by option, handing out each option's values.
class ArgumentList {
  public:
    explicit ArgumentList(const std::vector<std::string>& args) : args_(args) {}

    // Moves to the next option; false past the last.
    bool Next() { return ++at_ < args_.size(); }
    const std::string& Option() const { return args_[at_]; }
    // The argument after the option, taken as its value; UsageError when there is none.
    const std::string& Value() {
        if (at_ + 1 >= args_.size()) {
            throw UsageError(Option() + " needs a value");
        }
        return args_[++at_];
    }
    // Every argument up to the next option (one that starts with "--").
    std::vector<std::string> Values() {
        std::vector<std::string> values;
        while (at_ + 1 < args_.size() && !args_[at_ + 1].starts_with("--")) {
            values.push_back(args_[++at_]);
        }
        return values;
    }
    // The option's value as a seed: any whole number that fits 64 bits.
    uint64_t SeedValue() {
        const std::string& option = Option();
        const std::string& text = Value();
        const auto seed = ParseWhole<uint64_t>(text);
        if (!seed) {
            throw UsageError(option + " takes a whole number: " + text);
        }
        return *seed;
    }
    // The option's value as the path of a file that the run will write, refused before anything
    // runs when it cannot be written.
    std::filesystem::path WritableFileValue();

  private:
    const std::vector<std::string>& args_;
    size_t at_ = static_cast<size_t>(-1);
};

}  // namespace orbista

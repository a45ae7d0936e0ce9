#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "session/wheel_test.h"
#include "sim/command_line.h"

namespace orbista {

// `orbista-sim wheel FILE... [--csv]`: whether the spins of permanence files, joined in the order
// given, look like those of a fair wheel; a table (or CSV) on standard output.
class WheelCommand : public Command {
  public:
    WheelCommand(CLI::App& app, std::FILE* out, std::FILE* err);

    void Prepare() override;
    int Play() override;

  private:
    std::vector<std::string> paths_;
    bool csv_ = false;
    std::vector<uint8_t> spins_;
};

// The outcome as aligned columns: the eight tests, every number, the repeats and the verdict.
std::string WheelTable(const WheelTestResult& result, const std::string& header);
// The outcome as CSV: a row per test and one per cell of it, then the repeats.
std::string WheelCsv(const WheelTestResult& result);

}  // namespace orbista

#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace orbista {

// Runs orbista-sim with the given arguments (without the program name); the trace and summary go
// to `out`, usage errors and the speed figure to `err`. Returns the exit status.
int RunSimulator(const std::vector<std::string>& args, std::FILE* out, std::FILE* err);

}  // namespace orbista

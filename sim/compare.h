#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace orbista {

// `orbista-sim compare ...` (the arguments after "compare"): the systems over the same runs, a
// table on `out`, the progress and errors on `err`. Returns the exit status.
int RunCompare(const std::vector<std::string>& args, std::FILE* out, std::FILE* err);

}  // namespace orbista

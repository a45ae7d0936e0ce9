#include <vector>

#include "sim/compare.h"
#include "sim/simulator.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (!args.empty() && args[0] == "compare") {
        return orbista::RunCompare({args.begin() + 1, args.end()}, stdout, stderr);
    }
    return orbista::RunSimulator(args, stdout, stderr);
}

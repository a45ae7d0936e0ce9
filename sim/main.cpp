#include <vector>

#include "sim/simulator.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    return orbista::RunSimulator(args, stdout, stderr);
}

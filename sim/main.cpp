#include <string>
#include <vector>

#include "sim/command_line.h"
#include "sim/interruption.h"

int main(int argc, char** argv) {
    orbista::EndCleanlyOnSignals();
    return orbista::RunCommandLine({argv + 1, argv + argc}, stdout, stderr);
}

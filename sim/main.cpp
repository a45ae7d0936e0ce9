#include <string>
#include <vector>

#include "sim/command_line.h"

int main(int argc, char** argv) {
    return orbista::RunCommandLine({argv + 1, argv + argc}, stdout, stderr);
}

#pragma once

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <memory>
#include <string>

namespace orbista {

struct SimRun {
    int status = -1;
    std::string out;
};

// Runs a shell command line and captures its standard output and exit status.
inline SimRun RunShellCommand(const std::string& command) {
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    SimRun run;
    std::array<char, 4096> buffer{};
    size_t got = 0;
    while ((got = fread(buffer.data(), 1, buffer.size(), pipe.get())) > 0) {
        run.out.append(buffer.data(), got);
    }
    const int status = pclose(pipe.release());
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

// Runs the built simulator with a shell command line; standard error is dropped.
inline SimRun RunSimulatorProgram(const std::string& arguments) {
    return RunShellCommand(std::string(ORBISTA_SIM_PATH) + " " + arguments + " 2>/dev/null");
}

}  // namespace orbista

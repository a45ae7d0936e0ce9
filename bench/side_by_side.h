#pragma once

#include <time.h>

namespace orbista {

// The CPU time this thread has used, in seconds.
inline double ThreadSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Adds the thread's CPU time that work takes to seconds. Works that are compared are timed in
// turns, a short batch of each after the other, so that a machine busy with other work slows all
// of them alike and the ratios between them hold within one run.
template <typename Work>
void AddTimeOf(double& seconds, Work work) {
    const double start = ThreadSeconds();
    work();
    seconds += ThreadSeconds() - start;
}

}  // namespace orbista

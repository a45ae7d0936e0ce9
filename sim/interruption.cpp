#include "sim/interruption.h"

#include <signal.h>

#include <atomic>

#include "storage/temporary_file.h"

namespace orbista {

namespace {

// What the first Ctrl+C stops. A signal handler can only reach the program through a global; a
// lock-free atomic is safe to use from one.
std::atomic<ComparisonProgress*> stoppedByInterrupt{nullptr};

void EndOrStop(int signal) {
    if (signal == SIGINT) {
        if (ComparisonProgress* progress = stoppedByInterrupt.exchange(nullptr)) {
            progress->RequestStop();
            return;
        }
    }
    RemoveTemporaryFilesNow();
    ::signal(signal, SIG_DFL);
    ::raise(signal);
}

}  // namespace

void EndCleanlyOnSignals() {
    struct sigaction action {};
    action.sa_handler = EndOrStop;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);
    // A closed pipe is told by the write that meets it (EPIPE), so that the run ends through
    // its own cleaning up rather than at once.
    ::signal(SIGPIPE, SIG_IGN);
}

StopOnInterrupt::StopOnInterrupt(ComparisonProgress& progress) : progress_(progress) {
    stoppedByInterrupt.store(&progress_);
}

StopOnInterrupt::~StopOnInterrupt() {
    stoppedByInterrupt.store(nullptr);
}

bool StopOnInterrupt::Interrupted() const {
    return progress_.StopRequested();
}

}  // namespace orbista

#pragma once

#include "session/comparison.h"

namespace orbista {

// How orbista-sim ends on SIGINT (Ctrl+C) and SIGTERM: its temporary files are removed, and it
// ends as the signal asks (exit status 128 + the signal's number), leaving every file it was
// writing as it stood before the run.
void EndCleanlyOnSignals();

// While one of these lives, the first Ctrl+C asks the comparison to stop instead, so that the
// games finished so far can be told; a second Ctrl+C, or SIGTERM, still ends the program at once.
class StopOnInterrupt {
  public:
    explicit StopOnInterrupt(ComparisonProgress& progress);
    ~StopOnInterrupt();
    StopOnInterrupt(const StopOnInterrupt&) = delete;
    StopOnInterrupt& operator=(const StopOnInterrupt&) = delete;

    // Whether a Ctrl+C came while it lived.
    bool Interrupted() const;

  private:
    ComparisonProgress& progress_;
};

// The exit status of a run that Ctrl+C cut short, as a shell reports one that it ended.
inline constexpr int InterruptedStatus = 130;

}  // namespace orbista

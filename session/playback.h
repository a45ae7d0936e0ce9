#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "model/random.h"

namespace orbista {

// Plays spins by itself, from a spin file or at random, on a worker thread of its own. Every
// cycle runs on the window's thread: the worker hands the number over together with the request
// and blocks until that cycle has finished, then sleeps 5 ms plus the pause, then waits while a
// cycle started by the player is in progress. The window stays usable; cycles never overlap.
class Playback {
  public:
    // Queues a task to run on the window's thread and returns at once.
    using PostToWindow = std::function<void(std::function<void()>)>;
    // On the window's thread: CurrentNumber := number, then the spin cycle.
    using RunCycle = std::function<void(int32_t number)>;

    Playback(std::atomic<int32_t>& spinInProgress, const std::atomic<int32_t>& pauseTenths,
             RandomGenerator& random, PostToWindow post, RunCycle runCycle);
    ~Playback();
    Playback(const Playback&) = delete;
    Playback& operator=(const Playback&) = delete;

    // Plays the first min(spinLimit, spins) numbers of a spin file. Returns false, starting
    // nothing, while another playback runs.
    bool PlayFromFile(std::vector<int32_t> spins, int32_t spinLimit);
    // Plays spinLimit random numbers 0..36 after reseeding the generator from the clock.
    bool EmulateGame(int32_t spinLimit);

    bool Running() const { return running_; }

    // Ends a running playback at once: no spin is handed over after this returns.
    void Stop();

    // Runs on the window's thread when a playback has played its last spin (not after Stop).
    std::function<void()> onFinished;

    // The rest after each cycle, beside the pause (5 ms in the program).
    void SetMinimumRest(std::chrono::milliseconds rest) { minimumRest_ = rest; }

  private:
    struct Shared {
        std::mutex mutex;
        std::condition_variable changed;
        bool stop = false;
        uint64_t cyclesDone = 0;
    };

    bool Start(std::function<bool()> work);
    bool HandOver(int32_t number);
    bool Rest(std::chrono::milliseconds duration);
    bool AfterCycle();
    void Finish();

    std::atomic<int32_t>& spinInProgress_;
    const std::atomic<int32_t>& pauseTenths_;
    RandomGenerator& random_;
    PostToWindow post_;
    RunCycle runCycle_;
    std::shared_ptr<Shared> shared_;
    std::atomic<bool> running_ = false;
    std::chrono::milliseconds minimumRest_{5};
    std::thread worker_;
};

}  // namespace orbista

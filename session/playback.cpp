#include "session/playback.h"

#include <algorithm>

namespace orbista {

namespace {

constexpr std::chrono::milliseconds PollInterval{10};
constexpr std::chrono::milliseconds PauseUnit{100};

}  // namespace

Playback::Playback(std::atomic<int32_t>& spinInProgress, const std::atomic<int32_t>& pauseTenths,
                   RandomGenerator& random, PostToWindow post, RunCycle runCycle)
    : spinInProgress_(spinInProgress),
      pauseTenths_(pauseTenths),
      random_(random),
      post_(std::move(post)),
      runCycle_(std::move(runCycle)) {}

Playback::~Playback() {
    Stop();
}

bool Playback::PlayFromFile(std::vector<int32_t> spins, int32_t spinLimit) {
    const size_t count = static_cast<size_t>(std::clamp<int64_t>(spinLimit, 0, spins.size()));
    spins.resize(count);
    return Start([this, spins = std::move(spins)] {
        for (const int32_t number : spins) {
            spinInProgress_ = 1;
            if (!HandOver(number) || !AfterCycle()) {
                return false;
            }
        }
        return true;
    });
}

bool Playback::EmulateGame(int32_t spinLimit) {
    return Start([this, spinLimit] {
        random_.Randomize();
        for (int32_t i = 0; i < spinLimit; ++i) {
            // Unlike a file, the emulation leaves SpinInProgress to the cycle itself.
            if (!HandOver(random_.Random(37)) || !AfterCycle()) {
                return false;
            }
        }
        return true;
    });
}

bool Playback::Start(std::function<bool()> work) {
    if (running_) {
        return false;
    }
    if (worker_.joinable()) {
        worker_.join();
    }
    shared_ = std::make_shared<Shared>();
    running_ = true;
    worker_ = std::thread([this, work = std::move(work)] {
        const bool playedToTheEnd = work();
        running_ = false;  // before the window hears of it, so it may start the next one at once
        if (playedToTheEnd) {
            Finish();
        }
    });
    return true;
}

bool Playback::HandOver(int32_t number) {
    const std::shared_ptr<Shared> shared = shared_;
    uint64_t before = 0;
    {
        std::lock_guard lock(shared->mutex);
        if (shared->stop) {
            return false;
        }
        before = shared->cyclesDone;
    }
    // The task may run after this playback was stopped (or never, when the window is gone); it
    // holds the shared state and checks the stop flag itself.
    post_([shared, number, runCycle = runCycle_] {
        bool stopped = false;
        {
            std::lock_guard lock(shared->mutex);
            stopped = shared->stop;
        }
        if (!stopped) {
            runCycle(number);
        }
        {
            std::lock_guard lock(shared->mutex);
            ++shared->cyclesDone;
        }
        shared->changed.notify_all();
    });
    std::unique_lock lock(shared->mutex);
    shared->changed.wait(lock, [&] { return shared->stop || shared->cyclesDone > before; });
    return !shared->stop;
}

bool Playback::Rest(std::chrono::milliseconds duration) {
    std::unique_lock lock(shared_->mutex);
    return !shared_->changed.wait_for(lock, duration, [&] { return shared_->stop; });
}

bool Playback::AfterCycle() {
    if (!Rest(minimumRest_ + PauseUnit * std::max(0, pauseTenths_.load()))) {
        return false;
    }
    while (spinInProgress_ == 1) {
        if (!Rest(PollInterval)) {
            return false;
        }
    }
    return true;
}

void Playback::Finish() {
    if (onFinished) {
        post_([shared = shared_, finished = onFinished] {
            bool stopped = false;
            {
                std::lock_guard lock(shared->mutex);
                stopped = shared->stop;
            }
            if (!stopped) {
                finished();
            }
        });
    }
}

void Playback::Stop() {
    if (shared_) {
        {
            std::lock_guard lock(shared_->mutex);
            shared_->stop = true;
        }
        shared_->changed.notify_all();
    }
    if (worker_.joinable()) {
        worker_.join();
    }
    running_ = false;
}

}  // namespace orbista

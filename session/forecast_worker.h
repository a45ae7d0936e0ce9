#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <stop_token>
#include <string>
#include <thread>
#include <vector>

#include "session/forecast.h"

namespace orbista {

// A thread that makes forecasts one after the other, for a game that goes on while they run. It
// takes the newest picture handed to it; a newer one stops the forecast in play at its next
// continuation, so whoever hands the pictures over never waits for a forecast.
class ForecastWorker {
  public:
    // Called on the worker's thread with a partial or the whole forecast of the picture handed
    // over as `generation`, or, without a forecast, with the message of the error that kept it
    // from running. A forecast that was stopped is not delivered whole.
    using Deliver =
        std::function<void(uint64_t generation, const std::shared_ptr<const Forecast>& forecast,
                           const std::string& error)>;

    // partialEvery: how long a forecast runs before it delivers what it has so far, and then
    // between two partial deliveries.
    ForecastWorker(const ForecastOptions& options, std::chrono::milliseconds partialEvery,
                   Deliver deliver);
    // Stops the forecast in play and waits for the thread.
    ~ForecastWorker();
    ForecastWorker(const ForecastWorker&) = delete;
    ForecastWorker& operator=(const ForecastWorker&) = delete;

    // A picture to take the next one into: one a finished or dropped forecast left, whose memory
    // is in use already, or a new one.
    GamePicture SparePicture();
    // The picture to forecast next, in place of any still waiting or in play.
    void Start(uint64_t generation, GamePicture picture);
    // No forecast waits and none goes on.
    void Drop();

  private:
    struct Job {
        Job(uint64_t generation, GamePicture picture)
            : generation(generation), picture(std::move(picture)) {}
        uint64_t generation;
        GamePicture picture;
    };

    void Loop(std::stop_token stop);
    void Run(const Job& job, std::stop_token stop);
    // Under the lock.
    void Keep(GamePicture&& picture);

    const ForecastOptions options_;
    const std::chrono::milliseconds partialEvery_;
    const Deliver deliver_;
    std::mutex mutex_;
    std::condition_variable_any wake_;
    std::optional<Job> pending_;
    std::vector<GamePicture> spares_;
    std::stop_source running_;
    bool closing_ = false;
    std::jthread thread_;  // last: it starts once everything it uses is there
};

}  // namespace orbista

#include "session/forecast_worker.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <vector>

namespace orbista {
namespace {

// A picture handed over while another forecast runs takes its place: the older one is never
// delivered whole, the newest always is.
TEST(ForecastWorker, OnlyTheNewestPictureIsForecastToTheEnd) {
    std::mutex mutex;
    std::condition_variable done;
    std::vector<uint64_t> complete;
    ForecastOptions options;
    options.continuations = 400;
    ForecastWorker worker(options, std::chrono::milliseconds(0),
                          [&](uint64_t generation, const std::shared_ptr<const Forecast>& forecast,
                              const std::string& error) {
                              EXPECT_TRUE(error.empty());
                              const std::lock_guard lock(mutex);
                              if (forecast && forecast->Complete()) {
                                  complete.push_back(generation);
                                  done.notify_one();
                              }
                          });
    HeadlessRun live(1);
    for (uint64_t generation = 1; generation <= 5; ++generation) {
        live.engine.EnterNumber(static_cast<int32_t>(generation));
        GamePicture picture = worker.SparePicture();
        TakePicture(*live.state, live.settings, live.view, picture);
        worker.Start(generation, std::move(picture));
    }
    std::unique_lock lock(mutex);
    ASSERT_TRUE(done.wait_for(lock, std::chrono::seconds(60),
                              [&] { return !complete.empty() && complete.back() == 5; }));
    for (const uint64_t generation : complete) {
        EXPECT_TRUE(generation == 5 || generation == 1) << generation;
    }
}

}  // namespace
}  // namespace orbista

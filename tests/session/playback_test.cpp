#include <gtest/gtest.h>

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

#include "session/playback.h"

namespace orbista {
namespace {

// Stands for the window's thread: runs posted tasks one at a time, in order.
class WindowThread {
  public:
    WindowThread() : thread_([this] { Loop(); }) {}
    ~WindowThread() {
        {
            std::lock_guard lock(mutex_);
            quit_ = true;
        }
        changed_.notify_all();
        thread_.join();
    }
    void Post(std::function<void()> task) {
        {
            std::lock_guard lock(mutex_);
            tasks_.push_back(std::move(task));
        }
        changed_.notify_all();
    }
    // Runs a task on the window's thread and waits for it, as a click would.
    void RunAndWait(std::function<void()> task) {
        std::mutex doneMutex;
        std::condition_variable doneChanged;
        bool done = false;
        Post([&] {
            task();
            std::lock_guard lock(doneMutex);
            done = true;
            doneChanged.notify_all();
        });
        std::unique_lock lock(doneMutex);
        doneChanged.wait(lock, [&] { return done; });
    }

  private:
    void Loop() {
        for (;;) {
            std::function<void()> task;
            {
                std::unique_lock lock(mutex_);
                changed_.wait(lock, [this] { return quit_ || !tasks_.empty(); });
                if (tasks_.empty()) {
                    return;
                }
                task = std::move(tasks_.front());
                tasks_.pop_front();
            }
            task();
        }
    }

    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::function<void()>> tasks_;
    bool quit_ = false;
    std::thread thread_;
};

class PlaybackTest : public ::testing::Test {
  protected:
    PlaybackTest()
        : playback_(
              spinInProgress_, pauseTenths_, random_,
              [this](std::function<void()> task) { window_.Post(std::move(task)); },
              [this](int32_t number) { Cycle(number); }) {
        playback_.SetMinimumRest(std::chrono::milliseconds(0));
        playback_.onFinished = [this] {
            std::lock_guard lock(mutex_);
            ++finished_;
            changed_.notify_all();
        };
        random_.Seed(3);
    }

    // What the spin cycle does to the hand-shake flag; numbers are recorded (window's thread).
    void Cycle(int32_t number) {
        spinInProgress_ = 1;
        std::lock_guard lock(mutex_);
        played_.push_back(number);
        spinInProgress_ = 0;
    }

    void WaitUntilFinished(int times = 1) {
        std::unique_lock lock(mutex_);
        ASSERT_TRUE(
            changed_.wait_for(lock, std::chrono::seconds(20), [&] { return finished_ >= times; }));
    }

    std::vector<int32_t> Played() {
        std::lock_guard lock(mutex_);
        return played_;
    }

    std::atomic<int32_t> spinInProgress_ = 0;
    std::atomic<int32_t> pauseTenths_ = 0;
    RandomGenerator random_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<int32_t> played_;
    int finished_ = 0;
    WindowThread window_;
    Playback playback_;
};

std::vector<int32_t> Numbers(int count) {
    std::vector<int32_t> numbers;
    for (int i = 0; i < count; ++i) {
        numbers.push_back(i % 37);
    }
    return numbers;
}

TEST_F(PlaybackTest, FilePlaysAtMostTheLimitFromItsStartInOrder) {
    ASSERT_TRUE(playback_.PlayFromFile(Numbers(500), 200));
    WaitUntilFinished();
    EXPECT_EQ(Played(), std::vector<int32_t>(Numbers(200)));

    ASSERT_TRUE(playback_.PlayFromFile(Numbers(50), 200));
    WaitUntilFinished(2);
    EXPECT_EQ(Played().size(), 250u);

    ASSERT_TRUE(playback_.PlayFromFile(Numbers(50), 0));
    WaitUntilFinished(3);
    ASSERT_TRUE(playback_.PlayFromFile({}, 200));
    WaitUntilFinished(4);
    EXPECT_EQ(Played().size(), 250u);
}

TEST_F(PlaybackTest, EmulationPlaysTheLimitOfRandomNumbers) {
    ASSERT_TRUE(playback_.EmulateGame(200));
    WaitUntilFinished();
    const auto played = Played();
    ASSERT_EQ(played.size(), 200u);
    for (const int32_t number : played) {
        EXPECT_GE(number, 0);
        EXPECT_LE(number, 36);
    }
}

TEST_F(PlaybackTest, OnlyOnePlaybackRunsAtATime) {
    pauseTenths_ = 1;
    ASSERT_TRUE(playback_.EmulateGame(30));
    EXPECT_FALSE(playback_.PlayFromFile(Numbers(5), 5));
    EXPECT_FALSE(playback_.EmulateGame(5));
    playback_.Stop();
    EXPECT_FALSE(playback_.Running());
    EXPECT_TRUE(playback_.PlayFromFile(Numbers(5), 5));
    WaitUntilFinished();
}

TEST_F(PlaybackTest, StopEndsAtOnceAndFeedsNothingAfterwards) {
    pauseTenths_ = 20;  // two seconds between spins
    ASSERT_TRUE(playback_.PlayFromFile(Numbers(100), 100));
    while (Played().empty()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    const auto started = std::chrono::steady_clock::now();
    playback_.Stop();
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(1));
    const size_t played = Played().size();
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    window_.RunAndWait([] {});
    EXPECT_EQ(Played().size(), played);
    EXPECT_EQ(finished_, 0);
}

TEST_F(PlaybackTest, StopWhileACycleIsQueuedRunsNoFurtherCycle) {
    std::mutex gate;
    gate.lock();  // the window is busy: the handed-over cycle waits in the queue
    window_.Post([&gate] { std::lock_guard wait(gate); });
    ASSERT_TRUE(playback_.PlayFromFile(Numbers(10), 10));
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    std::thread stopper([this] { playback_.Stop(); });
    stopper.join();
    gate.unlock();
    window_.RunAndWait([] {});
    EXPECT_TRUE(Played().empty());
}

TEST_F(PlaybackTest, WaitsWhileThePlayersCycleIsInProgress) {
    playback_.SetMinimumRest(std::chrono::milliseconds(40));
    ASSERT_TRUE(playback_.PlayFromFile(Numbers(3), 3));
    while (Played().empty()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    spinInProgress_ = 1;  // a cycle of the player's runs
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
    EXPECT_EQ(Played().size(), 1u);
    spinInProgress_ = 0;
    WaitUntilFinished();
    EXPECT_EQ(Played().size(), 3u);
}

}  // namespace
}  // namespace orbista

#include "session/forecast_worker.h"

#include "model/errors.h"

namespace orbista {

namespace {

// A few pictures are enough: one in play, one waiting, one being taken.
constexpr size_t SparePictures = 2;

}  // namespace

ForecastWorker::ForecastWorker(const ForecastOptions& options,
                               std::chrono::milliseconds partialEvery, Deliver deliver)
    : options_(options),
      partialEvery_(partialEvery),
      deliver_(std::move(deliver)),
      thread_([this](std::stop_token stop) { Loop(stop); }) {}

ForecastWorker::~ForecastWorker() {
    {
        const std::lock_guard lock(mutex_);
        closing_ = true;
        running_.request_stop();
    }
    thread_.request_stop();
    thread_.join();
}

GamePicture ForecastWorker::SparePicture() {
    const std::lock_guard lock(mutex_);
    if (spares_.empty()) {
        return {};
    }
    GamePicture picture = std::move(spares_.back());
    spares_.pop_back();
    return picture;
}

void ForecastWorker::Start(uint64_t generation, GamePicture picture) {
    {
        const std::lock_guard lock(mutex_);
        if (pending_) {
            Keep(std::move(pending_->picture));
        }
        pending_.emplace(generation, std::move(picture));
        running_.request_stop();
    }
    wake_.notify_one();
}

void ForecastWorker::Drop() {
    const std::lock_guard lock(mutex_);
    if (pending_) {
        Keep(std::move(pending_->picture));
        pending_.reset();
    }
    running_.request_stop();
}

void ForecastWorker::Loop(std::stop_token stop) {
    while (true) {
        std::unique_lock lock(mutex_);
        if (!wake_.wait(lock, stop, [this] { return pending_.has_value(); }) || closing_) {
            return;
        }
        Job job = std::move(*pending_);
        pending_.reset();
        running_ = std::stop_source();
        const std::stop_token jobStop = running_.get_token();
        lock.unlock();
        Run(job, jobStop);
        lock.lock();
        Keep(std::move(job.picture));
        lock.unlock();
    }
}

void ForecastWorker::Keep(GamePicture&& picture) {
    if (spares_.size() < SparePictures) {
        spares_.push_back(std::move(picture));
    }
}

void ForecastWorker::Run(const Job& job, std::stop_token stop) {
    auto lastDelivered = std::chrono::steady_clock::now();
    const auto partial = [&](const Forecast& forecast) {
        const auto now = std::chrono::steady_clock::now();
        if (now - lastDelivered >= partialEvery_) {
            lastDelivered = now;
            deliver_(job.generation, std::make_shared<const Forecast>(forecast), {});
        }
    };
    try {
        auto forecast =
            std::make_shared<const Forecast>(RunForecast(job.picture, options_, stop, partial));
        if (!stop.stop_requested()) {
            deliver_(job.generation, forecast, {});
        }
    } catch (const PlayerError& error) {
        deliver_(job.generation, nullptr, error.what());
    }
}

}  // namespace orbista

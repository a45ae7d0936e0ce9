#include "ui/playback_commands.h"

#include <QAction>
#include <QFile>
#include <QFileDialog>
#include <QMetaObject>

#include "engine/engine.h"
#include "model/errors.h"
#include "storage/spin_file.h"
#include "ui/main_window.h"
#include "ui/pause_dialog.h"

namespace orbista {

namespace {

// Spin files come with any name and extension, so the dialog offers every file.
QString ChooseOpenPath(QWidget* parent) {
    return QFileDialog::getOpenFileName(parent, "Игра из файла");
}

}  // namespace

PlaybackCommands::PlaybackCommands(MainWindow& window, QAction& playFromFile, QAction& emulateGame,
                                   RandomGenerator& random, Playback::RunCycle runCycle)
    : window_(window),
      playFromFile_(playFromFile),
      emulateGame_(emulateGame),
      random_(random),
      runCycle_(std::move(runCycle)),
      chooseOpenPath_(ChooseOpenPath) {
    QObject::connect(&playFromFile_, &QAction::triggered, &window_, [this] { PlayFromFile(); });
    QObject::connect(&emulateGame_, &QAction::triggered, &window_, [this] { EmulateGame(); });
}

PlaybackCommands::~PlaybackCommands() {
    Stop();
}

void PlaybackCommands::PlayFromFile() {
    if (Running() || stopped_) {
        return;
    }
    const QString path = chooseOpenPath_(&window_);
    if (path.isEmpty()) {
        return;
    }
    LoadedSpins spins;
    try {
        spins = ReadSpinFile(std::filesystem::path(QFile::encodeName(path).toStdString()));
    } catch (const FileError& error) {
        window_.ReportError(error.what());
        return;
    }
    if (const std::optional<int32_t> limit = AskForSpinLimit()) {
        Started(Worker().PlayFromFile(std::move(spins.numbers), *limit));
    }
}

void PlaybackCommands::EmulateGame() {
    if (Running() || stopped_) {
        return;
    }
    if (const std::optional<int32_t> limit = AskForSpinLimit()) {
        Started(Worker().EmulateGame(*limit));
    }
}

std::optional<int32_t> PlaybackCommands::AskForSpinLimit() {
    window_.ShowPauseDialog();
    if (stopped_) {
        return std::nullopt;
    }
    try {
        return window_.Number(Setting::PlaybackSpinLimit);
    } catch (const ConversionError& error) {
        window_.ReportError(error.what());
        return std::nullopt;
    }
}

Playback& PlaybackCommands::Worker() {
    if (playback_ == nullptr) {
        // A task the worker posts after the window is gone is dropped with the window's events.
        auto post = [&window = window_](std::function<void()> task) {
            QMetaObject::invokeMethod(&window, std::move(task), Qt::QueuedConnection);
        };
        playback_ =
            std::make_unique<Playback>(window_.GameEngine().State().SpinInProgress,
                                       window_.PauseDialogWindow()->PauseTenthsForPlayback(),
                                       random_, std::move(post), runCycle_);
        playback_->SetMinimumRest(minimumRest_);
        playback_->onFinished = [this] { Finished(); };
    }
    return *playback_;
}

void PlaybackCommands::Started(bool started) {
    if (!started) {
        return;
    }
    playFromFile_.setEnabled(false);
    emulateGame_.setEnabled(false);
}

void PlaybackCommands::Finished() {
    playFromFile_.setEnabled(true);
    emulateGame_.setEnabled(true);
}

void PlaybackCommands::Stop() {
    stopped_ = true;
    if (playback_ != nullptr) {
        playback_->Stop();
    }
}

void PlaybackCommands::SetMinimumRest(std::chrono::milliseconds rest) {
    minimumRest_ = rest;
    if (playback_ != nullptr) {
        playback_->SetMinimumRest(rest);
    }
}

}  // namespace orbista

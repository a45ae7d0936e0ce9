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
                                   QAction& stopGame, RandomGenerator& random,
                                   Playback::RunCycle runCycle)
    : window_(window),
      playFromFile_(playFromFile),
      emulateGame_(emulateGame),
      stopGame_(stopGame),
      random_(random),
      runCycle_(std::move(runCycle)),
      chooseOpenPath_(ChooseOpenPath) {
    QObject::connect(&playFromFile_, &QAction::triggered, &window_, [this] { PlayFromFile(); });
    QObject::connect(&emulateGame_, &QAction::triggered, &window_, [this] { EmulateGame(); });
    // A shortcut of a greyed-out item does nothing, so Escape is free while nothing plays.
    stopGame_.setShortcut(QKeySequence(Qt::Key_Escape));
    stopGame_.setEnabled(false);
    QObject::connect(&stopGame_, &QAction::triggered, &window_, [this] { StopGame(); });
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
    const std::filesystem::path file(QFile::encodeName(path).toStdString());
    LoadedSpins spins;
    try {
        spins = ReadSpinFile(file);
    } catch (const FileError& error) {
        window_.ReportError(error.what());
        return;
    }
    if (spins.truncated) {
        window_.ShowMessageBox(CutSpinFileNote(file));
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
    // The keyboard comes back to the game window, so Escape can stop what starts now; a desktop
    // without a window manager would leave it nowhere.
    window_.activateWindow();
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
    stopGame_.setEnabled(true);
}

void PlaybackCommands::Finished() {
    playFromFile_.setEnabled(true);
    emulateGame_.setEnabled(true);
    stopGame_.setEnabled(false);
}

void PlaybackCommands::StopGame() {
    if (playback_ == nullptr || stopped_) {
        return;
    }
    // The cycles run on this thread, so none is half-way now: the one handed over but not yet
    // begun is dropped, and the worker ends without touching the game again.
    playback_->Stop();
    Finished();
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

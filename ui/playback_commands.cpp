#include "ui/playback_commands.h"

#include <QAction>
#include <QFile>
#include <QFileDialog>
#include <QMetaObject>
#include <algorithm>
#include <utility>

#include "engine/engine.h"
#include "model/errors.h"
#include "storage/permanence.h"
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
    Permanence spins;
    try {
        spins = ReadPermanence(std::filesystem::path(QFile::encodeName(path).toStdString()),
                               LoadedSpinCapacity);
    } catch (const FileError& error) {
        window_.ReportError(error.what());
        return;
    }
    const auto fileSpins = static_cast<int64_t>(spins.spins.size());
    if (const std::optional<int32_t> limit = AskForSpinLimit(PlaybackKind::FromFile, fileSpins)) {
        Started(Worker().PlayFromFile({spins.spins.begin(), spins.spins.end()}, *limit),
                PlaybackKind::FromFile, std::clamp<int64_t>(*limit, 0, fileSpins));
    }
}

void PlaybackCommands::EmulateGame() {
    if (Running() || stopped_) {
        return;
    }
    if (const std::optional<int32_t> limit = AskForSpinLimit(PlaybackKind::Emulation)) {
        Started(Worker().EmulateGame(*limit), PlaybackKind::Emulation,
                std::max<int64_t>(*limit, 0));
    }
}

std::optional<int32_t> PlaybackCommands::AskForSpinLimit(PlaybackKind kind, int64_t fileSpins) {
    PauseDialog& dialog = *window_.PauseDialogWindow();
    const bool accepted = dialog.AskToStart(kind, fileSpins);
    // The keyboard comes back to the game window, so Escape can stop what starts now; a desktop
    // without a window manager would leave it nowhere.
    window_.activateWindow();
    if (!accepted || stopped_) {
        return std::nullopt;
    }
    quietNext_ = dialog.Quiet();
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
        auto runCycle = [this](int32_t number) {
            runCycle_(number);
            Played();
        };
        playback_ =
            std::make_unique<Playback>(window_.GameEngine().State().SpinInProgress,
                                       window_.PauseDialogWindow()->PauseTenthsForPlayback(),
                                       random_, std::move(post), std::move(runCycle));
        playback_->SetMinimumRest(minimumRest_);
        playback_->onFinished = [this] { Finished(); };
    }
    return *playback_;
}

void PlaybackCommands::Started(bool started, PlaybackKind kind, int64_t spins) {
    if (!started) {
        return;
    }
    playFromFile_.setEnabled(false);
    emulateGame_.setEnabled(false);
    stopGame_.setEnabled(true);
    const EngineCounters& counters = window_.GameEngine().Counters();
    run_ = Run{kind, spins, 0, quietNext_, counters.winStops, counters.lossStops};
    window_.ShowPlaybackProgress(QString("Спин 0 из %1").arg(spins));
}

void PlaybackCommands::Played() {
    if (run_) {
        ++run_->played;
        window_.ShowPlaybackProgress(QString("Спин %1 из %2").arg(run_->played).arg(run_->spins));
    }
}

void PlaybackCommands::Finished() {
    Ended(false);
}

void PlaybackCommands::StopGame() {
    if (playback_ == nullptr || stopped_) {
        return;
    }
    // The cycles run on this thread, so none is half-way now: the one handed over but not yet
    // begun is dropped, and the worker ends without touching the game again.
    playback_->Stop();
    Ended(true);
}

void PlaybackCommands::Ended(bool stopped) {
    playFromFile_.setEnabled(true);
    emulateGame_.setEnabled(true);
    stopGame_.setEnabled(false);
    window_.ShowPlaybackProgress(QString());
    const std::optional<Run> run = std::exchange(run_, std::nullopt);
    if (!run || !run->quiet) {
        return;
    }
    const EngineCounters& counters = window_.GameEngine().Counters();
    const QString what = run->kind == PlaybackKind::FromFile ? "Игра из файла" : "Эмуляция";
    const QString played = stopped
                               ? QString("%1 остановлена: %2 из %3.")
                                     .arg(what, CountOfSpins(run->played))
                                     .arg(run->spins)
                               : QString("%1 закончена: %2.").arg(what, CountOfSpins(run->played));
    window_.Tell(QString("%1 Выиграно игр: %2, проиграно: %3.")
                     .arg(played)
                     .arg(counters.winStops - run->winStopsBefore)
                     .arg(counters.lossStops - run->lossStopsBefore));
}

void PlaybackCommands::Stop() {
    stopped_ = true;
    run_.reset();
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

#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "session/playback.h"
#include "ui/pause_dialog.h"

class QAction;
class QWidget;

namespace orbista {

class MainWindow;

// "&Игра из файла" and "Эмуляция игры": the spin file, the pause dialog and the number of spins,
// then a playback whose cycles run on the window's thread exactly like clicks of the number
// buttons. While a playback runs, the two commands that start one are greyed out, so there is
// never more than one, "Остановить игру" (or Escape) is the one that ends it, and the window shows
// how far it has come. A quiet playback (the pause dialog's check box) shows no win or loss
// message and tells at its end how many games it won and lost.
class PlaybackCommands {
  public:
    // The open dialog of "&Игра из файла"; an empty result means the player cancelled.
    using OpenPathChooser = std::function<QString(QWidget* parent)>;

    PlaybackCommands(MainWindow& window, QAction& playFromFile, QAction& emulateGame,
                     QAction& stopGame, RandomGenerator& random, Playback::RunCycle runCycle);
    ~PlaybackCommands();
    PlaybackCommands(const PlaybackCommands&) = delete;
    PlaybackCommands& operator=(const PlaybackCommands&) = delete;

    void SetOpenPathChooser(OpenPathChooser chooser) { chooseOpenPath_ = std::move(chooser); }

    // The chosen spin file is read whole before anything else: a file that cannot be read is
    // reported and neither the dialog nor a playback follows.
    void PlayFromFile();
    void EmulateGame();

    bool Running() const { return playback_ != nullptr && playback_->Running(); }
    // A quiet playback is under way: the win and loss messages are not shown.
    bool Quiet() const { return run_.has_value() && run_->quiet; }
    // "Остановить игру": the running playback ends after the spin in progress; the game keeps
    // every spin played so far, and a new playback may start.
    void StopGame();
    // For good, as the window is closing: no spin is handed over after this returns, and no
    // playback starts any more (not even from a pause dialog that was open at the time).
    void Stop();

    // The rest after each played cycle (5 ms in the program).
    void SetMinimumRest(std::chrono::milliseconds rest);

  private:
    // The playback under way, for its progress and its closing report.
    struct Run {
        PlaybackKind kind;
        int64_t spins = 0;
        int64_t played = 0;
        bool quiet = false;
        int64_t winStopsBefore = 0;
        int64_t lossStopsBefore = 0;
    };

    // The pause dialog, then the number of spins it holds; nothing when the player cancelled or
    // that is no integer (the player has been told).
    std::optional<int32_t> AskForSpinLimit(PlaybackKind kind, int64_t fileSpins = 0);
    Playback& Worker();
    void Started(bool started, PlaybackKind kind, int64_t spins);
    void Played();
    void Finished();
    // The end of a run, played out or stopped: the commands come back and a quiet run reports.
    void Ended(bool stopped);

    MainWindow& window_;
    QAction& playFromFile_;
    QAction& emulateGame_;
    QAction& stopGame_;
    RandomGenerator& random_;
    Playback::RunCycle runCycle_;
    OpenPathChooser chooseOpenPath_;
    std::chrono::milliseconds minimumRest_{5};
    bool stopped_ = false;
    bool quietNext_ = false;
    std::optional<Run> run_;
    // Made at the first start, when the pause dialog it reads the pause from is there.
    std::unique_ptr<Playback> playback_;
};

}  // namespace orbista

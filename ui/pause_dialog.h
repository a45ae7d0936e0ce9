#pragma once

#include <QDialog>
#include <QString>
#include <atomic>
#include <cstdint>

#include "model/settings_model.h"
#include "ui/message_box.h"
#include "ui/setting_controls.h"

class QCheckBox;
class QLabel;
class QLineEdit;

namespace orbista {

// "1 спин", "2 спина", "5 спинов".
QString CountOfSpins(int64_t count);

// What a pause dialog is about to start.
enum class PlaybackKind { FromFile, Emulation };

// Form3: the pace and the length of a playback or an emulation, and whether the win and loss
// messages may stop it. It is created once and hidden between showings, so it offers the values
// last entered. Its two fields belong to the settings model (PlaybackPauseField and
// PlaybackSpinLimit), which also drives its arrows.
class PauseDialog : public QDialog {
    Q_OBJECT

  public:
    // The arrows step the two fields in `settings`, which must outlive the dialog.
    PauseDialog(QWidget* parent, SettingsModel& settings);

    // The two fields, for the settings model to read.
    const SettingControls& Controls() const { return controls_; }

    // The pause between two played spins, in tenths of a second: 0 until "Применить" is first
    // pressed, whatever the field shows.
    int32_t PlaybackPauseTenths() const { return pauseTenths_; }
    // The same value for a playback worker, which reads it while the window may change it.
    const std::atomic<int32_t>& PauseTenthsForPlayback() const { return pauseTenths_; }

    // Shows the dialog modally; returns when it is closed, by "Применить" or by its close box.
    void ShowModal();
    // Shows the dialog for what it is about to start, saying in its caption and at its top how
    // many spins that will be (a spin file's `fileSpins` at most), as the count field changes.
    // True when "Применить" closed it; its close box or Escape cancels.
    bool AskToStart(PlaybackKind kind, int64_t fileSpins = 0);

    // "Не останавливаться на сообщениях о выигрыше и проигрыше": off until the player checks it,
    // then kept for the next showings.
    bool Quiet() const;

    // "Применить": takes the pause from the field and closes. A field that holds no integer is
    // reported, and the dialog stays open with the pause unchanged.
    void Apply();

    void SetMessagePresenter(MessagePresenter presenter) { present_ = std::move(presenter); }

  private:
    void ShowWhatStarts();

    SettingControls controls_;
    QLineEdit* pauseField_;
    QLineEdit* spinLimitField_;
    QLabel* whatStarts_;
    QCheckBox* quiet_;
    PlaybackKind kind_ = PlaybackKind::Emulation;
    int64_t fileSpins_ = 0;
    std::atomic<int32_t> pauseTenths_ = 0;
    bool shownBefore_ = false;
    MessagePresenter present_ = ShowModalMessageBox;
};

}  // namespace orbista

#include "ui/main_window.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "model/decimal.h"
#include "ui/about_dialog.h"
#include "ui/charts_page.h"
#include "ui/keyboard_entry.h"
#include "ui/pause_dialog.h"
#include "ui/playback_commands.h"
#include "ui/qt_text.h"
#include "ui/spin_table.h"
// The window as the engine sees it (MainWindowView): the displays, the recommended numbers, the
// spins, the charts, the messages and the dialogs.
namespace orbista {

QLineEdit& MainWindow::DisplayField(Display display) const {
    return *displays_[IndexOf(display)];
}

void MainWindow::ShowSpinCount(int64_t count) {
    spinCountLabel_->setText(QString::number(count));
}

void MainWindow::ShowStakeLevel(std::string_view text) {
    DisplayField(Display::StakeLevel).setText(QText(text));
}

void MainWindow::ShowTableStake(std::string_view text) {
    DisplayField(Display::TableStake).setText(QText(text));
}

void MainWindow::ShowTotalBalance(int32_t value) {
    DisplayField(Display::TotalBalance).setText(QString::number(value));
}

void MainWindow::ShowGameBalance(int32_t value) {
    DisplayField(Display::GameBalance).setText(QString::number(value));
}

void MainWindow::ShowGameBalanceMin(int32_t value) {
    DisplayField(Display::GameBalanceMin).setText(QString::number(value));
}

void MainWindow::ShowGameBalanceMax(int32_t value) {
    DisplayField(Display::GameBalanceMax).setText(QString::number(value));
}

int32_t MainWindow::ReadBalance(Display display) {
    return ReadFieldNumber(DisplayField(display).text().toStdString(), ControlOf(display),
                           CaptionOf(display));
}

int32_t MainWindow::ReadTotalBalance() {
    return ReadBalance(Display::TotalBalance);
}
int32_t MainWindow::ReadGameBalance() {
    return ReadBalance(Display::GameBalance);
}
int32_t MainWindow::ReadGameBalanceMin() {
    return ReadBalance(Display::GameBalanceMin);
}
int32_t MainWindow::ReadGameBalanceMax() {
    return ReadBalance(Display::GameBalanceMax);
}

void MainWindow::ClearRecommendedNumbers() {
    for (QPushButton* mirror : mirrorButtons_) {
        mirror->setText(QString());
    }
}

void MainWindow::ShowRecommendedNumbers(const StakeArray& stakes) {
    for (int n = 0; n < NumberCount; ++n) {
        if (stakes[n] > 0) {
            mirrorButtons_[n]->setText(QString::number(n));
        }
    }
}

void MainWindow::ShowSpinColumn(const GameState& state) {
    spinTable_->ShowSpinColumn(state);
}

void MainWindow::ClearSpinColumn() {
    spinTable_->ClearSpinColumn();
}

void MainWindow::RebuildCharts() {
    chartsPage_->RebuildCharts();
}

void MainWindow::ShowMessageBox(std::string_view text) {
    // The win and loss messages: a quiet playback counts its games instead, and reports them at
    // its end.
    if (playbacks_ != nullptr && playbacks_->Quiet()) {
        return;
    }
    present_(this, QText(text));
}

void MainWindow::Tell(const QString& text) {
    present_(this, text);
}

void MainWindow::ShowPlaybackProgress(const QString& progress) {
    keyboardEntry_->ShowProgress(progress);
}

void MainWindow::ReportError(std::string_view text) {
    present_(this, QText(text));
}

void MainWindow::ShowPauseDialog() {
    pauseDialog_->ShowModal();
}

void MainWindow::ShowAboutDialog() {
    aboutDialog_->ShowModal();
}

}  // namespace orbista

#include "ui/pause_dialog.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>

#include "model/decimal.h"
#include "model/errors.h"
#include "model/settings_table.h"
#include "ui/fonts.h"
#include "ui/setting_controls.h"

namespace orbista {

namespace {

constexpr QPoint FirstPosition(480, 352);
// The check box stands below the fields and "Применить", which keep their places.
constexpr QSize ClientSize(293, 236);

}  // namespace

QString CountOfSpins(int64_t count) {
    const int64_t lastTwo = count % 100;
    const int64_t last = count % 10;
    const char* word = "спинов";
    if (last == 1 && lastTwo != 11) {
        word = "спин";
    } else if (last >= 2 && last <= 4 && (lastTwo < 12 || lastTwo > 14)) {
        word = "спина";
    }
    return QString("%1 %2").arg(count).arg(word);
}

namespace {

void Caption(Setting setting, QPoint at, QWidget* parent) {
    auto* label = new QLabel(QText(InfoOf(setting).caption), parent);
    label->move(at);
    FitCaption(label, parent->width() - at.x());
}

}  // namespace

PauseDialog::PauseDialog(QWidget* parent, SettingsModel& settings) : QDialog(parent) {
    setObjectName("Form3");
    setWindowTitle("Пауза");
    setFont(WindowFont(11));
    setFixedSize(ClientSize);
    setModal(true);

    whatStarts_ = new QLabel(this);
    whatStarts_->setObjectName("WhatStarts");
    whatStarts_->setGeometry(8, 8, ClientSize.width() - 16, 20);
    whatStarts_->setFont(WindowFont(12, true));

    Caption(Setting::PlaybackPauseField, {8, 32}, this);
    pauseField_ =
        AddSettingField(this, Setting::PlaybackPauseField, {128, 51, 57, 33}, settings, controls_);
    pauseField_->setFont(WindowFont(21));
    QPalette red = pauseField_->palette();
    red.setColor(QPalette::Text, Qt::red);
    pauseField_->setPalette(red);

    Caption(Setting::PlaybackSpinLimit, {16, 96}, this);
    spinLimitField_ =
        AddSettingField(this, Setting::PlaybackSpinLimit, {128, 115, 97, 33}, settings, controls_);
    spinLimitField_->setFont(WindowFont(24));
    connect(spinLimitField_, &QLineEdit::textChanged, this, &PauseDialog::ShowWhatStarts);

    auto* apply = new QPushButton("Применить", this);
    apply->setObjectName("Button1");
    apply->setGeometry(106, 163, 75, 25);
    FitButtonCaption(apply);
    apply->setAutoDefault(false);
    connect(apply, &QPushButton::clicked, this, &PauseDialog::Apply);

    // One caption in two lines: the dialog is too narrow for it in one.
    quiet_ = new QCheckBox("Не останавливаться на сообщениях\nо выигрыше и проигрыше", this);
    quiet_->setObjectName("QuietPlayback");
    quiet_->move(8, 198);
    quiet_->adjustSize();
}

bool PauseDialog::Quiet() const {
    return quiet_->isChecked();
}

bool PauseDialog::AskToStart(PlaybackKind kind, int64_t fileSpins) {
    kind_ = kind;
    fileSpins_ = fileSpins;
    ShowWhatStarts();
    ShowModal();
    return result() == QDialog::Accepted;
}

void PauseDialog::ShowWhatStarts() {
    const QString what = kind_ == PlaybackKind::FromFile ? "Игра из файла" : "Эмуляция";
    bool isNumber = false;
    int64_t count = spinLimitField_->text().toLongLong(&isNumber);
    if (!isNumber) {
        setWindowTitle(what);
        whatStarts_->setText(what);
        return;
    }
    count = std::max<int64_t>(count, 0);
    if (kind_ == PlaybackKind::FromFile) {
        count = std::min(count, fileSpins_);
    }
    const QString text = QString("%1: %2").arg(what, CountOfSpins(count));
    setWindowTitle(text);
    whatStarts_->setText(kind_ == PlaybackKind::FromFile && count < fileSpins_
                             ? QString("%1 (в файле %2)").arg(text).arg(fileSpins_)
                             : text);
}

void PauseDialog::ShowModal() {
    if (!shownBefore_) {
        move(FirstPosition);
        shownBefore_ = true;
    }
    setResult(QDialog::Rejected);
    exec();
}

void PauseDialog::Apply() {
    const SettingInfo& info = InfoOf(Setting::PlaybackPauseField);
    try {
        pauseTenths_ =
            ReadFieldNumber(pauseField_->text().toStdString(), info.control, info.caption);
    } catch (const ConversionError& error) {
        present_(this, QString::fromStdString(error.what()));
        return;
    }
    accept();
}

}  // namespace orbista

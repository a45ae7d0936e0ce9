#include "ui/pause_dialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "model/decimal.h"
#include "model/errors.h"
#include "model/settings_table.h"
#include "ui/fonts.h"
#include "ui/setting_controls.h"

namespace orbista {

namespace {

constexpr QPoint FirstPosition(480, 352);

void Caption(Setting setting, QPoint at, QWidget* parent) {
    auto* label = new QLabel(FromTable(InfoOf(setting).caption), parent);
    label->move(at);
    FitCaption(label, parent->width() - at.x());
}

}  // namespace

PauseDialog::PauseDialog(QWidget* parent, SettingsModel& settings) : QDialog(parent) {
    setObjectName("Form3");
    setWindowTitle("Пауза");
    setFont(WindowFont(11));
    setFixedSize(293, 196);
    setModal(true);

    Caption(Setting::PlaybackPauseField, {8, 32}, this);
    pauseField_ =
        AddSettingField(this, Setting::PlaybackPauseField, {128, 51, 57, 33}, settings, controls_);
    pauseField_->setFont(WindowFont(21));
    QPalette red = pauseField_->palette();
    red.setColor(QPalette::Text, Qt::red);
    pauseField_->setPalette(red);

    Caption(Setting::PlaybackSpinLimit, {16, 96}, this);
    AddSettingField(this, Setting::PlaybackSpinLimit, {128, 115, 97, 33}, settings, controls_)
        ->setFont(WindowFont(24));

    auto* apply = new QPushButton("Применить", this);
    apply->setObjectName("Button1");
    apply->setGeometry(106, 163, 75, 25);
    FitButtonCaption(apply);
    apply->setAutoDefault(false);
    connect(apply, &QPushButton::clicked, this, &PauseDialog::Apply);
}

void PauseDialog::ShowModal() {
    if (!shownBefore_) {
        move(FirstPosition);
        shownBefore_ = true;
    }
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

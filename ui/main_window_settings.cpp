#include "ui/main_window.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <cassert>
#include <stdexcept>

// The window as the settings model: each setting lives in its control, which these take over
// and read at the moment they are asked.
namespace orbista {

namespace {

int SettingIndex(Setting setting) {
    return static_cast<int>(setting);
}

}  // namespace

void MainWindow::ConnectSettingControls(const SettingControls& controls) {
    for (const SettingInfo& info : SettingsTable()) {
        const Setting setting = info.setting;
        if (QLineEdit* field = controls.fields[SettingIndex(setting)]) {
            fields_[SettingIndex(setting)] = field;
            NoteFieldText(setting, field->text().toStdString());
            connect(field, &QLineEdit::textChanged, this, [this, setting](const QString& text) {
                NoteFieldText(setting, text.toStdString());
            });
        }
        if (QCheckBox* box = controls.checkBoxes[SettingIndex(setting)]) {
            checkBoxes_[SettingIndex(setting)] = box;
            box->setChecked(info.defaultValue != 0);
            if (info.seriesChoice) {
                connect(box, &QAbstractButton::clicked, this, [this, box, setting](bool checked) {
                    // The click has already switched the box; the rule wants to see the change.
                    box->setChecked(!checked);
                    SetSeriesChoice(*this, setting, checked);
                });
            }
        }
    }
}

void MainWindow::ConnectSystems() {
    systemGroup_ = new QButtonGroup(this);
    for (QRadioButton* radio : radioButtons_) {
        systemGroup_->addButton(radio);
    }
    SetActiveSystem(DefaultSystem);
}

void MainWindow::CheckEverySettingHasItsControl() const {
    for (const SettingInfo& info : SettingsTable()) {
        // The menu item "Поверх окон" shows StayOnTop.
        const bool shown =
            info.setting == Setting::StayOnTop ||
            (info.kind == SettingKind::Number ? fields_[SettingIndex(info.setting)] != nullptr
                                              : checkBoxes_[SettingIndex(info.setting)] != nullptr);
        if (!shown) {
            throw std::logic_error("the window has no control for " + std::string(info.field));
        }
    }
    for (const QRadioButton* radio : radioButtons_) {
        if (radio == nullptr) {
            throw std::logic_error("the window has no radio button for every system");
        }
    }
}

// Every setting has its control from the start (CheckEverySettingHasItsControl).
QLineEdit& MainWindow::NumericField(Setting setting) const {
    QLineEdit* field = fields_[SettingIndex(setting)];
    assert(field != nullptr);
    return *field;
}

QAbstractButton& MainWindow::CheckBox(Setting setting) const {
    QAbstractButton* box = checkBoxes_[SettingIndex(setting)];
    assert(box != nullptr);
    return *box;
}

std::string MainWindow::Text(Setting setting) const {
    return NumericField(setting).text().toStdString();
}

void MainWindow::SetText(Setting setting, std::string_view text) {
    NumericField(setting).setText(
        QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

bool MainWindow::Flag(Setting setting) const {
    if (setting == Setting::StayOnTop) {
        return stayOnTop_->isChecked();
    }
    return CheckBox(setting).isChecked();
}

void MainWindow::SetFlag(Setting setting, bool on) {
    if (setting == Setting::StayOnTop) {
        // Once on, the window stays on top for the rest of the run.
        if (on) {
            SetStayOnTop();
        }
        return;
    }
    CheckBox(setting).setChecked(on);
}

SelectionSystem MainWindow::ActiveSystem() const {
    int index = 0;
    for (const SystemInfo& info : SystemsTable()) {
        if (radioButtons_[index++]->isChecked()) {
            return info.system;
        }
    }
    return SelectionSystem::None;
}

void MainWindow::SetActiveSystem(SelectionSystem system) {
    int index = 0;
    for (const SystemInfo& info : SystemsTable()) {
        if (info.system == system) {
            radioButtons_[index]->setChecked(true);
            return;
        }
        ++index;
    }
    // No system: an exclusive group never lets its last button go, so lift that for a moment.
    systemGroup_->setExclusive(false);
    for (QRadioButton* radio : radioButtons_) {
        radio->setChecked(false);
    }
    systemGroup_->setExclusive(true);
}

}  // namespace orbista

#include "ui/setting_controls.h"

#include <QCheckBox>
#include <QLineEdit>

#include "ui/up_down.h"

namespace orbista {

void SettingControls::Take(const SettingControls& other) {
    for (int i = 0; i < SettingCount; ++i) {
        if (other.fields[i] != nullptr) {
            fields[i] = other.fields[i];
        }
        if (other.checkBoxes[i] != nullptr) {
            checkBoxes[i] = other.checkBoxes[i];
        }
    }
}

QLineEdit* AddSettingField(QWidget* parent, Setting setting, const QRect& geometry,
                           SettingsModel& settings, SettingControls& controls) {
    const SettingInfo& info = InfoOf(setting);
    auto* field = new QLineEdit(parent);
    field->setObjectName(QText(info.control));
    field->setGeometry(geometry);
    field->setText(QString::number(info.defaultValue));
    auto* arrows = new UpDown(field, QText(info.stepper), parent);
    QObject::connect(arrows, &UpDown::Stepped, arrows, [&settings, setting](int direction) {
        StepSetting(settings, setting, direction);
    });
    controls.fields[static_cast<int>(setting)] = field;
    return field;
}

QCheckBox* AddSettingCheckBox(QWidget* parent, Setting setting, SettingControls& controls) {
    const SettingInfo& info = InfoOf(setting);
    auto* box = new QCheckBox(QText(info.caption), parent);
    box->setObjectName(QText(info.control));
    controls.checkBoxes[static_cast<int>(setting)] = box;
    return box;
}

}  // namespace orbista

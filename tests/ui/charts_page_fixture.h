#pragma once

#include <QCheckBox>
#include <QLineEdit>
#include <QWidget>
#include <cstdint>
#include <memory>
#include <random>

#include "model/game_state.h"
#include "model/settings_model.h"
#include "model/settings_table.h"

namespace orbista {

// The settings of the charts tab read from its controls by object name, as the window does;
// everything else stays in memory.
class ChartsPageSettings : public MemorySettings {
  public:
    void Attach(QWidget* page) { page_ = page; }

    std::string Text(Setting setting) const override {
        if (QLineEdit* field = Field(setting)) {
            return field->text().toStdString();
        }
        return MemorySettings::Text(setting);
    }
    void SetText(Setting setting, std::string_view text) override {
        if (QLineEdit* field = Field(setting)) {
            field->setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
            return;
        }
        MemorySettings::SetText(setting, text);
    }
    // The page's field is read as it stands, not from the integer kept in memory.
    int32_t Number(Setting setting) const override {
        if (Field(setting) != nullptr) {
            return SettingsModel::Number(setting);
        }
        return MemorySettings::Number(setting);
    }
    bool Flag(Setting setting) const override {
        if (QCheckBox* box = Box(setting)) {
            return box->isChecked();
        }
        return MemorySettings::Flag(setting);
    }
    void SetFlag(Setting setting, bool on) override {
        if (QCheckBox* box = Box(setting)) {
            box->setChecked(on);
            return;
        }
        MemorySettings::SetFlag(setting, on);
    }

  private:
    static QString ControlName(Setting setting) {
        const std::string_view name = InfoOf(setting).control;
        return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
    }
    QLineEdit* Field(Setting setting) const {
        return page_ != nullptr && setting == Setting::ChartSpinWindow
                   ? page_->findChild<QLineEdit*>(ControlName(setting))
                   : nullptr;
    }
    QCheckBox* Box(Setting setting) const {
        return page_ != nullptr && setting == Setting::ChartWheelOrder
                   ? page_->findChild<QCheckBox*>(ControlName(setting))
                   : nullptr;
    }

    QWidget* page_ = nullptr;
};

// A game of `count` random spins with a wandering balance and stakes, newest at index 1.
inline std::unique_ptr<GameState> RandomGame(int32_t count, unsigned seed = 7) {
    auto state = std::make_unique<GameState>();
    std::mt19937 random(seed);
    std::uniform_int_distribution<int32_t> number(0, 36);
    std::uniform_int_distribution<int32_t> stake(0, 20);
    const int32_t kept = std::min(count, KeptSpins);
    int32_t balance = 0;
    for (int32_t i = kept; i >= 1; --i) {
        const int32_t spin = number(random);
        const int32_t placed = stake(random);
        balance += spin % 3 == 0 ? 2 * placed : -placed;
        state->SpinHistory[i] = spin;
        state->StakeHistory[i] = placed;
        state->BalanceHistory[i] = balance;
    }
    state->SpinCount = count;
    return state;
}

}  // namespace orbista

#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

#include "model/enum_table.h"

namespace orbista {

// The displays of the bets tab through which the engine shows its results; the four balances
// are read back too, as the player may type into them.
enum class Display {
    SpinCount,
    StakeLevel,
    TableStake,
    TotalBalance,
    GameBalance,
    GameBalanceMin,
    GameBalanceMax,
};
inline constexpr int DisplayCount = 7;

struct DisplayInfo {
    Display display;
    std::string_view control;  // the object name of the window's control
    std::string_view caption;  // the text beside it, which a conversion error names
};

// The one table of the displays' control names and captions, in the order of Display.
inline constexpr std::array<DisplayInfo, DisplayCount> DisplaysTable = {{
    {Display::SpinCount, "Label12", "Сыграно спинов - "},
    {Display::StakeLevel, "Memo1", "Ставка"},
    {Display::TableStake, "Memo12", "Стоит на поле"},
    {Display::TotalBalance, "Memo5", "Суммарный баланс"},
    {Display::GameBalance, "Memo3", "Баланс в этой игре"},
    {Display::GameBalanceMin, "Memo14", "Min"},
    {Display::GameBalanceMax, "Memo15", "Max"},
}};

constexpr std::size_t IndexOf(Display display) {
    return static_cast<std::size_t>(display);
}
constexpr std::string_view ControlOf(Display display) {
    return DisplaysTable[IndexOf(display)].control;
}
constexpr std::string_view CaptionOf(Display display) {
    return DisplaysTable[IndexOf(display)].caption;
}

// The display whose control has this object name, as a script names it.
constexpr std::optional<Display> DisplayByControl(std::string_view control) {
    for (const DisplayInfo& info : DisplaysTable) {
        if (info.control == control) {
            return info.display;
        }
    }
    return std::nullopt;
}

static_assert(ListedInEnumOrder(DisplaysTable, &DisplayInfo::display),
              "DisplaysTable must list the displays in enum order");

}  // namespace orbista

#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "model/display.h"
#include "model/game_state.h"

namespace orbista {

// The operations by which the program's logic shows its results in the main window and reads
// back what the window holds. The logic never touches a control otherwise, so it runs without a
// widget toolkit. Every operation runs on the window's thread.
//
// The four balances live only in the text of their fields; a read takes the first line of the
// field as a decimal integer and throws ConversionError when it is not one.
class MainWindowView {
  public:
    virtual ~MainWindowView() = default;

    virtual void ShowSpinCount(int64_t count) = 0;           // Label12
    virtual void ShowStakeLevel(std::string_view text) = 0;  // Memo1 ("" for empty)
    virtual void ShowTableStake(std::string_view text) = 0;  // Memo12 ("" for empty)
    virtual void ShowTotalBalance(int32_t value) = 0;        // Memo5
    virtual void ShowGameBalance(int32_t value) = 0;         // Memo3
    virtual void ShowGameBalanceMin(int32_t value) = 0;      // Memo14
    virtual void ShowGameBalanceMax(int32_t value) = 0;      // Memo15
    virtual int32_t ReadTotalBalance() = 0;
    virtual int32_t ReadGameBalance() = 0;
    virtual int32_t ReadGameBalanceMin() = 0;
    virtual int32_t ReadGameBalanceMax() = 0;

    // Mirror buttons BitBtn37..BitBtn72 for 1..36 and BitBtn74 for 0.
    virtual void ClearRecommendedNumbers() = 0;
    virtual void ShowRecommendedNumbers(const StakeArray& stakes) = 0;

    // The spin table: rewritten from SpinHistory and SpinCount, or emptied to its header.
    virtual void ShowSpinColumn(const GameState& state) = 0;
    virtual void ClearSpinColumn() = 0;

    virtual void RebuildCharts() = 0;

    // Modal; returns when the player has closed it.
    virtual void ShowMessageBox(std::string_view text) = 0;
    // An error (a conversion or a file error) told to the player; shown as a message box.
    virtual void ReportError(std::string_view text) = 0;

    virtual void ShowPauseDialog() = 0;
    virtual void ShowAboutDialog() = 0;

    // The same from a number. A view that keeps the number beside the text need not make the text
    // until somebody reads it.
    virtual void ShowStakeLevel(int64_t value) { ShowStakeLevel(std::to_string(value)); }
    virtual void ShowTableStake(int64_t value) { ShowTableStake(std::to_string(value)); }
};

inline constexpr std::string_view SpinColumnHeader = "Выпало";

// The text of spin-table row r (1-based) for the current game: four blanks and the number, or
// empty below the shown spins.
std::string SpinColumnText(const GameState& state, int row);

// Index of the mirror button of a number: 37..72 for 1..36, 74 for 0.
constexpr int MirrorButtonIndex(int number) {
    return number == 0 ? 74 : 36 + number;
}

}  // namespace orbista

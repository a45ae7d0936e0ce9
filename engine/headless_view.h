#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "model/main_window_view.h"

namespace orbista {

// The window without a toolkit, for the simulator and the tests. It keeps the text of every field
// as the window would, records the messages instead of waiting, and counts the calls that tests
// look at.
//
// A field shown from an integer keeps that integer beside its text, and makes the text only when
// somebody reads it: the engine shows and reads the balances several times a spin, and a run that
// prints nothing need never turn them into text and back. Typing replaces the text and drops the
// integer, so a read then takes the typed text exactly as the window would.
class HeadlessView : public MainWindowView {
  public:
    static constexpr int SpinTableRows = 1050;

    HeadlessView();

    void ShowSpinCount(int64_t count) override;
    void ShowStakeLevel(std::string_view text) override;
    void ShowTableStake(std::string_view text) override;
    void ShowStakeLevel(int64_t value) override;
    void ShowTableStake(int64_t value) override;
    void ShowTotalBalance(int32_t value) override;
    void ShowGameBalance(int32_t value) override;
    void ShowGameBalanceMin(int32_t value) override;
    void ShowGameBalanceMax(int32_t value) override;
    int32_t ReadTotalBalance() override;
    int32_t ReadGameBalance() override;
    int32_t ReadGameBalanceMin() override;
    int32_t ReadGameBalanceMax() override;
    void ClearRecommendedNumbers() override;
    void ShowRecommendedNumbers(const StakeArray& stakes) override;
    void ShowSpinColumn(const GameState& state) override;
    void ClearSpinColumn() override;
    void RebuildCharts() override { ++rebuildChartsCalls; }
    void ShowMessageBox(std::string_view text) override;
    void ReportError(std::string_view text) override;
    void ShowPauseDialog() override { ++pauseDialogCalls; }
    void ShowAboutDialog() override { ++aboutDialogCalls; }

    // The text of a display, by Display or by the control name of DisplaysTable (empty for a name
    // that is no display's). Typing replaces it as the player would.
    const std::string& Text(std::string_view control) const;
    const std::string& Text(Display display) const;
    void Type(Display display, std::string_view text);
    void Type(std::string_view control, std::string_view text);
    // The display's value as a read would take it; none when its text holds no integer.
    std::optional<int32_t> Number(Display display) const;

    // Caption of the mirror button of a number (empty unless it is recommended).
    std::string MirrorCaption(int number) const {
        return mirrorShown_[number] ? std::to_string(number) : std::string();
    }
    // Column 0 of the spin table; row 0 is the header. The rows are derived from the game state
    // the table was last told about, as the window's table model does, so a spin costs nothing
    // here however long the game.
    std::string SpinRow(int row) const;

    // Messages shown with ShowMessageBox, and errors prefixed with ErrorPrefix, in the order shown.
    static constexpr std::string_view ErrorPrefix = "error:";
    std::vector<std::string> messages;
    // Empties messages. A long run shows a message every few hundred spins: the texts' room is
    // kept for the next ones, so that such a run allocates nothing.
    void ClearMessages();
    int rebuildChartsCalls = 0;
    int pauseDialogCalls = 0;
    int aboutDialogCalls = 0;
    int spinColumnWrites = 0;

  private:
    // The text of a display, or the integer it was last shown from and its text once made.
    struct Field {
        mutable std::string text;
        mutable bool textMade = true;
        std::optional<int32_t> number;
    };

    void ShowNumber(Display display, int64_t value);
    void ShowText(Display display, std::string_view text);
    int32_t ReadBalance(Display display);

    std::string& NewMessage();

    std::array<Field, DisplayCount> fields_;
    std::vector<std::string> spareMessages_;
    std::array<uint8_t, NumberCount> mirrorShown_{};  // 0 or 1, so a whole row is set at once
    const GameState* shownGame_ = nullptr;
};

}  // namespace orbista

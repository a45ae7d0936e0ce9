#pragma once

#include <array>
#include <map>
#include <string>
#include <vector>

#include "model/main_window_view.h"

namespace orbista {

// The window without a toolkit, for the simulator and the tests. It keeps the text of every field
// as the window would, records the messages instead of waiting, and counts the calls that tests
// look at.
class HeadlessView : public MainWindowView {
  public:
    static constexpr int SpinTableRows = 1050;

    HeadlessView();

    void ShowSpinCount(int64_t count) override;
    using MainWindowView::ShowStakeLevel;
    using MainWindowView::ShowTableStake;
    void ShowStakeLevel(std::string_view text) override;
    void ShowTableStake(std::string_view text) override;
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

    // The text of a display, by Display or by the control name of DisplaysTable. Typing replaces
    // it as the player would.
    const std::string& Text(std::string_view control) const;
    const std::string& Text(Display display) const;
    void Type(std::string_view control, std::string text);

    // Caption of the mirror button of a number (empty unless it is recommended).
    const std::string& MirrorCaption(int number) const { return mirror_[number]; }
    // Column 0 of the spin table; row 0 is the header. The rows are derived from the game state
    // the table was last told about, as the window's table model does, so a spin costs nothing
    // here however long the game.
    std::string SpinRow(int row) const;

    // Messages shown with ShowMessageBox, and errors prefixed "error:", in the order shown.
    std::vector<std::string> messages;
    int rebuildChartsCalls = 0;
    int pauseDialogCalls = 0;
    int aboutDialogCalls = 0;
    int spinColumnWrites = 0;

  private:
    std::string& Field(std::string_view control);
    int32_t ReadBalance(Display display);

    std::map<std::string, std::string, std::less<>> fields_;
    std::array<std::string, NumberCount> mirror_;
    const GameState* shownGame_ = nullptr;
};

}  // namespace orbista

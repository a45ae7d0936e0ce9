#include <gtest/gtest.h>

#include "engine/headless_view.h"
#include "model/display.h"
#include "model/errors.h"

namespace orbista {
namespace {

// The tables' order check itself: a row out of its place is caught at compile time.
constexpr std::array<DisplayInfo, 2> Swapped = {{
    {Display::StakeLevel, "", ""},
    {Display::SpinCount, "", ""},
}};
static_assert(!ListedInEnumOrder(Swapped, &DisplayInfo::display));
static_assert(ListedInEnumOrder(DisplaysTable, &DisplayInfo::display));

TEST(Displays, EveryControlNameLeadsBackToItsDisplay) {
    for (const DisplayInfo& info : DisplaysTable) {
        EXPECT_EQ(DisplayByControl(info.control), info.display) << info.control;
    }
    // The name the simulator's scripts type into (set:Memo3=), which must never change.
    EXPECT_EQ(DisplayByControl("Memo3"), Display::GameBalance);
    EXPECT_EQ(DisplayByControl("memo3"), std::nullopt);
    EXPECT_EQ(DisplayByControl("Prefs"), std::nullopt);
}

// A balance that holds no integer is named by its caption, exactly as the player sees it.
TEST(Displays, ABadBalanceIsNamedByItsCaption) {
    const std::pair<Display, const char*> balances[] = {
        {Display::TotalBalance, "Суммарный баланс"},
        {Display::GameBalance, "Баланс в этой игре"},
        {Display::GameBalanceMin, "Min"},
        {Display::GameBalanceMax, "Max"},
    };
    for (const auto& [display, caption] : balances) {
        HeadlessView view;
        view.Type(ControlOf(display), "x1");
        try {
            switch (display) {
                case Display::TotalBalance:
                    view.ReadTotalBalance();
                    break;
                case Display::GameBalance:
                    view.ReadGameBalance();
                    break;
                case Display::GameBalanceMin:
                    view.ReadGameBalanceMin();
                    break;
                default:
                    view.ReadGameBalanceMax();
                    break;
            }
            ADD_FAILURE() << caption << ": no error";
        } catch (const ConversionError& error) {
            EXPECT_EQ(error.Caption(), caption);
            EXPECT_EQ(view.Text(display), "x1");
        }
    }
}

}  // namespace
}  // namespace orbista

#include <gtest/gtest.h>

#include "engine/headless_view.h"
#include "model/errors.h"
#include "model/settings_model.h"

namespace orbista {
namespace {

// A display shown from an integer reads back that integer and prints as plain decimal; typing
// over it drops the integer, so the next read takes the typed text, first line only.
TEST(HeadlessFields, AShownIntegerGivesWayToTypedText) {
    HeadlessView view;
    view.ShowGameBalance(-2147483647 - 1);
    EXPECT_EQ(view.ReadGameBalance(), -2147483647 - 1);
    EXPECT_EQ(view.Text(Display::GameBalance), "-2147483648");

    view.Type(ControlOf(Display::GameBalance), "250\nnot read");
    EXPECT_EQ(view.ReadGameBalance(), 250);
    EXPECT_EQ(view.Text(Display::GameBalance), "250\nnot read")
        << "a read leaves the typed text as it is";
    EXPECT_EQ(view.Number(Display::GameBalance), 250);

    view.Type(Display::GameBalance, "12a");
    EXPECT_EQ(view.Number(Display::GameBalance), std::nullopt);
    EXPECT_THROW(view.ReadGameBalance(), ConversionError);
    EXPECT_THROW(view.ReadGameBalance(), ConversionError) << "a failed read is not remembered";

    view.ShowGameBalance(7);
    EXPECT_EQ(view.ReadGameBalance(), 7);
    EXPECT_EQ(view.Text(Display::GameBalance), "7");
    EXPECT_EQ(view.Text("NoSuchControl"), "");
}

TEST(HeadlessFields, ASpinCountPastTheBalanceRangeStaysExact) {
    HeadlessView view;
    view.ShowSpinCount(2147483648LL);
    EXPECT_EQ(view.Text(Display::SpinCount), "2147483648");
    EXPECT_EQ(view.Number(Display::SpinCount), std::nullopt);
    view.ShowSpinCount(12);
    EXPECT_EQ(view.Text(Display::SpinCount), "12");
}

// Cleared messages lend their room to the next ones; what is recorded is still exactly what was
// shown, in order.
TEST(HeadlessFields, RecycledMessagesHoldOnlyTheirOwnText) {
    HeadlessView view;
    view.ShowMessageBox("a long first message that does not fit in a short string");
    view.ReportError("second");
    view.ClearMessages();
    EXPECT_TRUE(view.messages.empty());
    view.ShowMessageBox("x");
    view.ReportError("y");
    view.ShowMessageBox("z");
    EXPECT_EQ(view.messages, (std::vector<std::string>{"x", "error:y", "z"}));
}

TEST(HeadlessFields, MemorySettingsReadTheIntegerOfTheTextAsSet) {
    MemorySettings settings;
    EXPECT_EQ(settings.Number(Setting::MaxStake), InfoOf(Setting::MaxStake).defaultValue);
    settings.SetText(Setting::MaxStake, "40\n1");
    EXPECT_EQ(settings.Number(Setting::MaxStake), 40);
    settings.SetText(Setting::MaxStake, "4O");
    EXPECT_THROW(settings.Number(Setting::MaxStake), ConversionError);
    EXPECT_EQ(settings.LastNumber(Setting::MaxStake), 40);
    settings.SetNumber(Setting::MaxStake, -3);
    EXPECT_EQ(settings.Number(Setting::MaxStake), -3);
    EXPECT_EQ(settings.Text(Setting::MaxStake), "-3");
}

}  // namespace
}  // namespace orbista

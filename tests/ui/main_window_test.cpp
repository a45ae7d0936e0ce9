#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>
#include <QSet>

#include "storage/settings_file.h"
#include "tests/ui/window_fixture.h"

namespace orbista {
namespace {

TEST_F(WindowTest, EachNumberButtonClickRunsExactlyOneSpinOfItsNumber) {
    ClickNumber(17);
    EXPECT_EQ(state->SpinCount, 1);
    EXPECT_EQ(state->SpinHistory[1], 17);
    EXPECT_EQ(Text(Display::SpinCount), "1");

    ClickNumber(0);
    EXPECT_EQ(state->SpinCount, 2);
    EXPECT_EQ(state->SpinHistory[1], 0);
    EXPECT_EQ(state->SpinHistory[2], 17);

    Click(CancelButton());
    EXPECT_EQ(state->SpinCount, 1);
    EXPECT_EQ(state->SpinHistory[1], 17);
    EXPECT_EQ(state->SpinInProgress, 0);
}

TEST_F(WindowTest, MirrorShowsOnlyTheRecommendedNumbersAndIgnoresClicks) {
    StakeArray stakes{};
    stakes[0] = stakes[5] = stakes[36] = 2;
    window->ShowRecommendedNumbers(StakeArray{});
    window->ClearRecommendedNumbers();
    window->ShowRecommendedNumbers(stakes);
    for (int n = 0; n <= 36; ++n) {
        const QString expected = stakes[n] > 0 ? QString::number(n) : QString();
        EXPECT_EQ(MirrorButton(n)->text(), expected) << n;
    }
    // All stakes at 0 changes no caption.
    window->ShowRecommendedNumbers(StakeArray{});
    EXPECT_EQ(MirrorButton(5)->text(), "5");

    Click(MirrorButton(5));
    Click(MirrorButton(0));
    EXPECT_EQ(state->SpinCount, 0);
}

TEST_F(WindowTest, NumbersAreColouredAsOnTheTableInBothBlocks) {
    const auto colour = [](QWidget* button) {
        return button->palette().color(QPalette::ButtonText);
    };
    const QColor black = window->palette().color(QPalette::WindowText);
    // The red numbers of the single-zero table.
    const QSet<int> red = {1, 3, 5, 7, 9, 12, 14, 16, 18, 19, 21, 23, 25, 27, 30, 32, 34, 36};
    for (int n = 1; n <= 36; ++n) {
        const QColor expected = red.contains(n) ? QColor(Qt::red) : black;
        EXPECT_EQ(colour(NumberButton(n)), expected) << n;
        EXPECT_EQ(colour(MirrorButton(n)), expected) << n;
        EXPECT_EQ(NumberButton(n)->text(), QString::number(n));
    }
    EXPECT_EQ(colour(NumberButton(0)), QColor(0, 0x80, 0));
    EXPECT_EQ(colour(MirrorButton(0)), QColor(0, 0x80, 0));
}

TEST_F(WindowTest, BalanceTypedIntoItsFieldIsTakenUpByTheNextSpin) {
    ClickNumber(17);
    // With the fixture's seed one unit stands on the table after the first spin, none on 4.
    ASSERT_EQ(PlacedStakes(*state), 1);
    ASSERT_EQ(state->Stakes[4], 0);
    Type(Field(Display::GameBalance), "250");
    EXPECT_EQ(window->ReadGameBalance(), 250);

    ClickNumber(4);  // the typed 250, less the lost unit
    EXPECT_EQ(state->BalanceHistory[1], 249);
    EXPECT_EQ(Text(Display::GameBalance), "249");
}

TEST_F(WindowTest, TextThatIsNoNumberIsReportedAndNothingIsEntered) {
    Type(Field(Display::GameBalance), "abc");
    ClickNumber(17);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages[0].contains("abc"));
    EXPECT_TRUE(messages[0].contains("Баланс в этой игре"));
    EXPECT_EQ(state->SpinCount, 0);
    EXPECT_EQ(Text(Display::SpinCount), "0");
    EXPECT_EQ(window->SpinColumn()->Model().CellText(1, 0), "");
    EXPECT_EQ(state->SpinInProgress, 0);
    EXPECT_EQ(Text(Display::GameBalance), "abc");

    Type(Field(Display::GameBalance), "0");
    const int32_t count = state->SpinCount;
    ClickNumber(5);
    EXPECT_EQ(messages.size(), 1u);
    EXPECT_EQ(state->SpinCount, count + 1);
}

TEST_F(WindowTest, StartsWithTheDefaultsOfAFreshInstallation) {
    EXPECT_EQ(Text(Display::SpinCount), "0");
    EXPECT_EQ(Text(Display::StakeLevel), "");
    for (const Display zero : {Display::GameBalance, Display::TotalBalance, Display::TableStake,
                               Display::GameBalanceMin, Display::GameBalanceMax}) {
        EXPECT_EQ(Text(zero), "0") << CaptionOf(zero);
    }
    for (int n = 0; n <= 36; ++n) {
        EXPECT_EQ(MirrorButton(n)->text(), "");
    }
    // Every stored setting reads as in a window that never saw a settings file.
    const MemorySettings defaults;
    EXPECT_EQ(CaptureRows(*window), CaptureRows(defaults));
    EXPECT_EQ(window->ActiveSystem(), SelectionSystem::WithSelection);
    EXPECT_FALSE(window->Flag(Setting::StayOnTop));
    EXPECT_EQ(window->Number(Setting::ChartSpinWindow), 0);
    EXPECT_EQ(window->Number(Setting::PlaybackPauseField), 5);
    EXPECT_EQ(window->Number(Setting::PlaybackSpinLimit), 200);
}

TEST_F(WindowTest, SettingsModelReadsAndWritesTheControlsThatShowEachSetting) {
    for (const SettingInfo& info : SettingsTable()) {
        if (info.setting == Setting::StayOnTop) {
            continue;
        }
        if (info.kind == SettingKind::Number) {
            auto* field = Field(info.setting);
            ASSERT_NE(field, nullptr) << info.field;
            window->SetText(info.setting, "12000");
            EXPECT_EQ(field->text(), "12000") << info.field;
            field->setText("7\n8");
            EXPECT_EQ(window->Number(info.setting), 7) << info.field;
        } else {
            auto* box = Field<QCheckBox>(info.setting);
            ASSERT_NE(box, nullptr) << info.field;
            window->SetFlag(info.setting, !box->isChecked());
            EXPECT_EQ(window->Flag(info.setting), box->isChecked()) << info.field;
            box->toggle();
            EXPECT_EQ(window->Flag(info.setting), box->isChecked()) << info.field;
        }
    }
    // The stake display of the main window and the pause field share a name, not a value.
    EXPECT_NE(Text(Display::StakeLevel), "7");
}

TEST_F(WindowTest, RadioButtonsFormOneGroupThatCanAlsoStandEmpty) {
    Click(SystemButton(SelectionSystem::Sectors));
    EXPECT_EQ(window->ActiveSystem(), SelectionSystem::Sectors);
    EXPECT_FALSE(SystemButton(SelectionSystem::WithSelection)->isChecked());

    window->SetActiveSystem(SelectionSystem::None);
    EXPECT_EQ(window->ActiveSystem(), SelectionSystem::None);
    for (const SystemInfo& info : SystemsTable()) {
        EXPECT_FALSE(SystemButton(info.system)->isChecked()) << info.field;
    }
    Click(SystemButton(SelectionSystem::Chaos));
    EXPECT_EQ(window->ActiveSystem(), SelectionSystem::Chaos);
    window->SetActiveSystem(SelectionSystem::Gizmo);
    EXPECT_EQ(window->ActiveSystem(), SelectionSystem::Gizmo);
    EXPECT_FALSE(SystemButton(SelectionSystem::Chaos)->isChecked());
}

TEST_F(WindowTest, ArrowsStepWithinBoundsAndKeepTheCoveredAndProcessedCountsInOrder) {
    auto* maxProcessed = Field(Setting::MaxProcessedCount);
    auto* minCovered = Field(Setting::MinCoveredCount);
    maxProcessed->setText("5");
    minCovered->setText("5");
    Step(Arrows(Setting::MaxProcessedCount), -1);
    EXPECT_EQ(maxProcessed->text(), "4");
    EXPECT_EQ(minCovered->text(), "4");

    maxProcessed->setText("24");
    minCovered->setText("24");
    Step(Arrows(Setting::MinCoveredCount), +1);
    EXPECT_EQ(minCovered->text(), "25");
    EXPECT_EQ(maxProcessed->text(), "25");

    // Typed text beyond the arrows' range is kept; the arrows clamp only their own steps.
    auto* winTarget = Field(Setting::WinTarget);
    Type(winTarget, "12000");
    EXPECT_EQ(window->Number(Setting::WinTarget), 12000);
    Step(Arrows(Setting::WinTarget), +1);
    EXPECT_EQ(winTarget->text(), "10000");
    Field(Setting::MaxStake)->setText("100");
    Step(Arrows(Setting::MaxStake), +1);
    EXPECT_EQ(Field(Setting::MaxStake)->text(), "100");

    // The pause dialog's spin count steps by 20.
    Step(Arrows(Setting::PlaybackSpinLimit), +1);
    EXPECT_EQ(Field(Setting::PlaybackSpinLimit)->text(), "220");
}

TEST_F(WindowTest, ArrowsOnAFieldWithoutANumberGoOnFromTheLastNumberItShowed) {
    auto* winTarget = Field(Setting::WinTarget);
    Type(winTarget, "60");
    Type(winTarget, "abc");
    Step(Arrows(Setting::WinTarget), +1);
    EXPECT_EQ(winTarget->text(), "61");
    Type(winTarget, "");
    Step(Arrows(Setting::WinTarget), -1);
    EXPECT_EQ(winTarget->text(), "60");
}

TEST_F(WindowTest, TheTwoSeriesBoxesNeverStandOnTogether) {
    auto* corrected = Field<QCheckBox>(Setting::UseCorrectedSeries);
    auto* drawn = Field<QCheckBox>(Setting::UseDrawnSeries);
    ASSERT_TRUE(corrected->isChecked());
    Click(drawn);
    EXPECT_TRUE(drawn->isChecked());
    EXPECT_FALSE(corrected->isChecked());
    Click(corrected);
    EXPECT_TRUE(corrected->isChecked());
    EXPECT_FALSE(drawn->isChecked());
    Click(corrected);
    EXPECT_FALSE(corrected->isChecked());
    EXPECT_FALSE(drawn->isChecked());
}

TEST_F(WindowTest, StayOnTopStaysCheckedAndKeepsTheWindowWhereItWas) {
    QAction* item = MenuItem("Поверх окон");
    ASSERT_NE(item, nullptr);
    const QPoint at = window->pos();
    item->trigger();
    item->trigger();
    EXPECT_TRUE(item->isChecked());
    EXPECT_TRUE(window->Flag(Setting::StayOnTop));
    EXPECT_TRUE(window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->pos(), at);
}

TEST_F(WindowTest, NewGameFromTheMenuEmptiesTheGame) {
    ClickNumber(3);
    ClickNumber(9);
    MenuItem("Новая игра")->trigger();
    EXPECT_EQ(state->SpinCount, 0);
    EXPECT_EQ(Text(Display::SpinCount), "0");
    EXPECT_EQ(window->SpinColumn()->Model().CellText(1, 0), "");
}

TEST_F(WindowTest, SaveSpinsWritesTheChosenFileOrReportsWhyItCannot) {
    for (const int number : {7, 0, 32}) {
        ClickNumber(number);
    }
    window->SetSavePathChooser(
        [this](QWidget*) { return QString::fromStdString((folder.Path() / "game").string()); });
    QTest::keySequence(window.get(), QKeySequence("Ctrl+S"));
    EXPECT_EQ(folder.Read("game.txt"), "7  0  32");
    EXPECT_TRUE(messages.empty());

    window->SetSavePathChooser([this](QWidget*) {
        return QString::fromStdString((folder.Path() / "missing" / "game").string());
    });
    window->SaveSpinsAs();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages[0].contains("game.txt"));

    window->SetSavePathChooser([](QWidget*) { return QString(); });
    window->SaveSpinsAs();
    EXPECT_EQ(messages.size(), 1u);
}

TEST_F(WindowTest, ChangingTabsRebuildsTheChartsAndReportsABadSpinWindow) {
    auto* spinWindow = Field(Setting::ChartSpinWindow);
    ASSERT_NE(spinWindow, nullptr);
    spinWindow->setText("x");
    window->PageControl1()->setCurrentIndex(1);
    window->PageControl1()->setCurrentIndex(0);
    // Each change of tab rebuilds, and each rebuild finds the field still wrong.
    EXPECT_EQ(messages.size(), 2u);

    spinWindow->setText("0");
    Step(Arrows(Setting::ChartSpinWindow), +1);
    EXPECT_EQ(spinWindow->text(), "1");
}

}  // namespace
}  // namespace orbista

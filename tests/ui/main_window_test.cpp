#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>

#include "storage/settings_file.h"
#include "tests/ui/window_fixture.h"

namespace orbista {
namespace {

TEST_F(WindowTest, EachNumberButtonClickRunsExactlyOneSpinOfItsNumber) {
    ClickNumber(17);
    EXPECT_EQ(state->SpinCount, 1);
    EXPECT_EQ(state->SpinHistory[1], 17);
    EXPECT_EQ(Control<QLabel>("Label12")->text(), "1");

    ClickNumber(0);
    EXPECT_EQ(state->SpinCount, 2);
    EXPECT_EQ(state->SpinHistory[1], 0);
    EXPECT_EQ(state->SpinHistory[2], 17);

    Click(Control("BitBtn75"));
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
        const QString name = QString("BitBtn%1").arg(MirrorButtonIndex(n));
        const QString expected = stakes[n] > 0 ? QString::number(n) : QString();
        EXPECT_EQ(Control<QPushButton>(qPrintable(name))->text(), expected) << n;
    }
    // All stakes at 0 changes no caption.
    window->ShowRecommendedNumbers(StakeArray{});
    EXPECT_EQ(Control<QPushButton>("BitBtn41")->text(), "5");

    Click(Control("BitBtn41"));
    Click(Control("BitBtn74"));
    EXPECT_EQ(state->SpinCount, 0);
}

TEST_F(WindowTest, NumbersAreColouredAsOnTheTableInBothBlocks) {
    const auto colour = [this](int index) {
        return Control(qPrintable(QString("BitBtn%1").arg(index)))
            ->palette()
            .color(QPalette::ButtonText);
    };
    const QColor black = window->palette().color(QPalette::WindowText);
    for (int n = 1; n <= 36; ++n) {
        const QColor expected = IsRed(n) ? QColor(Qt::red) : black;
        EXPECT_EQ(colour(n), expected) << n;
        EXPECT_EQ(colour(MirrorButtonIndex(n)), expected) << n;
        EXPECT_EQ(Control<QPushButton>(qPrintable(QString("BitBtn%1").arg(n)))->text(),
                  QString::number(n));
    }
    EXPECT_EQ(colour(73), QColor(0, 0x80, 0));
    EXPECT_EQ(colour(74), QColor(0, 0x80, 0));
}

TEST_F(WindowTest, BalanceTypedIntoItsFieldIsTakenUpByTheNextSpin) {
    ClickNumber(17);
    const int32_t placed = PlacedStakes(*state);
    const int32_t onFour = state->Stakes[4];
    Type(Control<QLineEdit>("Memo3"), "250");
    EXPECT_EQ(window->ReadGameBalance(), 250);

    ClickNumber(4);
    const int32_t expected = 250 - placed + 36 * onFour;
    EXPECT_EQ(state->BalanceHistory[1], expected);
    EXPECT_EQ(Text("Memo3"), QString::number(expected));
}

TEST_F(WindowTest, TextThatIsNoNumberIsReportedAndNothingIsEntered) {
    Type(Control<QLineEdit>("Memo3"), "abc");
    ClickNumber(17);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages[0].contains("abc"));
    EXPECT_TRUE(messages[0].contains("Баланс в этой игре"));
    EXPECT_EQ(state->SpinCount, 0);
    EXPECT_EQ(Control<QLabel>("Label12")->text(), "0");
    EXPECT_EQ(window->SpinColumn()->Model().CellText(1, 0), "");
    EXPECT_EQ(state->SpinInProgress, 0);
    EXPECT_EQ(Text("Memo3"), "abc");

    Type(Control<QLineEdit>("Memo3"), "0");
    const int32_t count = state->SpinCount;
    ClickNumber(5);
    EXPECT_EQ(messages.size(), 1u);
    EXPECT_EQ(state->SpinCount, count + 1);
}

TEST_F(WindowTest, StartsWithTheDefaultsOfAFreshInstallation) {
    EXPECT_EQ(Control<QLabel>("Label12")->text(), "0");
    EXPECT_EQ(Text("Memo1"), "");
    for (const char* zero : {"Memo3", "Memo5", "Memo12", "Memo14", "Memo15"}) {
        EXPECT_EQ(Text(zero), "0") << zero;
    }
    for (int n = 0; n <= 36; ++n) {
        EXPECT_EQ(
            Control<QPushButton>(qPrintable(QString("BitBtn%1").arg(MirrorButtonIndex(n))))->text(),
            "");
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
        const bool onPauseDialog = info.setting == Setting::PlaybackPauseField ||
                                   info.setting == Setting::PlaybackSpinLimit;
        QObject* root = onPauseDialog ? static_cast<QObject*>(window->PauseDialogWindow())
                                      : window->PageControl1();
        const QString name = QString::fromUtf8(info.control.data(), info.control.size());
        if (info.setting == Setting::StayOnTop) {
            continue;
        }
        if (info.kind == SettingKind::Number) {
            auto* field = root->findChild<QLineEdit*>(name);
            ASSERT_NE(field, nullptr) << info.field;
            window->SetText(info.setting, "12000");
            EXPECT_EQ(field->text(), "12000") << info.field;
            field->setText("7\n8");
            EXPECT_EQ(window->Number(info.setting), 7) << info.field;
        } else {
            auto* box = root->findChild<QCheckBox*>(name);
            ASSERT_NE(box, nullptr) << info.field;
            window->SetFlag(info.setting, !box->isChecked());
            EXPECT_EQ(window->Flag(info.setting), box->isChecked()) << info.field;
            box->toggle();
            EXPECT_EQ(window->Flag(info.setting), box->isChecked()) << info.field;
        }
    }
    // The stake display of the main window and the pause field share a name, not a value.
    EXPECT_NE(Text("Memo1"), "7");
}

TEST_F(WindowTest, RadioButtonsFormOneGroupThatCanAlsoStandEmpty) {
    Click(Control("RadioButton3"));
    EXPECT_EQ(window->ActiveSystem(), SelectionSystem::Sectors);
    EXPECT_FALSE(Control<QRadioButton>("RadioButton1")->isChecked());

    window->SetActiveSystem(SelectionSystem::None);
    EXPECT_EQ(window->ActiveSystem(), SelectionSystem::None);
    for (const SystemInfo& info : SystemsTable()) {
        EXPECT_FALSE(Control<QRadioButton>(info.radio.data())->isChecked()) << info.field;
    }
    Click(Control("RadioButton10"));
    EXPECT_EQ(window->ActiveSystem(), SelectionSystem::Chaos);
    window->SetActiveSystem(SelectionSystem::Gizmo);
    EXPECT_EQ(window->ActiveSystem(), SelectionSystem::Gizmo);
    EXPECT_FALSE(Control<QRadioButton>("RadioButton10")->isChecked());
}

TEST_F(WindowTest, ArrowsStepWithinBoundsAndKeepTheCoveredAndProcessedCountsInOrder) {
    auto* maxProcessed = Control<QLineEdit>("Memo6");
    auto* minCovered = Control<QLineEdit>("Memo7");
    maxProcessed->setText("5");
    minCovered->setText("5");
    Step(Control("UpDown2"), -1);
    EXPECT_EQ(maxProcessed->text(), "4");
    EXPECT_EQ(minCovered->text(), "4");

    maxProcessed->setText("24");
    minCovered->setText("24");
    Step(Control("UpDown3"), +1);
    EXPECT_EQ(minCovered->text(), "25");
    EXPECT_EQ(maxProcessed->text(), "25");

    // Typed text beyond the arrows' range is kept; the arrows clamp only their own steps.
    auto* winTarget = Control<QLineEdit>("Memo9");
    Type(winTarget, "12000");
    EXPECT_EQ(window->Number(Setting::WinTarget), 12000);
    Step(Control("UpDown6"), +1);
    EXPECT_EQ(winTarget->text(), "10000");
    Control<QLineEdit>("Memo4")->setText("100");
    Step(Control("UpDown4"), +1);
    EXPECT_EQ(Text("Memo4"), "100");

    // The pause dialog's spin count steps by 20.
    Step(PauseControl("UpDown2"), +1);
    EXPECT_EQ(PauseControl<QLineEdit>("Memo2")->text(), "220");
}

TEST_F(WindowTest, ArrowsOnAFieldWithoutANumberGoOnFromTheLastNumberItShowed) {
    auto* winTarget = Control<QLineEdit>("Memo9");
    Type(winTarget, "60");
    Type(winTarget, "abc");
    Step(Control("UpDown6"), +1);
    EXPECT_EQ(winTarget->text(), "61");
    Type(winTarget, "");
    Step(Control("UpDown6"), -1);
    EXPECT_EQ(winTarget->text(), "60");
}

TEST_F(WindowTest, TheTwoSeriesBoxesNeverStandOnTogether) {
    auto* corrected = Control<QCheckBox>("CheckBox4");
    auto* drawn = Control<QCheckBox>("CheckBox5");
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
    QAction* item = window->findChild<QAction*>("N6");
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
    window->findChild<QAction*>("N7")->trigger();
    EXPECT_EQ(state->SpinCount, 0);
    EXPECT_EQ(Control<QLabel>("Label12")->text(), "0");
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
    auto* spinWindow = window->Charts()->findChild<QLineEdit*>("Memo21");
    ASSERT_NE(spinWindow, nullptr);
    spinWindow->setText("x");
    window->PageControl1()->setCurrentIndex(1);
    window->PageControl1()->setCurrentIndex(0);
    // Each change of tab rebuilds, and each rebuild finds the field still wrong.
    EXPECT_EQ(messages.size(), 2u);

    spinWindow->setText("0");
    Step(window->Charts()->findChild<QWidget*>("UpDown14"), +1);
    EXPECT_EQ(spinWindow->text(), "1");
}

}  // namespace
}  // namespace orbista

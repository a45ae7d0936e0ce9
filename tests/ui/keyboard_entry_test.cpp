#include <QApplication>
#include <QLineEdit>
#include <QScrollBar>
#include <QTabBar>

#include "tests/ui/window_fixture.h"
#include "ui/keyboard_entry.h"

namespace orbista {
namespace {

// The "Окно ставок" tab played from the keyboard of the real, active window.
class KeyboardEntryTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        window->SetActiveSystem(SelectionSystem::StatisticsOnly);
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        entry = Control<KeyboardEntry>("KeyboardEntry");
        ASSERT_NE(entry, nullptr);
    }

    // Keys go where the keyboard is, as the player's do.
    static void Keys(const QString& text) { QTest::keyClicks(QApplication::focusWidget(), text); }
    static void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
    }

    KeyboardEntry* entry = nullptr;
};

TEST_F(KeyboardEntryTest, TheEntryHasTheKeyboardFromTheStart) {
    EXPECT_EQ(QApplication::focusWidget(), entry);
}

TEST_F(KeyboardEntryTest, DigitsAndEnterEnterTheNumberAsItsButtonWould) {
    Keys("17");
    EXPECT_EQ(entry->Typed(), "17");
    EXPECT_TRUE(entry->text().contains("17"));
    EXPECT_EQ(state->SpinCount, 0);
    Key(Qt::Key_Return);
    ASSERT_EQ(state->SpinCount, 1);
    EXPECT_EQ(state->SpinHistory[1], 17);
    EXPECT_TRUE(entry->Typed().isEmpty());

    Keys("0");
    Key(Qt::Key_Enter, Qt::KeypadModifier);
    Keys("36\r");
    ASSERT_EQ(state->SpinCount, 3);
    EXPECT_EQ(state->SpinHistory[2], 0);
    EXPECT_EQ(state->SpinHistory[1], 36);
    EXPECT_TRUE(messages.empty());
}

TEST_F(KeyboardEntryTest, ANumberThatDoesNotExistIsAHintNeverASpin) {
    Keys("37\r");
    EXPECT_EQ(state->SpinCount, 0);
    EXPECT_TRUE(entry->ShowsHint());
    EXPECT_TRUE(entry->text().contains("37")) << entry->text().toStdString();
    // A third digit makes the whole entry wrong: Enter enters nothing, and says so.
    Keys("123");
    EXPECT_EQ(entry->text(), "Не больше двух цифр: 123");
    Key(Qt::Key_Return);
    EXPECT_EQ(state->SpinCount, 0);
    EXPECT_EQ(entry->text(), "Не введено: 123 — не больше двух цифр");
    // Erasing the third digit leaves a number that can be entered.
    Keys("123");
    Key(Qt::Key_Backspace);
    Key(Qt::Key_Return);
    EXPECT_EQ(state->SpinCount, 1);
    EXPECT_EQ(state->SpinHistory[1], 12);
    // Enter with nothing typed enters nothing; letters are no digits.
    Keys("ab\r");
    EXPECT_EQ(state->SpinCount, 1);
    EXPECT_TRUE(messages.empty());
}

TEST_F(KeyboardEntryTest, BackspaceErasesADigitOrCancelsTheLastSpinAsDoesCtrlZ) {
    Keys("5\r9\r");
    ASSERT_EQ(state->SpinCount, 2);
    Keys("2");
    Key(Qt::Key_Backspace);
    EXPECT_TRUE(entry->Typed().isEmpty());
    EXPECT_EQ(state->SpinCount, 2);
    Key(Qt::Key_Backspace);
    EXPECT_EQ(state->SpinCount, 1);
    EXPECT_EQ(state->SpinHistory[1], 5);
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(state->SpinCount, 0);
    // Escape takes back what is typed and nothing more.
    Keys("3");
    Key(Qt::Key_Escape);
    EXPECT_TRUE(entry->Typed().isEmpty());
    Key(Qt::Key_Return);
    EXPECT_EQ(state->SpinCount, 0);
}

TEST_F(KeyboardEntryTest, AButtonClickHandsTheKeyboardBackButABalanceFieldKeepsIt) {
    QLineEdit* balance = Field(Display::GameBalance);
    Click(balance);
    ASSERT_EQ(QApplication::focusWidget(), balance);
    Keys("7");
    EXPECT_EQ(balance->text(), "07");  // the field's "0" and the typed 7: the player's own edit
    balance->setText("0");

    ClickNumber(8);
    EXPECT_EQ(state->SpinCount, 1);
    EXPECT_EQ(QApplication::focusWidget(), entry);
    Keys("9");
    EXPECT_EQ(balance->text(), "0");
    EXPECT_EQ(entry->Typed(), "9");

    // A click on the bare tab, or coming back to the tab, does the same.
    Click(balance);
    QTest::mouseClick(window->PageControl1()->widget(0), Qt::LeftButton, {}, QPoint(200, 450));
    EXPECT_EQ(QApplication::focusWidget(), entry);
    window->PageControl1()->setCurrentIndex(1);
    window->PageControl1()->setCurrentIndex(0);
    EXPECT_EQ(QApplication::focusWidget(), entry);
}

TEST_F(KeyboardEntryTest, NoClickOnTheTabLosesATypedSpinAndTheNewestSpinIsInView) {
    ClickNumber(3);
    ClickNumber(2);
    SpinTable* table = window->SpinColumn();
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {},
                      table->visualRect(table->model()->index(2, 1)).center());
    Keys("7\r");
    Keys("123\r");
    // The arrow at the foot of the scroll bar.
    QScrollBar* bar = table->verticalScrollBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() / 2, bar->height() - 4));
    EXPECT_GT(bar->value(), 0);
    Keys("5\r");
    ASSERT_EQ(state->SpinCount, 4);
    EXPECT_EQ(state->SpinHistory[1], 5);
    EXPECT_EQ(state->SpinHistory[2], 7);
    EXPECT_EQ(bar->value(), 0);

    // A key that some other control of the window lets pass reaches the entry too.
    window->PageControl1()->tabBar()->setFocus();
    Keys("9\r");
    EXPECT_EQ(state->SpinHistory[1], 9);
    bar->setValue(20);
    Key(Qt::Key_Backspace);
    EXPECT_EQ(state->SpinCount, 4);
    EXPECT_EQ(bar->value(), 0);
}

}  // namespace
}  // namespace orbista

namespace orbista {
namespace {

TEST_F(WindowTest, TheMirrorIsADisplayNotASecondBlockOfButtons) {
    QPushButton* mirror = MirrorButton(17);
    QPushButton* number = NumberButton(17);
    EXPECT_EQ(mirror->focusPolicy(), Qt::NoFocus);
    EXPECT_TRUE(mirror->testAttribute(Qt::WA_TransparentForMouseEvents));
    // No pressed look, and not drawn as the number buttons are.
    const QImage shown = mirror->grab().toImage();
    mirror->setDown(true);
    EXPECT_EQ(mirror->grab().toImage(), shown);
    mirror->setDown(false);
    EXPECT_NE(shown.pixel(shown.rect().center()), number->grab().toImage().pixel(3, 3));
}

}  // namespace
}  // namespace orbista

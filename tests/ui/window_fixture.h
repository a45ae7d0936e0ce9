#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QString>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <memory>
#include <string_view>
#include <vector>

#include "engine/engine.h"
#include "model/display.h"
#include "model/game_state.h"
#include "model/random.h"
#include "model/settings_table.h"
#include "tests/test_folder.h"
#include "ui/charts_page.h"
#include "ui/main_window.h"
#include "ui/pause_dialog.h"
#include "ui/spin_table.h"
#include "ui/up_down.h"
#include "ui/window_layout.h"

namespace orbista {

// The real window with its dialogs, shown on the offscreen platform. Messages are collected
// instead of waiting in a modal box; the settings file, the autosaves and the check files go to a
// folder of their own.
class WindowTest : public ::testing::Test {
  protected:
    void SetUp() override { OpenWindow(); }

    // Creates and shows the window as the program starts it, reading the settings file of the
    // test's folder.
    void OpenWindow() {
        random.Seed(7);
        WindowSetup setup;
        setup.programFolder = folder.Path();
        setup.present = [this](QWidget*, const QString& text) { messages.push_back(text); };
        window = MainWindow::Create(*state, random, setup);
        window->CheckFiles().SetFolder(folder.Path());
        window->GameEngine().SetPauseAfterWinMessage(std::chrono::milliseconds(0));
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    // A control of the main window by its object name (the dialogs have names of their own).
    template <typename Widget = QWidget>
    Widget* Control(const QString& name) const {
        auto* widget = window->PageControl1()->findChild<Widget*>(name);
        EXPECT_NE(widget, nullptr) << qPrintable(name);
        return widget;
    }
    template <typename Widget = QWidget>
    Widget* PauseControl(const QString& name) const {
        auto* widget = window->PauseDialogWindow()->findChild<Widget*>(name);
        EXPECT_NE(widget, nullptr) << qPrintable(name);
        return widget;
    }

    // The controls the program's own tables name, looked up where the window puts them.
    QLineEdit* Field(Display display) const { return Control<QLineEdit>(Name(ControlOf(display))); }
    QLabel* SpinCountLabel() const { return Control<QLabel>(Name(ControlOf(Display::SpinCount))); }
    template <typename Widget = QLineEdit>
    Widget* Field(Setting setting) const {
        return InSettingsPlace<Widget>(setting, InfoOf(setting).control);
    }
    QWidget* Arrows(Setting setting) const {
        return InSettingsPlace<QWidget>(setting, InfoOf(setting).stepper);
    }
    QRadioButton* SystemButton(SelectionSystem system) const {
        return Control<QRadioButton>(Name(InfoOf(system)->radio));
    }
    QPushButton* NumberButton(int number) const {
        return Control<QPushButton>(NumberButtonName(number));
    }
    QPushButton* MirrorButton(int number) const {
        return Control<QPushButton>(MirrorButtonName(number));
    }
    // "Отменить спин", found by the caption the player sees.
    QPushButton* CancelButton() const {
        QPushButton* found = nullptr;
        for (QPushButton* button : window->PageControl1()->findChildren<QPushButton*>()) {
            if (button->text().trimmed() == "Отменить спин") {
                EXPECT_EQ(found, nullptr) << "two cancel buttons";
                found = button;
            }
        }
        EXPECT_NE(found, nullptr);
        return found;
    }
    // The one menu item (not a menu) of the window with this caption, shortcut marks left out.
    QAction* MenuItem(const QString& caption) const {
        QAction* found = nullptr;
        for (QAction* action : window->findChildren<QAction*>()) {
            if (action->menu() == nullptr && action->text().remove('&') == caption) {
                EXPECT_EQ(found, nullptr) << qPrintable(caption) << " twice";
                found = action;
            }
        }
        EXPECT_NE(found, nullptr) << qPrintable(caption);
        return found;
    }

    // The menu of the bar with this caption, shortcut marks left out.
    QMenu* Menu(const QString& caption) const {
        for (QAction* action : window->menuBar()->actions()) {
            if (action->menu() != nullptr && action->text().remove('&') == caption) {
                return action->menu();
            }
        }
        ADD_FAILURE() << qPrintable(caption);
        return nullptr;
    }

    void Click(QWidget* widget) { QTest::mouseClick(widget, Qt::LeftButton); }
    void ClickNumber(int number) { Click(NumberButton(number)); }
    // One click on the up (+1) or down (-1) arrow of a field's up-down control.
    static void Step(QWidget* upDown, int direction) {
        const auto arrows = upDown->findChildren<QToolButton*>();
        ASSERT_EQ(arrows.size(), 2);
        QTest::mouseClick(arrows[direction > 0 ? 0 : 1], Qt::LeftButton);
    }
    // Replaces a field's text by typing, as the player would.
    static void Type(QLineEdit* field, const QString& text) {
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Delete);
        QTest::keyClicks(field, text);
    }
    QString Text(Display display) const {
        return display == Display::SpinCount ? SpinCountLabel()->text() : Field(display)->text();
    }

    static QString Name(std::string_view name) {
        return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
    }

  private:
    // The two playback settings live on the pause dialog, every other one on the tabs.
    template <typename Widget>
    Widget* InSettingsPlace(Setting setting, std::string_view name) const {
        const bool onPauseDialog =
            setting == Setting::PlaybackPauseField || setting == Setting::PlaybackSpinLimit;
        return onPauseDialog ? PauseControl<Widget>(Name(name)) : Control<Widget>(Name(name));
    }

  protected:
    TestFolder folder;
    std::vector<QString> messages;
    std::unique_ptr<GameState> state = std::make_unique<GameState>();
    RandomGenerator random;
    std::unique_ptr<MainWindow> window;
};

}  // namespace orbista

#pragma once

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QString>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <memory>
#include <vector>

#include "engine/engine.h"
#include "model/game_state.h"
#include "model/random.h"
#include "tests/test_folder.h"
#include "ui/charts_page.h"
#include "ui/main_window.h"
#include "ui/pause_dialog.h"
#include "ui/spin_table.h"
#include "ui/up_down.h"

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
        window->GameEngine().SetCheckFileFolder(folder.Path());
        window->GameEngine().SetPauseAfterWinMessage(std::chrono::milliseconds(0));
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    // A control of the main window by its object name (the dialogs have names of their own).
    template <typename Widget = QWidget>
    Widget* Control(const char* name) const {
        auto* widget = window->PageControl1()->findChild<Widget*>(name);
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    template <typename Widget = QWidget>
    Widget* PauseControl(const char* name) const {
        auto* widget = window->PauseDialogWindow()->findChild<Widget*>(name);
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    void Click(QWidget* widget) { QTest::mouseClick(widget, Qt::LeftButton); }
    void ClickNumber(int number) {
        Click(Control<QPushButton>(number == 0 ? "BitBtn73"
                                               : qPrintable(QString("BitBtn%1").arg(number))));
    }
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
    QString Text(const char* field) const { return Control<QLineEdit>(field)->text(); }

    TestFolder folder;
    std::vector<QString> messages;
    std::unique_ptr<GameState> state = std::make_unique<GameState>();
    RandomGenerator random;
    std::unique_ptr<MainWindow> window;
};

}  // namespace orbista

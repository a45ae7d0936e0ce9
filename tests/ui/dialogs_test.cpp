#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>
#include <functional>

#include "tests/ui/window_fixture.h"
#include "ui/about_dialog.h"
#include "ui/message_box.h"

namespace orbista {
namespace {

// Runs `step` as soon as the modal loop that the next call opens is running.
void WhenModal(std::function<void()> step) {
    QTimer::singleShot(0, [step = std::move(step)] {
        ASSERT_NE(QApplication::activeModalWidget(), nullptr);
        step();
    });
}

class PauseDialogTest : public WindowTest {
  protected:
    PauseDialog& Dialog() { return *window->PauseDialogWindow(); }
    QLineEdit* PauseField() { return Field(Setting::PlaybackPauseField); }
    void Apply() { Click(PauseControl("Button1")); }
    void CloseBox() { Dialog().close(); }
};

TEST_F(PauseDialogTest, ThePauseIsTakenOnlyByApply) {
    EXPECT_EQ(Dialog().PlaybackPauseTenths(), 0);
    WhenModal([this] { CloseBox(); });
    window->ShowPauseDialog();
    EXPECT_EQ(Dialog().PlaybackPauseTenths(), 0);

    WhenModal([this] {
        EXPECT_EQ(PauseField()->text(), "5");
        Type(PauseField(), "12");
        Apply();
    });
    window->ShowPauseDialog();
    EXPECT_FALSE(Dialog().isVisible());
    EXPECT_EQ(Dialog().PlaybackPauseTenths(), 12);

    WhenModal([this] {
        Type(PauseField(), "3");
        CloseBox();
    });
    window->ShowPauseDialog();
    EXPECT_EQ(Dialog().PlaybackPauseTenths(), 12);
    WhenModal([this] {
        EXPECT_EQ(PauseField()->text(), "3");
        CloseBox();
    });
    window->ShowPauseDialog();
}

TEST_F(PauseDialogTest, APauseThatIsNoNumberIsReportedAndTheDialogStaysOpen) {
    WhenModal([this] {
        Type(PauseField(), "5x");
        Apply();
        EXPECT_TRUE(Dialog().isVisible());
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_TRUE(messages[0].contains("5x"));
        Type(PauseField(), "4");
        Apply();
    });
    window->ShowPauseDialog();
    EXPECT_EQ(Dialog().PlaybackPauseTenths(), 4);
    EXPECT_EQ(messages.size(), 1u);
}

TEST_F(WindowTest, AboutBoxClosesByItsButtonAndKeepsItsGreeting) {
    WhenModal([this] { Click(window->AboutDialogWindow()->findChild<QWidget*>("Button1")); });
    window->ShowAboutDialog();
    EXPECT_FALSE(window->AboutDialogWindow()->isVisible());
    EXPECT_EQ(window->AboutDialogWindow()->windowTitle(), "Информация о программе");
}

TEST(MessageBox, IsModalWithTheTextOneOkButtonNoIconAndTheApplicationTitle) {
    bool seen = false;
    WhenModal([&seen] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        seen = true;
        EXPECT_EQ(box->text(), "Вы выиграли ;) !!!!");
        EXPECT_EQ(box->windowTitle(), QCoreApplication::applicationName());
        EXPECT_EQ(box->icon(), QMessageBox::NoIcon);
        const auto buttons = box->findChild<QDialogButtonBox*>()->buttons();
        ASSERT_EQ(buttons.size(), 1);
        EXPECT_EQ(box->standardButton(buttons[0]), QMessageBox::Ok);
        buttons[0]->click();
    });
    ShowModalMessageBox(nullptr, "Вы выиграли ;) !!!!");
    EXPECT_TRUE(seen);
}

TEST(MessageBox, IsWideEnoughForItsCaptionAndItsText) {
    bool seen = false;
    WhenModal([&seen] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        seen = true;
        EXPECT_GE(box->width(), MessageBoxCaptionRoom(box->windowTitle()));
        const auto* label = box->findChild<QLabel*>("qt_msgbox_label");
        ASSERT_NE(label, nullptr);
        EXPECT_GE(label->width(), label->fontMetrics().horizontalAdvance(label->text()));
        box->findChild<QDialogButtonBox*>()->buttons()[0]->click();
    });
    ShowModalMessageBox(nullptr, "Вы проиграли (-:");
    EXPECT_TRUE(seen);
    EXPECT_EQ(QCoreApplication::applicationName(), "orbista_ui_tests");
}

}  // namespace
}  // namespace orbista

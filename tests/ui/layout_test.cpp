#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QSet>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTabBar>

#include "tests/ui/window_fixture.h"
#include "ui/about_dialog.h"

namespace orbista {
namespace {

// The widget's rectangle in the coordinates of `ancestor`.
QRect RectIn(const QWidget* widget, const QWidget* ancestor) {
    return QRect(widget->mapTo(ancestor, QPoint(0, 0)), widget->size());
}

// Whatever typeface the machine has, no caption may be cut: each label, check box, radio button
// and push button is as large as its text needs, and lies inside the page or dialog it is on.
void ExpectNoCaptionClipped(const QWidget* page) {
    const QRect area = page->rect();
    for (const QWidget* widget : page->findChildren<QWidget*>()) {
        if (!widget->isVisibleTo(page) || widget->objectName().startsWith("qt_")) {
            continue;
        }
        const auto* label = qobject_cast<const QLabel*>(widget);
        const auto* button = qobject_cast<const QAbstractButton*>(widget);
        if ((label == nullptr && button == nullptr) || (button && button->text().isEmpty())) {
            continue;
        }
        const QString what = label ? label->text() : button->text();
        EXPECT_TRUE(area.contains(RectIn(widget, page))) << qPrintable(what);
        if (label != nullptr && label->wordWrap()) {
            EXPECT_LE(label->heightForWidth(label->width()), label->height()) << qPrintable(what);
        } else if (label != nullptr || qobject_cast<const QPushButton*>(widget) == nullptr) {
            EXPECT_LE(widget->sizeHint().width(), widget->width()) << qPrintable(what);
        } else {
            QStyleOptionButton option;
            option.initFrom(button);
            option.text = what;
            const QRect contents =
                button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
            EXPECT_LE(button->fontMetrics().boundingRect(what).width(), contents.width())
                << qPrintable(what);
        }
    }
}

TEST_F(WindowTest, NoCaptionIsClippedOnAnyTabOrDialog) {
    // The charts tab is laid out by the charts page itself.
    QTabWidget* pages = window->PageControl1();
    for (int tab = 0; tab < pages->count() - 1; ++tab) {
        pages->setCurrentIndex(tab);
        SCOPED_TRACE(pages->tabText(tab).toStdString());
        ExpectNoCaptionClipped(pages->widget(tab));
    }
    window->PauseDialogWindow()->show();
    ExpectNoCaptionClipped(window->PauseDialogWindow());
    window->PauseDialogWindow()->hide();
    window->AboutDialogWindow()->show();
    ExpectNoCaptionClipped(window->AboutDialogWindow());
    window->AboutDialogWindow()->hide();

    // Every menu of the bar is in sight, none behind an overflow arrow.
    QMenuBar* bar = window->menuBar();
    const QList<QAction*> menus = bar->actions();
    ASSERT_EQ(menus.size(), 5);
    EXPECT_LE(bar->actionGeometry(menus.back()).right(), bar->width());
    EXPECT_FALSE(bar->actionGeometry(menus.back()).isEmpty());
}

TEST_F(WindowTest, WindowHasItsFixedSizeAndEveryControlNameOnce) {
    EXPECT_EQ(window->centralWidget()->size(), QSize(392, 583));
    EXPECT_EQ(window->minimumSize(), window->maximumSize());
    EXPECT_EQ(window->windowTitle(), "ORBISTA - 8");

    // The settings model finds its controls by name, so a name used twice would read the wrong one.
    QSet<QString> names;
    for (const QWidget* widget : window->PageControl1()->findChildren<QWidget*>()) {
        const QString name = widget->objectName();
        // The scroll arrows of the two tab bars are the toolkit's, not the window's.
        if (name.isEmpty() || name.startsWith("qt_") ||
            qobject_cast<const QTabBar*>(widget->parentWidget()) != nullptr) {
            continue;
        }
        EXPECT_FALSE(names.contains(name)) << qPrintable(name);
        names.insert(name);
    }
    EXPECT_TRUE(names.contains("StringGrid1"));
    EXPECT_TRUE(names.contains("UpDown21"));
}

// Each field's arrows, wherever the field stands, step that field once by its own step: a row
// bound to the wrong setting, or arrows connected twice or not at all, show here.
TEST_F(WindowTest, EveryFieldsArrowsStepItOnceByItsStep) {
    for (const SettingInfo& info : SettingsTable()) {
        if (info.kind != SettingKind::Number) {
            continue;
        }
        const bool onPauseDialog = info.setting == Setting::PlaybackPauseField ||
                                   info.setting == Setting::PlaybackSpinLimit;
        QWidget* root = onPauseDialog ? static_cast<QWidget*>(window->PauseDialogWindow())
                                      : window->PageControl1();
        const QString control = QString::fromUtf8(info.control.data(), info.control.size());
        const QString stepper = QString::fromUtf8(info.stepper.data(), info.stepper.size());
        auto* field = root->findChild<QLineEdit*>(control);
        auto* arrows = root->findChild<QWidget*>(stepper);
        ASSERT_NE(field, nullptr) << info.field;
        ASSERT_NE(arrows, nullptr) << info.field;
        EXPECT_EQ(field->text(), QString::number(info.defaultValue)) << info.field;
        EXPECT_EQ(arrows->geometry().left(), field->geometry().right() + 1) << info.field;

        window->SetNumber(info.setting, info.minimum);
        Step(arrows, +1);
        EXPECT_EQ(window->Number(info.setting), info.minimum + info.step) << info.field;
    }
}

}  // namespace
}  // namespace orbista

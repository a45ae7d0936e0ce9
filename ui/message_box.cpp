#include "ui/message_box.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QSpacerItem>

namespace orbista {

namespace {

// What a window manager puts in a title bar besides the caption: the icon and three buttons.
constexpr int TitleBarControlsWidth = 160;

// The box is at least as wide as its caption needs in the title bar: a box just wide enough for
// a short text would have its caption cut by the window manager.
void MakeRoomForCaption(QMessageBox& box) {
    const int width = MessageBoxCaptionRoom(box.windowTitle());
    auto* layout = qobject_cast<QGridLayout*>(box.layout());
    if (layout == nullptr) {
        box.setMinimumWidth(width);
        return;
    }
    layout->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Minimum),
                    layout->rowCount(), 0, 1, layout->columnCount());
}

}  // namespace

int MessageBoxCaptionRoom(const QString& caption) {
    QFont titleFont = QApplication::font("QMdiSubWindowTitleBar");
    titleFont.setBold(true);
    return QFontMetrics(titleFont).horizontalAdvance(caption) + TitleBarControlsWidth;
}

void ShowModalMessageBox(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, QCoreApplication::applicationName(), text, QMessageBox::Ok,
                    parent);
    MakeRoomForCaption(box);
    box.exec();
}

}  // namespace orbista

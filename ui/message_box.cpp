#include "ui/message_box.h"

#include <QCoreApplication>
#include <QMessageBox>

namespace orbista {

void ShowModalMessageBox(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, QCoreApplication::applicationName(), text, QMessageBox::Ok,
                    parent);
    box.exec();
}

}  // namespace orbista

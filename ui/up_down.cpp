#include "ui/up_down.h"

#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace orbista {

namespace {

constexpr int ArrowsWidth = 17;

QToolButton* Arrow(Qt::ArrowType type, QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setArrowType(type);
    button->setAutoRepeat(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    return button;
}

}  // namespace

UpDown::UpDown(QLineEdit* buddy, const QString& objectName, QWidget* parent) : QWidget(parent) {
    setObjectName(objectName);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    QToolButton* up = Arrow(Qt::UpArrow, this);
    QToolButton* down = Arrow(Qt::DownArrow, this);
    layout->addWidget(up);
    layout->addWidget(down);
    connect(up, &QToolButton::clicked, this, [this] { emit Stepped(+1); });
    connect(down, &QToolButton::clicked, this, [this] { emit Stepped(-1); });
    const QRect field = buddy->geometry();
    setGeometry(field.right() + 1, field.top(), ArrowsWidth, field.height());
}

}  // namespace orbista

#include "ui/about_dialog.h"

#include <QLabel>
#include <QPushButton>

#include "ui/fonts.h"

namespace orbista {

namespace {

constexpr QPoint FirstPosition(400, 325);
constexpr int EdgeMargin = 4;

struct Greeting {
    QPoint at;
    const char* text;
    QColor colour;  // invalid: the default text colour
    int pixelSize;
    bool bold;
};

void AddLine(const Greeting& line, QWidget* parent) {
    auto* label = new QLabel(QString::fromUtf8(line.text), parent);
    label->setFont(WindowFont(line.pixelSize, line.bold));
    if (line.colour.isValid()) {
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, line.colour);
        label->setPalette(palette);
    }
    label->move(line.at);
    FitCaption(label, parent->width() - EdgeMargin);
}

}  // namespace

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
    setObjectName("Form4");
    setWindowTitle("Информация о программе");
    setFont(WindowFont(11));
    setFixedSize(429, 197);
    setModal(true);

    const Greeting lines[] = {
        {{21, 24}, "Вас приветствует программа ORBISTA 8.3!!!", Qt::red, 16, true},
        {{55, 64}, "Целью создания данной версии орбисты стоит задача", Qt::blue, 13, false},
        {{9, 86},
         "оптимизирования системы выборки, добавления новых возможностей",
         Qt::blue,
         13,
         false},
        {{61, 108}, "Сделана система эмулирования игры", QColor(), 19, false},
        {{55, 137}, "которая поможет в проведении тестов", QColor(), 19, false},
    };
    for (const Greeting& line : lines) {
        AddLine(line, this);
    }

    auto* close = new QPushButton("Закрыть окно приветствия", this);
    close->setObjectName("Button1");
    close->setFont(WindowFont(13));
    close->setGeometry(135, 164, 177, 25);
    FitButtonCaption(close);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
}

void AboutDialog::ShowModal() {
    if (!shownBefore_) {
        move(FirstPosition);
        shownBefore_ = true;
    }
    exec();
}

}  // namespace orbista

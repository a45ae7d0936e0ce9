#include "ui/pause_dialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "model/errors.h"
#include "model/settings_table.h"
#include "ui/fonts.h"
#include "ui/up_down.h"

namespace orbista {

namespace {

constexpr QPoint FirstPosition(480, 352);

QLineEdit* Field(const QString& name, const QString& text, const QRect& geometry, QWidget* parent) {
    auto* field = new QLineEdit(text, parent);
    field->setObjectName(name);
    field->setGeometry(geometry);
    return field;
}

void Caption(const QString& text, QPoint at, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->move(at);
    FitCaption(label, parent->width() - at.x());
}

}  // namespace

PauseDialog::PauseDialog(QWidget* parent) : QDialog(parent) {
    setObjectName("Form3");
    setWindowTitle("Пауза");
    setFont(WindowFont(11));
    setFixedSize(293, 196);
    setModal(true);

    Caption("Пауза между обработкой спинов, десятые секунд:", {8, 32}, this);
    pauseField_ = Field("Memo1", "5", {128, 51, 57, 33}, this);
    pauseField_->setFont(WindowFont(21));
    QPalette red = pauseField_->palette();
    red.setColor(QPalette::Text, Qt::red);
    pauseField_->setPalette(red);
    new UpDown(pauseField_, "UpDown1", this);

    Caption("Играть спинов из файла:", {16, 96}, this);
    QLineEdit* limit = Field("Memo2", "200", {128, 115, 97, 33}, this);
    limit->setFont(WindowFont(24));
    new UpDown(limit, "UpDown2", this);

    auto* apply = new QPushButton("Применить", this);
    apply->setObjectName("Button1");
    apply->setGeometry(106, 163, 75, 25);
    FitButtonCaption(apply);
    apply->setAutoDefault(false);
    connect(apply, &QPushButton::clicked, this, &PauseDialog::Apply);
}

void PauseDialog::ShowModal() {
    if (!shownBefore_) {
        move(FirstPosition);
        shownBefore_ = true;
    }
    exec();
}

void PauseDialog::Apply() {
    const SettingInfo& info = InfoOf(Setting::PlaybackPauseField);
    try {
        pauseTenths_ =
            ReadFieldNumber(pauseField_->text().toStdString(), info.control, info.caption);
    } catch (const ConversionError& error) {
        present_(this, QString::fromStdString(error.what()));
        return;
    }
    accept();
}

}  // namespace orbista

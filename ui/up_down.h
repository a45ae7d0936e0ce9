#pragma once

#include <QWidget>

class QLineEdit;

namespace orbista {

// The up-down arrows beside a numeric field. They only report a click; what a step does (bounds,
// step, coupling rules) belongs to the settings model, so the field keeps whatever was typed.
class UpDown : public QWidget {
    Q_OBJECT

  public:
    // Placed at the right edge of `buddy`, as tall as it.
    UpDown(QLineEdit* buddy, const QString& objectName, QWidget* parent);

  signals:
    void Stepped(int direction);  // +1 up, -1 down
};

}  // namespace orbista

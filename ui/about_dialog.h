#pragma once

#include <QDialog>

namespace orbista {

// Form4 "Информация о программе": a short greeting, created once and hidden between showings.
class AboutDialog : public QDialog {
    Q_OBJECT

  public:
    explicit AboutDialog(QWidget* parent);

    // Shows the greeting modally; returns when it is closed.
    void ShowModal();

  private:
    bool shownBefore_ = false;
};

}  // namespace orbista

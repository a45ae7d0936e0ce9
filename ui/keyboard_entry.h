#pragma once

#include <QLabel>
#include <QString>
#include <QTimer>
#include <functional>

class QAbstractButton;

namespace orbista {

// Typing a number on the "Окно ставок" tab: one or two digits and Enter enter it as its button
// would; Backspace with nothing typed, or Ctrl+Z, cancels the last spin. The entry is also its own
// indicator, a small field on the tab that shows what is being typed and a short hint when a
// number does not exist.
//
// The keyboard stays with the entry: a click on a button of the tab or on the tab itself hands it
// back, so a stray key never edits a balance; a click into a balance field still gives the field
// the keyboard, as the player meant.
class KeyboardEntry : public QLabel {
    Q_OBJECT

  public:
    using EnterNumber = std::function<void(int number)>;
    using CancelSpin = std::function<void()>;

    // How long a hint stays before the indicator shows the typing again.
    static constexpr int HintMilliseconds = 1500;

    // Placed on the tab's sheet; takes over the keyboard for every button already on it.
    KeyboardEntry(QWidget* sheet, EnterNumber enter, CancelSpin cancel);

    const QString& Typed() const { return typed_; }
    bool ShowsHint() const { return hint_.isActive(); }

  protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    void KeepFocusAfterClick(QAbstractButton* button);
    void TypeDigit(int digit);
    void EnterTyped();
    void EraseOrCancel();
    void ShowHint(const QString& text);
    void ShowTyping();

    EnterNumber enter_;
    CancelSpin cancel_;
    QString typed_;
    QTimer hint_;
};

}  // namespace orbista

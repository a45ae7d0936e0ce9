#pragma once

#include <QLabel>
#include <QString>
#include <QTimer>
#include <functional>

class QAbstractButton;

namespace orbista {

// Typing a number on the "Окно ставок" tab: one or two digits and Enter enter it as its button
// would; Backspace with nothing typed, or Ctrl+Z, cancels the last spin. The entry is also its own
// indicator, a small field on the tab that shows what is being typed, a hint when a number does
// not exist or has more than two digits, and how far a running playback has come.
//
// The keyboard stays with the entry: a click on a button of the tab, on the spin table or on the
// tab itself hands it back, and a key that reaches the window from anywhere else on the tab is
// taken as well, so a typed number is never lost. Only a text field the player clicked into keeps
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
    bool ShowsHint() const { return hint_.isActive() || TooLong(); }

    // "Спин N из M" while a playback runs; an empty text when none does.
    void ShowProgress(const QString& progress);

  protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    void KeepFocusAfterClick(QAbstractButton* button);
    // A key this entry acts on, wherever on the tab it was typed.
    bool Takes(const QKeyEvent& event) const;
    bool TooLong() const;
    void TypeDigit(int digit);
    void EnterTyped();
    void EraseOrCancel();
    void ShowHint(const QString& text);
    void ShowTyping();

    EnterNumber enter_;
    CancelSpin cancel_;
    QWidget* sheet_;
    QString typed_;
    QString progress_;
    QTimer hint_;
};

}  // namespace orbista

#include "ui/keyboard_entry.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <utility>

#include "ui/fonts.h"

namespace orbista {

namespace {

constexpr QRect IndicatorPlace(122, 530, 262, 22);
constexpr int MaxDigits = 2;
// A longer run of digits is as wrong as three, and what is shown must fit the indicator.
constexpr int KeptDigits = 4;
constexpr int HighestNumber = 36;

const char* const FocusedLook =
    "QLabel { background: #FFFFE0; border: 1px solid #3060C0; "
    "padding-left: 3px; color: black; }";
const char* const UnfocusedLook =
    "QLabel { background: transparent; border: 1px solid #B4B4B4; "
    "padding-left: 3px; color: #808080; }";
const char* const HintLook =
    "QLabel { background: #FFE4E4; border: 1px solid #C00000; "
    "padding-left: 3px; color: #C00000; }";

int DigitOf(const QKeyEvent& event) {
    if (event.key() >= Qt::Key_0 && event.key() <= Qt::Key_9 &&
        (event.modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier)) == 0) {
        return event.key() - Qt::Key_0;
    }
    return -1;
}

bool IsEnter(const QKeyEvent& event) {
    return event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter;
}

}  // namespace

KeyboardEntry::KeyboardEntry(QWidget* sheet, EnterNumber enter, CancelSpin cancel)
    : QLabel(sheet), enter_(std::move(enter)), cancel_(std::move(cancel)), sheet_(sheet) {
    setObjectName("KeyboardEntry");
    setGeometry(IndicatorPlace);
    setFont(WindowFont(12));
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName("Ввод числа с клавиатуры");
    hint_.setSingleShot(true);
    hint_.setInterval(HintMilliseconds);
    connect(&hint_, &QTimer::timeout, this, &KeyboardEntry::ShowTyping);

    // A click on the bare tab, or the tab coming into view, gives the keyboard to the entry.
    sheet->setFocusPolicy(Qt::ClickFocus);
    sheet->setFocusProxy(this);
    sheet->installEventFilter(this);
    // Keys that no control of the tab takes end up at the window.
    sheet->window()->installEventFilter(this);
    for (QAbstractButton* button : sheet->findChildren<QAbstractButton*>()) {
        KeepFocusAfterClick(button);
    }
    ShowTyping();
}

void KeyboardEntry::KeepFocusAfterClick(QAbstractButton* button) {
    if (button->focusPolicy() == Qt::NoFocus) {
        return;  // the mirror: no click reaches it
    }
    // Clicks never focus the number buttons, so without this the keyboard would stay wherever it
    // was, a balance field as likely as not.
    connect(button, &QAbstractButton::clicked, this, [this] { setFocus(Qt::OtherFocusReason); });
}

bool KeyboardEntry::eventFilter(QObject* watched, QEvent* event) {
    if (watched == sheet_ && event->type() == QEvent::Show) {
        setFocus(Qt::OtherFocusReason);
    }
    if (watched == sheet_->window() && event->type() == QEvent::KeyPress && sheet_->isVisible()) {
        auto* key = static_cast<QKeyEvent*>(event);
        // A text field that passed a key on (Enter, say) is being edited: that key is its own.
        if (qobject_cast<QLineEdit*>(QApplication::focusWidget()) == nullptr && Takes(*key)) {
            setFocus(Qt::OtherFocusReason);
            keyPressEvent(key);
            return true;
        }
    }
    return QLabel::eventFilter(watched, event);
}

bool KeyboardEntry::Takes(const QKeyEvent& event) const {
    return DigitOf(event) >= 0 || IsEnter(event) ||
           (event.key() == Qt::Key_Backspace && event.modifiers() == Qt::NoModifier) ||
           event.matches(QKeySequence::Undo) ||
           (event.key() == Qt::Key_Escape && !typed_.isEmpty());
}

bool KeyboardEntry::event(QEvent* event) {
    // Escape stops a running playback through the window's shortcut; while digits are typed it
    // only takes them back.
    if (event->type() == QEvent::ShortcutOverride) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Escape && !typed_.isEmpty()) {
            event->accept();
            return true;
        }
    }
    return QLabel::event(event);
}

void KeyboardEntry::keyPressEvent(QKeyEvent* event) {
    if (const int digit = DigitOf(*event); digit >= 0) {
        TypeDigit(digit);
    } else if (IsEnter(*event)) {
        EnterTyped();
    } else if (event->key() == Qt::Key_Backspace && event->modifiers() == Qt::NoModifier) {
        EraseOrCancel();
    } else if (event->matches(QKeySequence::Undo)) {
        typed_.clear();
        ShowTyping();
        cancel_();
    } else if (event->key() == Qt::Key_Escape && !typed_.isEmpty()) {
        typed_.clear();
        ShowTyping();
    } else {
        QLabel::keyPressEvent(event);
    }
}

bool KeyboardEntry::TooLong() const {
    return typed_.size() > MaxDigits;
}

// A third digit makes the whole entry wrong: entering the first two would enter a number the
// player never meant. It stays on show until erased or refused by Enter.
void KeyboardEntry::TypeDigit(int digit) {
    if (typed_.size() < KeptDigits) {
        typed_ += QChar('0' + digit);
    }
    ShowTyping();
}

void KeyboardEntry::EnterTyped() {
    if (typed_.isEmpty()) {
        return;
    }
    const QString typed = std::exchange(typed_, QString());
    if (typed.size() > MaxDigits) {
        ShowHint(QString("Не введено: %1 — не больше двух цифр").arg(typed));
        return;
    }
    const int number = typed.toInt();
    if (number > HighestNumber) {
        ShowHint(QString("Нет числа %1, только 0–36").arg(number));
        return;
    }
    ShowTyping();
    enter_(number);
}

void KeyboardEntry::EraseOrCancel() {
    if (!typed_.isEmpty()) {
        typed_.chop(1);
        ShowTyping();
        return;
    }
    cancel_();
}

void KeyboardEntry::ShowHint(const QString& text) {
    setStyleSheet(HintLook);
    setText(text);
    hint_.start();
}

void KeyboardEntry::ShowProgress(const QString& progress) {
    progress_ = progress;
    if (!hint_.isActive()) {
        ShowTyping();
    }
}

void KeyboardEntry::ShowTyping() {
    hint_.stop();
    if (TooLong()) {
        setStyleSheet(HintLook);
        setText(QString("Не больше двух цифр: %1").arg(typed_));
        return;
    }
    setStyleSheet(hasFocus() ? FocusedLook : UnfocusedLook);
    const QString cursor = hasFocus() ? QString("_") : QString();
    if (!progress_.isEmpty()) {
        // A playback leaves little room: the progress first, then what is typed.
        setText(hasFocus() || !typed_.isEmpty()
                    ? QString("%1   Число: %2%3").arg(progress_, typed_, cursor)
                    : progress_);
    } else if (hasFocus() || !typed_.isEmpty()) {
        setText(QString("Число с клавиатуры: %1%2").arg(typed_, cursor));
    } else {
        setText("Щёлкните здесь, чтобы вводить числа");
    }
}

void KeyboardEntry::focusInEvent(QFocusEvent* event) {
    QLabel::focusInEvent(event);
    ShowTyping();
}

void KeyboardEntry::focusOutEvent(QFocusEvent* event) {
    QLabel::focusOutEvent(event);
    ShowTyping();
}

}  // namespace orbista

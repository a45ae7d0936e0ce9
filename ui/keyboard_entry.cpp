#include "ui/keyboard_entry.h"

#include <QAbstractButton>
#include <QEvent>
#include <QFocusEvent>
#include <QKeyEvent>

#include "ui/fonts.h"

namespace orbista {

namespace {

constexpr QRect IndicatorPlace(122, 530, 262, 22);
constexpr int MaxDigits = 2;
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
    : QLabel(sheet), enter_(std::move(enter)), cancel_(std::move(cancel)) {
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
    if (watched == parent() && event->type() == QEvent::Show) {
        setFocus(Qt::OtherFocusReason);
    }
    return QLabel::eventFilter(watched, event);
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

void KeyboardEntry::TypeDigit(int digit) {
    if (typed_.size() >= MaxDigits) {
        ShowHint(QString("Не больше двух цифр: %1").arg(typed_));
        return;
    }
    typed_ += QChar('0' + digit);
    ShowTyping();
}

void KeyboardEntry::EnterTyped() {
    if (typed_.isEmpty()) {
        return;
    }
    const int number = typed_.toInt();
    typed_.clear();
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

void KeyboardEntry::ShowTyping() {
    hint_.stop();
    if (hasFocus()) {
        setStyleSheet(FocusedLook);
        setText(QString("Число с клавиатуры: %1_").arg(typed_));
    } else {
        setStyleSheet(UnfocusedLook);
        setText(typed_.isEmpty() ? QString("Щёлкните здесь, чтобы вводить числа")
                                 : QString("Число с клавиатуры: %1").arg(typed_));
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

#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace orbista {

// Shows a text to the player and returns when it has been read. The window and the pause dialog
// show every message through one of these, so tests can take the messages without a modal loop.
using MessagePresenter = std::function<void(QWidget* parent, const QString& text)>;

// The program's message box: modal, the text, one OK button, no icon, captioned with the
// application title (the executable's name without its extension).
// The box is at least as wide as its text and as its caption needs in a title bar.
void ShowModalMessageBox(QWidget* parent, const QString& text);

// The width a box needs for this caption in its title bar, beside the window manager's buttons.
int MessageBoxCaptionRoom(const QString& caption);

}  // namespace orbista

#pragma once

#include <QFont>

class QAbstractButton;
class QLabel;
class QWidget;

namespace orbista {

// Registers the Tahoma faces shipped with fonts-wine, when they are installed. Without them the
// window falls back to DejaVu Sans, which also has the Cyrillic glyphs. Returns whether Tahoma is
// available.
bool LoadApplicationFonts();

// The window's typeface at a pixel height (the em height, as the layout gives its fonts).
QFont WindowFont(int pixelSize, bool bold = false);

// The smallest font a caption is made when it has to give way.
inline constexpr int SmallestCaptionPixels = 8;

// A caption that must not be clipped: it takes its natural size, and when it would reach past
// `right` its font is made smaller until it fits.
void FitCaption(QWidget* caption, int right);
// A label that would reach past `right` breaks into lines within `height` first; only when that
// is not enough does its font become smaller.
void FitLabel(QLabel* label, int right, int height);
// A push button keeps its size; its caption's font gives way when the text would not fit.
void FitButtonCaption(QAbstractButton* button);

}  // namespace orbista

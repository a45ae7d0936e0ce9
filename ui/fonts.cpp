#include "ui/fonts.h"

#include <QAbstractButton>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QLabel>
#include <QStringList>

namespace orbista {

namespace {

constexpr const char* TahomaFolders[] = {"/usr/share/wine/fonts", "/usr/share/fonts/truetype/wine",
                                         "/usr/share/fonts/wine"};

bool AddFontFile(const QString& path) {
    return QFontDatabase::addApplicationFont(path) >= 0;
}

}  // namespace

bool LoadApplicationFonts() {
    if (QFontDatabase::hasFamily("Tahoma")) {
        return true;
    }
    for (const char* folder : TahomaFolders) {
        const QString base = QString::fromUtf8(folder);
        // Only the regular face: the bold face of this package draws thin strokes with bold
        // spacing, while a bold synthesised from the regular face reads as bold.
        if (AddFontFile(base + "/tahoma.ttf")) {
            return true;
        }
    }
    return false;
}

QFont WindowFont(int pixelSize, bool bold) {
    QFont font;
    // The first family present wins, so the same code serves a machine without Tahoma.
    font.setFamilies({"Tahoma", "DejaVu Sans", "Liberation Sans", "sans-serif"});
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

void FitLabel(QLabel* label, int right, int height) {
    label->adjustSize();
    if (label->x() + label->width() <= right) {
        return;
    }
    label->setWordWrap(true);
    QFont font = label->font();
    const int width = right - label->x();
    while (label->heightForWidth(width) > height && font.pixelSize() > SmallestCaptionPixels) {
        font.setPixelSize(font.pixelSize() - 1);
        label->setFont(font);
    }
    label->resize(width, label->heightForWidth(width));
}

void FitCaption(QWidget* caption, int right) {
    caption->adjustSize();
    QFont font = caption->font();
    while (caption->x() + caption->width() > right && font.pixelSize() > SmallestCaptionPixels) {
        font.setPixelSize(font.pixelSize() - 1);
        caption->setFont(font);
        caption->adjustSize();
    }
}

void FitButtonCaption(QAbstractButton* button) {
    // Room for the button's frame and a little air on either side of the text.
    constexpr int FrameAndMargin = 8;
    QFont font = button->font();
    while (QFontMetrics(font).horizontalAdvance(button->text()) >
               button->width() - FrameAndMargin &&
           font.pixelSize() > SmallestCaptionPixels) {
        font.setPixelSize(font.pixelSize() - 1);
    }
    button->setFont(font);
}

}  // namespace orbista

#include "ui/mirror_display.h"

#include <QApplication>
#include <QPainter>
#include <QProxyStyle>
#include <QPushButton>
#include <QStyleOption>

namespace orbista {

namespace {

const QColor CellColour(0xFA, 0xFA, 0xF4);
const QColor ShadowColour(0x80, 0x80, 0x80);
const QColor LightColour(0xC8, 0xC8, 0xC8);

// Draws a push button as a sunken cell; its caption is drawn as the application's style draws
// any button's.
class DisplayCellStyle : public QProxyStyle {
  public:
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override {
        if (element == CE_PushButtonBevel) {
            DrawSunkenCell(option->rect, painter);
            return;
        }
        if (element == CE_PushButtonLabel) {
            if (const auto* button = qstyleoption_cast<const QStyleOptionButton*>(option)) {
                // A caption never moves as a pressed one would.
                QStyleOptionButton still = *button;
                still.state &= ~(State_Sunken | State_On | State_MouseOver | State_HasFocus);
                QProxyStyle::drawControl(element, &still, painter, widget);
                return;
            }
        }
        QProxyStyle::drawControl(element, option, painter, widget);
    }

  private:
    static void DrawSunkenCell(const QRect& rect, QPainter* painter) {
        painter->save();
        painter->fillRect(rect, CellColour);
        painter->setPen(ShadowColour);
        painter->drawLine(rect.topLeft(), rect.topRight());
        painter->drawLine(rect.topLeft(), rect.bottomLeft());
        painter->setPen(LightColour);
        painter->drawLine(rect.bottomLeft(), rect.bottomRight());
        painter->drawLine(rect.topRight(), rect.bottomRight());
        painter->restore();
    }
};

QStyle* DisplayStyle() {
    // One style for every cell; it goes with the application, after the windows.
    static QStyle* const style = [] {
        auto* created = new DisplayCellStyle;
        created->setParent(qApp);
        return created;
    }();
    return style;
}

}  // namespace

void ShowAsDisplay(QPushButton* button) {
    button->setFocusPolicy(Qt::NoFocus);
    button->setAttribute(Qt::WA_TransparentForMouseEvents);
    button->setStyle(DisplayStyle());
}

}  // namespace orbista

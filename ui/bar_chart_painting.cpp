#include "ui/bar_chart.h"

#include <QFontMetrics>
#include <QLinearGradient>
#include <QPainter>
#include <QPolygon>
#include <algorithm>
#include <cmath>
#include <limits>

#include "ui/bar_chart_layout.h"

// The painting of a bar chart into the frame its layout gives.
namespace orbista::bar_chart {

namespace {

constexpr double BarWidthShare = 0.7;
const QColor MarkBackground{0xFF, 0xFF, 0xE1};
const QColor WallEdge{0x80, 0x80, 0x80};
const QColor GridColour{0xC0, 0xC0, 0xC0};

// The background gradient runs from the top-left corner to the bottom-right one.
QLinearGradient BackgroundGradient(const BarChartLook& look, const QRect& area) {
    QLinearGradient gradient(area.topLeft(), area.bottomRight());
    gradient.setColorAt(0.0, look.backgroundStart);
    if (look.backgroundMiddle) {
        gradient.setColorAt(0.5, *look.backgroundMiddle);
    }
    gradient.setColorAt(1.0, look.backgroundEnd);
    return gradient;
}

QColor Mix(const QColor& a, const QColor& b, double t) {
    return QColor::fromRgbF(static_cast<float>(a.redF() + (b.redF() - a.redF()) * t),
                            static_cast<float>(a.greenF() + (b.greenF() - a.greenF()) * t),
                            static_cast<float>(a.blueF() + (b.blueF() - a.blueF()) * t));
}

// Text over the gradient stays readable where a dark middle colour runs under it.
QColor TextColourAt(const BarChartLook& look, const QRect& area, QPoint point) {
    const double dx = area.width();
    const double dy = area.height();
    const double length = dx * dx + dy * dy;
    double t = length > 0.0
                   ? ((point.x() - area.left()) * dx + (point.y() - area.top()) * dy) / length
                   : 0.0;
    t = std::clamp(t, 0.0, 1.0);
    QColor under;
    if (look.backgroundMiddle) {
        under = t < 0.5 ? Mix(look.backgroundStart, *look.backgroundMiddle, t * 2.0)
                        : Mix(*look.backgroundMiddle, look.backgroundEnd, t * 2.0 - 1.0);
    } else {
        under = Mix(look.backgroundStart, look.backgroundEnd, t);
    }
    const double luminance = 0.299 * under.red() + 0.587 * under.green() + 0.114 * under.blue();
    return luminance < 120.0 ? QColor(Qt::white) : QColor(Qt::black);
}

int TickCount(const AxisRange& range) {
    return std::clamp(static_cast<int>(std::lround((range.maximum - range.minimum) / range.step)),
                      0, 200);
}

void PaintBackground(QPainter& painter, const QRect& whole, const Frame& frame,
                     const BarChartLook& look) {
    painter.fillRect(whole, look.panel);
    painter.fillRect(frame.inner, BackgroundGradient(look, frame.inner));
}

void PaintTitle(QPainter& painter, const Frame& frame, const BarChartLook& look) {
    const QFont font = ChartTitleFont();
    const QFontMetrics metrics(font);
    painter.setFont(font);
    painter.setPen(TextColourAt(look, frame.inner, frame.title.center()));
    int baseline = frame.title.top() + frame.titleAscent;
    for (const QString& line : frame.titleLines) {
        const int left =
            frame.title.left() + (frame.title.width() - metrics.horizontalAdvance(line)) / 2;
        painter.drawText(QPoint(left, baseline), line);
        baseline += metrics.lineSpacing();
    }
}

// The white back and left walls, with the value grid on them.
void PaintWalls(QPainter& painter, const Frame& frame) {
    const int d = frame.depth;
    const QRect back(QPoint(frame.plotLeft + d, frame.plotTop - d),
                     QPoint(frame.plotRight + d, frame.plotBottom - d));
    const QPolygon left({QPoint(frame.plotLeft, frame.plotTop),
                         QPoint(frame.plotLeft + d, frame.plotTop - d),
                         QPoint(frame.plotLeft + d, frame.plotBottom - d),
                         QPoint(frame.plotLeft, frame.plotBottom)});
    painter.setPen(WallEdge);
    painter.setBrush(Qt::white);
    painter.drawRect(back);
    painter.drawPolygon(left);
    const QPolygon floor({QPoint(frame.plotLeft, frame.plotBottom),
                          QPoint(frame.plotLeft + d, frame.plotBottom - d),
                          QPoint(frame.plotRight + d, frame.plotBottom - d),
                          QPoint(frame.plotRight, frame.plotBottom)});
    painter.setBrush(Qt::NoBrush);
    painter.drawPolygon(floor);

    painter.setPen(QPen(GridColour, 1, Qt::DotLine));
    for (int i = 0; i <= TickCount(frame.range); ++i) {
        const int y = frame.Y(frame.range.minimum + i * frame.range.step);
        painter.drawLine(frame.plotLeft, y, frame.plotLeft + d, y - d);
        painter.drawLine(frame.plotLeft + d, y - d, frame.plotRight + d, y - d);
    }
}

void PaintValueAxis(QPainter& painter, const Frame& frame, const BarChartLook& look) {
    const QFont font = PixelFont(AxisFontPixels);
    const QFontMetrics metrics(font);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawLine(frame.plotLeft, frame.plotTop, frame.plotLeft, frame.plotBottom);
    int lastTop = std::numeric_limits<int>::max();
    for (int i = 0; i <= TickCount(frame.range); ++i) {
        const int y = frame.Y(frame.range.minimum + i * frame.range.step);
        painter.setPen(Qt::black);
        painter.drawLine(frame.plotLeft - TickLength, y, frame.plotLeft, y);
        const QRect box(frame.inner.left() + 1, y - metrics.height() / 2,
                        frame.plotLeft - TickLength - 2 - frame.inner.left() - 1, metrics.height());
        if (box.bottom() >= lastTop) {
            continue;  // ticks closer than the text: leave this one unlabelled
        }
        lastTop = box.top();
        painter.setPen(TextColourAt(look, frame.inner, box.center()));
        painter.drawText(box, Qt::AlignRight | Qt::AlignVCenter,
                         ValueText(frame.range.minimum + i * frame.range.step));
    }
}

QLinearGradient BarGradient(const BarChartLook& look, uint32_t colour, int top, int bottom) {
    QLinearGradient gradient(0, top, 0, std::max(bottom, top + 1));
    gradient.setColorAt(0.0, look.barStart);
    gradient.setColorAt(0.5, look.barMiddle);
    gradient.setColorAt(1.0, QColor::fromRgb(colour));
    return gradient;
}

void PaintBar(QPainter& painter, const Frame& frame, const BarChartLook& look, const ChartBar& bar,
              int x, int width) {
    const int zero = frame.Y(0.0);
    const int y = frame.Y(bar.value);
    const int top = std::min(zero, y);
    const int bottom = std::max(zero, y);
    const QColor colour = QColor::fromRgb(bar.colour);
    const int d = frame.depth;
    if (width >= 4 && d > 0) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(Mix(look.barStart, Qt::white, 0.35));
        painter.drawPolygon(QPolygon({QPoint(x, top), QPoint(x + d, top - d),
                                      QPoint(x + width + d, top - d), QPoint(x + width, top)}));
        painter.setBrush(Mix(colour, Qt::black, 0.35));
        painter.drawPolygon(
            QPolygon({QPoint(x + width, top), QPoint(x + width + d, top - d),
                      QPoint(x + width + d, bottom - d), QPoint(x + width, bottom)}));
    }
    painter.fillRect(QRect(x, top, width, std::max(1, bottom - top)),
                     BarGradient(look, bar.colour, top, bottom));
}

// A mark that would touch the one before it is left out.
void PaintMark(QPainter& painter, const Frame& frame, const QFontMetrics& metrics, double value,
               int centre, int barTop, int barBottom, int& lastRight) {
    const QString text = ValueText(value);
    const int width = metrics.horizontalAdvance(text) + 4;
    const int height = metrics.height();
    const int left = centre - width / 2;
    if (left <= lastRight) {
        return;
    }
    lastRight = left + width;
    const int top = value < 0.0 ? barBottom + 2 : barTop - frame.depth - 2 - height;
    const QRect box(left, top, width, height);
    painter.setPen(Qt::black);
    painter.setBrush(MarkBackground);
    painter.drawRect(box);
    painter.drawText(box, Qt::AlignCenter, text);
}

void PaintSingleBars(QPainter& painter, const Frame& frame, const ChartSeries& series,
                     const BarChartLook& look) {
    const int width = std::max(1, static_cast<int>(frame.pitch * BarWidthShare));
    for (std::size_t i = 0; i < series.bars.size(); ++i) {
        const int x = frame.plotLeft +
                      static_cast<int>(std::lround(i * frame.pitch + (frame.pitch - width) / 2));
        PaintBar(painter, frame, look, series.bars[i], x, width);
    }
    if (series.marks == ValueMarks::None) {
        return;
    }
    painter.setFont(frame.markFont);
    const QFontMetrics metrics(frame.markFont);
    int lastRight = std::numeric_limits<int>::min();
    for (std::size_t i = 0; i < series.bars.size(); ++i) {
        if (!CarriesMark(series.marks, i)) {
            continue;
        }
        const double value = series.bars[i].value;
        const int centre = frame.plotLeft + static_cast<int>(std::lround((i + 0.5) * frame.pitch)) +
                           frame.depth / 2;
        const int zero = frame.Y(0.0);
        const int y = frame.Y(value);
        PaintMark(painter, frame, metrics, value, centre, std::min(zero, y), std::max(zero, y),
                  lastRight);
    }
}

void PaintColumns(QPainter& painter, const Frame& frame, const BarChartLook& look,
                  const std::vector<ColumnSpan>& columns) {
    for (std::size_t c = 0; c < columns.size(); ++c) {
        const int top = frame.Y(columns[c].high);
        const int bottom = frame.Y(columns[c].low);
        painter.fillRect(
            QRect(frame.plotLeft + static_cast<int>(c), top, 1, std::max(1, bottom - top)),
            BarGradient(look, BarColour, top, bottom));
    }
}

void PaintBarLabels(QPainter& painter, const Frame& frame, const ChartSeries& series,
                    const BarChartLook& look) {
    const QFont font = PixelFont(look.labelFontPixels);
    const QFontMetrics metrics(font);
    painter.setFont(font);
    const int rows = frame.labelRows;
    const std::vector<int> shown = ShownLabels(series.bars, frame.pitch, metrics, rows);
    std::vector<int> rowRight(rows, std::numeric_limits<int>::min());
    for (std::size_t n = 0; n < shown.size(); ++n) {
        const int i = shown[n];
        const int row = static_cast<int>(n % rows);
        const QString text = ToQString(series.bars[i].label);
        const int width = metrics.horizontalAdvance(text);
        const int centre = frame.plotLeft + static_cast<int>(std::lround((i + 0.5) * frame.pitch));
        // A label at either end slides inwards rather than being cut by the border; one wider than
        // the whole chart starts at its left border (std::clamp may not take bounds out of order).
        const int left = std::max(std::min(centre - width / 2, frame.inner.right() - width),
                                  frame.inner.left() + 1);
        if (left <= rowRight[row]) {
            continue;
        }
        rowRight[row] = left + width + 1;
        const QRect box(left, frame.plotBottom + TickLength + row * metrics.height(), width,
                        metrics.height());
        painter.setPen(Qt::black);
        painter.drawLine(centre, frame.plotBottom, centre, frame.plotBottom + TickLength - 1);
        painter.setPen(TextColourAt(look, frame.inner, box.center()));
        painter.drawText(box, Qt::AlignCenter, text);
    }
}

}  // namespace

}  // namespace orbista::bar_chart

namespace orbista {

void BarChart::paintEvent(QPaintEvent* /*event*/) {
    repaintScheduled_ = false;
    QPainter painter(this);
    const bar_chart::Frame frame = bar_chart::LayOut(rect(), series_, look_);
    bar_chart::PaintBackground(painter, rect(), frame, look_);
    bar_chart::PaintTitle(painter, frame, look_);
    if (!frame.Usable()) {
        return;
    }
    bar_chart::PaintWalls(painter, frame);
    bar_chart::PaintValueAxis(painter, frame, look_);
    if (static_cast<int>(series_.bars.size()) > frame.Width()) {
        bar_chart::PaintColumns(painter, frame, look_, Columns(frame.Width()));
    } else {
        bar_chart::PaintSingleBars(painter, frame, series_, look_);
    }
    painter.setPen(Qt::black);
    painter.drawLine(frame.plotLeft, frame.plotBottom, frame.plotRight, frame.plotBottom);
    bar_chart::PaintBarLabels(painter, frame, series_, look_);
}

}  // namespace orbista

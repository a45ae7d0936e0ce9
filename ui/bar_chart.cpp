#include "ui/bar_chart.h"

#include <QFontMetrics>
#include <QLinearGradient>
#include <QPainter>
#include <QPolygon>
#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace orbista {

namespace {

constexpr int LabelGap = 3;  // pixels between neighbouring labels

}  // namespace

AxisRange AutomaticRange(std::span<const double> values, int maxTicks) {
    double low = 0.0;
    double high = 0.0;
    bool whole = true;
    for (const double value : values) {
        if (!std::isfinite(value)) {
            continue;
        }
        low = std::min(low, value);
        high = std::max(high, value);
        whole = whole && value == std::floor(value);
    }
    if (high == low) {
        high = low + 1.0;
    }
    const double rough = (high - low) / std::max(1, maxTicks);
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    double step = power * 10.0;
    for (const double factor : {1.0, 2.0, 5.0}) {
        if (power * factor >= rough) {
            step = power * factor;
            break;
        }
    }
    if (whole) {
        step = std::max(step, 1.0);
    }
    AxisRange range;
    range.step = step;
    range.minimum = std::floor(low / step) * step;
    range.maximum = std::ceil(high / step) * step;
    if (range.maximum <= range.minimum) {
        range.maximum = range.minimum + step;
    }
    return range;
}

int ValueToPixel(double value, const AxisRange& range, int top, int bottom) {
    const double span = range.maximum - range.minimum;
    if (!(span > 0.0) || !std::isfinite(value)) {
        return bottom;
    }
    const double pixel = bottom - (value - range.minimum) / span * (bottom - top);
    // Far outside the axis is as good as just outside it, and keeps the painter's integers sane.
    const double margin = std::abs(bottom - top) + 1000.0;
    return static_cast<int>(std::lround(
        std::clamp(pixel, std::min(top, bottom) - margin, std::max(top, bottom) + margin)));
}

std::vector<ColumnSpan> AggregateColumns(std::span<const double> values, int columns) {
    std::vector<ColumnSpan> spans;
    if (columns <= 0 || values.empty()) {
        return spans;
    }
    spans.resize(columns);
    const int64_t count = static_cast<int64_t>(values.size());
    for (int column = 0; column < columns; ++column) {
        int64_t first = column * count / columns;
        const int64_t last = std::max(first + 1, (column + 1) * count / columns);
        first = std::min(first, count - 1);
        ColumnSpan span;
        for (int64_t i = first; i < std::min(last, count); ++i) {
            const double value = values[i];
            span.low = std::min(span.low, value);
            span.high = std::max(span.high, value);
        }
        spans[column] = span;
    }
    return spans;
}

std::vector<int> ThinnedLabels(int barCount, double pitch, int labelWidth, int rows) {
    std::vector<int> shown;
    if (barCount <= 0 || !(pitch > 0.0)) {
        return shown;
    }
    const double needed = labelWidth + LabelGap;
    const double rowPitch = pitch * std::max(1, rows);
    int64_t every = 1;
    for (int64_t power = 1; every * rowPitch < needed && power <= barCount; power *= 10) {
        for (const int64_t factor : {1, 2, 5}) {
            every = power * factor;
            if (every * rowPitch >= needed) {
                break;
            }
        }
    }
    if (every == 1) {
        shown.resize(barCount);
        for (int i = 0; i < barCount; ++i) {
            shown[i] = i;
        }
        return shown;
    }
    // Bars are numbered from 1, so every n-th label is a round number.
    for (int64_t label = every; label <= barCount; label += every) {
        shown.push_back(static_cast<int>(label - 1));
    }
    return shown;
}

bool LabelsFit(std::span<const int> widths, double pitch, int rows) {
    const std::size_t step = static_cast<std::size_t>(std::max(1, rows));
    for (std::size_t i = 0; i + step < widths.size(); ++i) {
        if (pitch * step < (widths[i] + widths[i + step]) / 2.0 + LabelGap) {
            return false;
        }
    }
    return true;
}

namespace {

constexpr int BorderWidth = 2;
constexpr double DepthPercent = 0.05;
constexpr double BarWidthShare = 0.7;
constexpr int TickLength = 3;
constexpr int AxisFontPixels = 10;
constexpr int TitleFontPixels = 11;
// Clear of the border: the accents of a capital or of «й» reach above the font's ascent in some
// faces and at some hintings.
constexpr int TitleGap = 2;
constexpr int SmallestMarkPixels = 7;
const QColor MarkBackground{0xFF, 0xFF, 0xE1};
const QColor WallEdge{0x80, 0x80, 0x80};
const QColor GridColour{0xC0, 0xC0, 0xC0};

QFont PixelFont(int pixels, bool bold = false) {
    QFont font;
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

QString ValueText(double value) {
    if (value == std::floor(value) && std::abs(value) < 1e15) {
        return QString::number(static_cast<long long>(value));
    }
    return QString::number(value, 'g', 6);
}

// Where everything of one paint goes.
struct Frame {
    QRect inner;
    QRect title;
    QStringList titleLines;
    int titleAscent = 0;
    int depth = 0;
    int plotLeft = 0;
    int plotTop = 0;
    int plotRight = 0;
    int plotBottom = 0;
    AxisRange range;
    double pitch = 0.0;
    int labelRows = 1;
    QFont markFont;

    int Y(double value) const { return ValueToPixel(value, range, plotTop, plotBottom); }
    int Width() const { return plotRight - plotLeft; }
    bool Usable() const { return plotRight - plotLeft >= 4 && plotBottom - plotTop >= 4; }
};

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

QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

int TickLabelWidth(const AxisRange& range, const QFontMetrics& metrics) {
    return std::max(metrics.horizontalAdvance(ValueText(range.minimum)),
                    metrics.horizontalAdvance(ValueText(range.maximum)));
}

int TickCount(const AxisRange& range) {
    return std::clamp(static_cast<int>(std::lround((range.maximum - range.minimum) / range.step)),
                      0, 200);
}

// Raises the top of the axis by whole ticks until the marks above the highest bars fit.
void MakeRoomForMarks(Frame& frame, std::span<const double> values, ValueMarks marks,
                      int markHeight) {
    double highest = 0.0;
    double lowest = 0.0;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (CarriesMark(marks, i)) {
            highest = std::max(highest, values[i]);
            lowest = std::min(lowest, values[i]);
        }
    }
    const int room = markHeight + frame.depth + 3;
    for (int guard = 0; guard < 20 && frame.Y(highest) - room < frame.plotTop; ++guard) {
        frame.range.maximum += frame.range.step;
    }
    for (int guard = 0; guard < 20 && lowest < 0.0 && frame.Y(lowest) + room > frame.plotBottom;
         ++guard) {
        frame.range.minimum -= frame.range.step;
    }
}

constexpr std::size_t MeasuredLabels = 64;

std::vector<int> LabelWidths(const ChartBars& bars, const QFontMetrics& metrics) {
    std::vector<int> widths;
    for (const ChartBar bar : bars) {
        widths.push_back(metrics.horizontalAdvance(ToQString(bar.label)));
    }
    return widths;
}

// A few labels are measured one by one, so short ones may stand closer than the longest; many
// are thinned by the longest.
std::vector<int> ShownLabels(const ChartBars& bars, double pitch, const QFontMetrics& metrics,
                             int rows) {
    const int count = static_cast<int>(bars.size());
    if (bars.size() <= MeasuredLabels) {
        if (LabelsFit(LabelWidths(bars, metrics), pitch, rows)) {
            std::vector<int> all(count);
            for (int i = 0; i < count; ++i) {
                all[i] = i;
            }
            return all;
        }
    }
    const int longest = metrics.horizontalAdvance(ToQString(bars.LongestLabel()));
    return ThinnedLabels(count, pitch, longest, rows);
}

// The largest mark font, up to the chart's own, at which neighbouring marks do not touch.
QFont MarkFont(const ChartSeries& series, double pitch, int largest) {
    const double spacing = pitch * (series.marks == ValueMarks::EveryThird ? 3 : 1);
    QString widest;
    for (std::size_t i = 0; i < series.bars.size(); ++i) {
        if (!CarriesMark(series.marks, i)) {
            continue;
        }
        const QString text = ValueText(series.bars[i].value);
        if (text.size() > widest.size()) {
            widest = text;
        }
    }
    for (int pixels = largest; pixels > SmallestMarkPixels; --pixels) {
        const QFont font = PixelFont(pixels);
        if (QFontMetrics(font).horizontalAdvance(widest) + 6 <= spacing) {
            return font;
        }
    }
    return PixelFont(SmallestMarkPixels);
}

int TitleWidth(const QRect& whole) {
    return whole.width() - 2 * BorderWidth - 4;
}

Frame LayOut(const QRect& whole, const ChartSeries& series, const BarChartLook& look, int rows) {
    Frame frame;
    frame.inner = whole.adjusted(BorderWidth, BorderWidth, -BorderWidth, -BorderWidth);
    const QString title = QString::fromStdString(series.title);
    const QFontMetrics titleMetrics(ChartTitleFont());
    const int titleWidth = TitleWidth(whole);
    frame.titleLines = TitleLines(title, titleMetrics, titleWidth);
    frame.titleAscent =
        std::max(titleMetrics.ascent(), -titleMetrics.tightBoundingRect(title).top());
    const int titleHeight = frame.titleAscent +
                            titleMetrics.lineSpacing() * (frame.titleLines.size() - 1) +
                            titleMetrics.descent();
    frame.title = QRect(frame.inner.left() + 2, frame.inner.top() + TitleGap, titleWidth,
                        static_cast<int>(titleHeight));
    frame.depth = std::clamp(
        static_cast<int>(std::lround(DepthPercent * std::min(whole.width(), whole.height()))), 2,
        10);

    const int labelHeight = QFontMetrics(PixelFont(look.labelFontPixels)).height();
    frame.plotTop = frame.title.bottom() + 3 + frame.depth;
    frame.labelRows = rows;
    frame.plotBottom = frame.inner.bottom() - 1 - rows * labelHeight - TickLength;
    const int ticks = std::max(2, (frame.plotBottom - frame.plotTop) / 22);
    frame.range = AutomaticRange(series.bars.Values(), ticks);
    if (series.marks != ValueMarks::None) {
        const int markHeight = QFontMetrics(PixelFont(look.markFontPixels)).height() + 2;
        MakeRoomForMarks(frame, series.bars.Values(), series.marks, markHeight);
    }
    const QFontMetrics axis(PixelFont(AxisFontPixels));
    frame.plotLeft = frame.inner.left() + 3 + TickLabelWidth(frame.range, axis) + TickLength + 2;
    frame.plotRight = frame.inner.right() - 3 - frame.depth;
    frame.pitch = series.bars.empty() ? 0.0 : double(frame.Width()) / series.bars.size();
    if (series.marks != ValueMarks::None) {
        frame.markFont = MarkFont(series, frame.pitch, look.markFontPixels);
    }
    return frame;
}

// A few labels that do not fit side by side move to two alternating rows.
Frame LayOut(const QRect& whole, const ChartSeries& series, const BarChartLook& look) {
    const int rows = std::max(1, look.labelRows);
    Frame frame = LayOut(whole, series, look, rows);
    if (rows > 1 || series.bars.size() > MeasuredLabels) {
        return frame;
    }
    const QFontMetrics metrics(PixelFont(look.labelFontPixels));
    const std::vector<int> widths = LabelWidths(series.bars, metrics);
    if (LabelsFit(widths, frame.pitch, 1)) {
        return frame;
    }
    Frame twoRows = LayOut(whole, series, look, 2);
    return LabelsFit(widths, twoRows.pitch, 2) ? twoRows : frame;
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
        // A label at either end slides inwards rather than being cut by the border.
        const int left =
            std::clamp(centre - width / 2, frame.inner.left() + 1, frame.inner.right() - width);
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

BarChart::BarChart(const QString& objectName, const BarChartLook& look, QWidget* parent)
    : QWidget(parent), look_(look) {
    setObjectName(objectName);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void BarChart::Clear() {
    series_.bars.clear();
    Changed();
}

void BarChart::Append(double value, std::string_view label, uint32_t colour) {
    series_.bars.Append(value, label, colour);
    Changed();
}

QFont ChartTitleFont() {
    return PixelFont(TitleFontPixels, true);
}

QStringList TitleLines(const QString& title, const QFontMetrics& metrics, int width) {
    if (metrics.horizontalAdvance(title) <= width) {
        return {title};
    }
    // Of the breaks whose two lines both fit, the one with the shorter longest line.
    qsizetype best = -1;
    int bestWidth = width + 1;
    for (qsizetype space = title.indexOf(' '); space >= 0; space = title.indexOf(' ', space + 1)) {
        const int longest = std::max(metrics.horizontalAdvance(title.left(space)),
                                     metrics.horizontalAdvance(title.mid(space + 1)));
        if (longest < bestWidth) {
            best = space;
            bestWidth = longest;
        }
    }
    if (best < 0) {
        return {metrics.elidedText(title, Qt::ElideRight, width)};
    }
    return {title.left(best), title.mid(best + 1)};
}

QStringList BarChart::ShownTitle() const {
    return TitleLines(Title(), QFontMetrics(ChartTitleFont()), TitleWidth(rect()));
}

void BarChart::SetSeries(ChartSeries series) {
    series_ = std::move(series);
    Changed();
}

void BarChart::ExchangeSeries(ChartSeries& series) {
    std::swap(series_, series);
    Changed();
}

void BarChart::Changed() {
    columnsValid_ = false;
    if (!repaintScheduled_) {
        repaintScheduled_ = true;
        update();
    }
}

const std::vector<ColumnSpan>& BarChart::Columns(int columns) {
    if (!columnsValid_ || static_cast<int>(columns_.size()) != columns) {
        columns_ = AggregateColumns(series_.bars.Values(), columns);
        columnsValid_ = true;
    }
    return columns_;
}

void BarChart::paintEvent(QPaintEvent* /*event*/) {
    repaintScheduled_ = false;
    QPainter painter(this);
    const Frame frame = LayOut(rect(), series_, look_);
    PaintBackground(painter, rect(), frame, look_);
    PaintTitle(painter, frame, look_);
    if (!frame.Usable()) {
        return;
    }
    PaintWalls(painter, frame);
    PaintValueAxis(painter, frame, look_);
    if (static_cast<int>(series_.bars.size()) > frame.Width()) {
        PaintColumns(painter, frame, look_, Columns(frame.Width()));
    } else {
        PaintSingleBars(painter, frame, series_, look_);
    }
    painter.setPen(Qt::black);
    painter.drawLine(frame.plotLeft, frame.plotBottom, frame.plotRight, frame.plotBottom);
    PaintBarLabels(painter, frame, series_, look_);
}

}  // namespace orbista

#include "ui/bar_chart.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QImage>
#include <QPixmap>
#include <QTest>
#include <string_view>
#include <vector>

namespace orbista {
namespace {

QString NameOf(Chart chart) {
    const std::string_view name = ControlOf(chart);
    return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}

ChartBars BarsOf(const std::vector<double>& values) {
    ChartBars bars;
    for (std::size_t i = 0; i < values.size(); ++i) {
        bars.Append(values[i], std::to_string(i + 1));
    }
    return bars;
}

TEST(AutomaticRange, HoldsZeroAndNegativeValuesOnWholeTicks) {
    const AxisRange range = AutomaticRange(std::vector<double>{10, -5, 20}, 6);
    EXPECT_LE(range.minimum, -5);
    EXPECT_GE(range.maximum, 20);
    EXPECT_GT(range.step, 0);
    EXPECT_DOUBLE_EQ(range.minimum / range.step, std::round(range.minimum / range.step));
    EXPECT_DOUBLE_EQ(range.maximum / range.step, std::round(range.maximum / range.step));

    const AxisRange positive = AutomaticRange(std::vector<double>{3, 7}, 6);
    EXPECT_EQ(positive.minimum, 0);  // bars stand on zero

    const AxisRange counts = AutomaticRange(std::vector<double>{1, 2}, 20);
    EXPECT_GE(counts.step, 1);  // a count axis never shows halves

    const AxisRange empty = AutomaticRange({}, 5);
    EXPECT_EQ(empty.minimum, 0);
    EXPECT_GT(empty.maximum, 0);  // no bars, or all at zero, still give an axis
    EXPECT_GT(AutomaticRange(std::vector<double>{0, 0, 0}, 5).maximum, 0);
}

TEST(ValueToPixel, MapsTheRangeOntoTheRowsAndStaysSaneOutsideIt) {
    const AxisRange range{-10, 30, 10};
    EXPECT_EQ(ValueToPixel(-10, range, 20, 220), 220);
    EXPECT_EQ(ValueToPixel(30, range, 20, 220), 20);
    EXPECT_EQ(ValueToPixel(0, range, 20, 220), 170);
    EXPECT_EQ(ValueToPixel(5, AxisRange{3, 3, 1}, 20, 220), 220);  // empty range: no division
    EXPECT_GT(ValueToPixel(-1e300, range, 20, 220), 0);            // far off, but an int
    EXPECT_LT(ValueToPixel(1e300, range, 20, 220), 0);
}

TEST(AggregateColumns, EachColumnCoversItsBarsStandingOnZero) {
    const auto spans = AggregateColumns(std::vector<double>{3, 5, -2, 4, 1, 1}, 3);
    ASSERT_EQ(spans.size(), 3u);
    EXPECT_EQ(spans[0].low, 0);
    EXPECT_EQ(spans[0].high, 5);
    EXPECT_EQ(spans[1].low, -2);
    EXPECT_EQ(spans[1].high, 4);
    EXPECT_EQ(spans[2].high, 1);
    EXPECT_TRUE(AggregateColumns({}, 10).empty());
    EXPECT_TRUE(AggregateColumns(std::vector<double>{1}, 0).empty());
}

TEST(AggregateColumns, NoBarIsLostAmongAHundredThousand) {
    std::vector<double> values(100000, 1.0);
    values[54321] = 99;
    values[0] = -50;
    values.back() = 77;
    const auto spans = AggregateColumns(values, 380);
    ASSERT_EQ(spans.size(), 380u);
    EXPECT_EQ(spans[0].low, -50);
    EXPECT_EQ(spans[54321 * 380 / 100000].high, 99);
    EXPECT_EQ(spans.back().high, 77);
    for (const ColumnSpan& span : spans) {
        EXPECT_GE(span.high, 1);  // every column holds bars
    }
}

TEST(ThinnedLabels, AllWhenTheyFitElseRoundOnesThatDoNotOverlap) {
    EXPECT_EQ(ThinnedLabels(3, 60.0, 10, 1), (std::vector<int>{0, 1, 2}));
    EXPECT_TRUE(ThinnedLabels(0, 10.0, 10, 1).empty());
    EXPECT_TRUE(ThinnedLabels(5, 0.0, 10, 1).empty());

    const double pitch = 330.0 / 100000;
    const std::vector<int> shown = ThinnedLabels(100000, pitch, 40, 1);
    ASSERT_GE(shown.size(), 2u);
    EXPECT_LE(shown.size(), 330u / 40u);
    for (std::size_t n = 0; n < shown.size(); ++n) {
        EXPECT_EQ((shown[n] + 1) % (shown[0] + 1), 0);  // labels 20000, 40000, ...
        if (n > 0) {
            EXPECT_GE((shown[n] - shown[n - 1]) * pitch, 40);
        }
    }

    // 37 two-digit labels on 9-pixel bars fit only on two alternating rows.
    EXPECT_EQ(ThinnedLabels(37, 9.5, 12, 2).size(), 37u);
    EXPECT_LT(ThinnedLabels(37, 9.5, 12, 1).size(), 37u);
}

TEST(LabelsFit, ShortNeighboursMayStandCloserThanTheLongest) {
    // "Чет" beside "Не чет" fits where two labels as long as the longer would not.
    EXPECT_TRUE(LabelsFit(std::vector<int>{20, 38}, 34.0, 1));
    EXPECT_FALSE(LabelsFit(std::vector<int>{38, 38}, 34.0, 1));
    EXPECT_TRUE(LabelsFit(std::vector<int>{12, 12, 12}, 8.0, 2));  // alternate rows
    EXPECT_FALSE(LabelsFit(std::vector<int>{12, 12, 12}, 8.0, 1));
    EXPECT_TRUE(LabelsFit({}, 1.0, 1));
}

TEST(TitleLines, WholeWhenItFitsElseTwoEvenLinesElseCutShort) {
    const QFontMetrics metrics(ChartTitleFont());
    const QString title = "Частота выпадения сикслайнов";
    EXPECT_EQ(TitleLines(title, metrics, metrics.horizontalAdvance(title)), QStringList{title});
    const int firstTwoWords = metrics.horizontalAdvance("Частота выпадения");
    EXPECT_EQ(TitleLines(title, metrics, firstTwoWords),
              (QStringList{"Частота выпадения", "сикслайнов"}));
    const QStringList cut = TitleLines(title, metrics, firstTwoWords - 1);
    ASSERT_EQ(cut.size(), 1);
    EXPECT_TRUE(cut[0].endsWith(QChar(0x2026))) << cut[0].toStdString();
}

// Counts the paints a widget receives.
class PaintCounter : public QObject {
  public:
    int paints = 0;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            ++paints;
        }
        return QObject::eventFilter(watched, event);
    }
};

TEST(BarChart, KeepsBarsInOrderAndRepaintsOnceForABatch) {
    BarChart chart(NameOf(Chart::Dozens), BarChartLook{}, nullptr);
    chart.resize(200, 150);
    chart.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&chart));
    QApplication::processEvents();
    PaintCounter counter;
    chart.installEventFilter(&counter);

    chart.Clear();
    for (int i = 0; i < 1000; ++i) {
        chart.Append(i % 7 - 3, std::to_string(i), BarColour);
    }
    EXPECT_EQ(counter.paints, 0);  // storing does not paint
    ASSERT_EQ(chart.Bars().size(), 1000u);
    EXPECT_EQ(chart.Bars()[0].value, -3);
    EXPECT_EQ(chart.Bars()[999].label, "999");
    QApplication::processEvents();
    EXPECT_EQ(counter.paints, 1);

    chart.Clear();
    EXPECT_TRUE(chart.Bars().empty());
}

TEST(BarChart, ExchangeHandsBackWhatWasShown) {
    BarChart chart(NameOf(Chart::Balance), BarChartLook{}, nullptr);
    ChartSeries first{Chart::Balance, "График баланса", ValueMarks::None, BarsOf({1, 2})};
    chart.SetSeries(first);
    ChartSeries second{Chart::Balance, "График баланса", ValueMarks::None, BarsOf({5})};
    chart.ExchangeSeries(second);
    EXPECT_EQ(chart.Bars().size(), 1u);
    EXPECT_EQ(second.bars.size(), 2u);
    EXPECT_EQ(chart.Title(), QString("График баланса"));
}

// The bars' gradient starts brown at their top edge; nothing else in a chart is that red.
bool Brown(QRgb pixel) {
    return qRed(pixel) > qBlue(pixel) + 60;
}

// The first row from the top holding a bar's top between columns `from` and `to`.
int TopOfBars(const QImage& image, int from, int to) {
    for (int y = 0; y < image.height(); ++y) {
        for (int x = from; x < to; ++x) {
            if (Brown(image.pixel(x, y))) {
                return y;
            }
        }
    }
    return -1;
}

QImage Painted(std::vector<double> values, ValueMarks marks = ValueMarks::None) {
    BarChart chart(NameOf(Chart::Balance), BarChartLook{}, nullptr);
    chart.resize(384, 325);
    chart.SetSeries(ChartSeries{Chart::Balance, "График баланса", marks, BarsOf(values)});
    return chart.grab().toImage();
}

TEST(BarChart, NegativeBarsHangFromZero) {
    const QImage upDown = Painted({10, -10});
    const int half = upDown.width() / 2;
    const int rising = TopOfBars(upDown, 0, half);
    const int falling = TopOfBars(upDown, half, upDown.width());
    ASSERT_GE(rising, 0);
    ASSERT_GE(falling, 0);
    EXPECT_LT(rising + 50, falling);  // the negative bar starts at the zero line, far lower

    const QImage downUp = Painted({-10, 10});
    EXPECT_GT(TopOfBars(downUp, 0, half), TopOfBars(downUp, half, downUp.width()) + 50);
}

TEST(BarChart, AHundredThousandBarsFillEveryColumnOfThePlot) {
    const QImage image = Painted(std::vector<double>(100000, 3.0));
    int columns = 0;
    for (int x = 0; x < image.width(); ++x) {
        columns += TopOfBars(image, x, x + 1) >= 0 ? 1 : 0;
    }
    EXPECT_GT(columns, 300);  // the plot is about 330 pixels wide
}

TEST(BarChart, PaintsEmptyAndFlatSeriesAndMarksWithoutTrouble) {
    for (const std::vector<double>& values :
         {std::vector<double>{}, std::vector<double>{0, 0, 0}, std::vector<double>{-5, 1e9}}) {
        EXPECT_EQ(Painted(values, ValueMarks::All).size(), QSize(384, 325));
    }
    EXPECT_EQ(TopOfBars(Painted({}), 0, 384), -1);
}

}  // namespace
}  // namespace orbista

#include "session/wheel_test.h"

#include <algorithm>
#include <boost/math/distributions/binomial.hpp>
#include <boost/math/distributions/chi_squared.hpp>
#include <cmath>
#include <cstdio>

#include "engine/chart_counts.h"

namespace orbista {

const std::array<WheelGroupInfo, WheelGroupCount> WheelGroupsTable = {{
    {WheelGroup::Numbers, "numbers", "Числа"},
    {WheelGroup::Dozens, "dozens", "Дюжины"},
    {WheelGroup::Columns, "columns", "Колонны"},
    {WheelGroup::Colours, "colours", "Цвета"},
    {WheelGroup::Parity, "parity", "Чёт/нечет"},
    {WheelGroup::Halves, "halves", "Половины"},
    {WheelGroup::SixLines, "six-lines", "Сикслайны"},
    {WheelGroup::Streets, "streets", "Стриты"},
}};

namespace {

constexpr double Fair = 1.0 / NumberCount;

// A group's cells: the label of each and the cell of each number in it.
struct GroupCells {
    std::vector<std::string> labels;
    std::array<int, NumberCount> cellOf{};
};

// The cells a number counts in, found by the charts' own counting, so that a dozen or a street
// means here what it means on the "Графики" tab; zero is the group's last cell.
template <size_t N>
GroupCells CellsFrom(std::array<int32_t, N> ChartCounters::*member,
                     std::vector<std::string> labels) {
    GroupCells cells{std::move(labels), {}};
    cells.labels.emplace_back("зеро");
    cells.cellOf[0] = static_cast<int>(N);
    for (int number = 1; number < NumberCount; ++number) {
        ChartCounters counters;
        CountSpin(counters, number);
        const auto& hits = counters.*member;
        cells.cellOf[number] =
            static_cast<int>(std::find(hits.begin(), hits.end(), 1) - hits.begin());
    }
    return cells;
}

std::vector<std::string> RangeLabels(int count, int width) {
    std::vector<std::string> labels;
    for (int k = 0; k < count; ++k) {
        labels.push_back(std::to_string(k * width + 1) + "-" + std::to_string((k + 1) * width));
    }
    return labels;
}

GroupCells CellsOf(WheelGroup group) {
    switch (group) {
        case WheelGroup::Numbers: {
            GroupCells cells;
            for (int number = 0; number < NumberCount; ++number) {
                cells.labels.push_back(std::to_string(number));
                cells.cellOf[number] = number;
            }
            return cells;
        }
        case WheelGroup::Dozens:
            return CellsFrom(&ChartCounters::DozenHits, RangeLabels(3, 12));
        case WheelGroup::Columns:
            return CellsFrom(&ChartCounters::ColumnHits, {"колонна 1", "колонна 2", "колонна 3"});
        case WheelGroup::Colours:
            return CellsFrom(&ChartCounters::ColourHits, {"красное", "чёрное"});
        case WheelGroup::Parity:
            return CellsFrom(&ChartCounters::ParityHits, {"чёт", "нечет"});
        case WheelGroup::Halves:
            return CellsFrom(&ChartCounters::HalfHits, RangeLabels(2, 18));
        case WheelGroup::SixLines:
            return CellsFrom(&ChartCounters::SixLineHits, RangeLabels(6, 6));
        case WheelGroup::Streets:
            return CellsFrom(&ChartCounters::StreetHits, RangeLabels(12, 3));
    }
    return {};
}

GroupTest TestGroup(WheelGroup group, const std::array<int64_t, NumberCount>& hits, int64_t spins) {
    const GroupCells cells = CellsOf(group);
    const size_t count = cells.labels.size();
    std::vector<int64_t> observed(count, 0);
    std::vector<int> numbersIn(count, 0);
    for (int number = 0; number < NumberCount; ++number) {
        const auto cell = static_cast<size_t>(cells.cellOf[number]);
        observed[cell] += hits[number];
        ++numbersIn[cell];
    }
    std::vector<double> expected(count);
    for (size_t c = 0; c < count; ++c) {
        expected[c] = static_cast<double>(spins) * numbersIn[c] / NumberCount;
    }
    GroupTest test;
    test.group = group;
    test.degreesOfFreedom = static_cast<int>(count) - 1;
    test.chiSquare = ChiSquareStatistic(observed, expected);
    test.pValue = spins == 0 ? 1.0 : ChiSquarePValue(test.chiSquare, test.degreesOfFreedom);
    for (size_t c = 0; c < count; ++c) {
        const double e = expected[c];
        const double deviation = e > 0 ? (static_cast<double>(observed[c]) - e) / std::sqrt(e) : 0;
        test.cells.push_back({cells.labels[c], observed[c], e, deviation});
        test.sampleTooSmall = test.sampleTooSmall || e < SmallestReliableExpected;
    }
    return test;
}

// The two-sided p-value of a binomial count: twice the smaller tail, at most 1.
double BinomialTwoSided(int64_t count, int64_t trials, double probability) {
    if (trials <= 0) {
        return 1.0;
    }
    const boost::math::binomial_distribution<double> distribution(static_cast<double>(trials),
                                                                  probability);
    const double k = static_cast<double>(count);
    const double lower = boost::math::cdf(distribution, k);
    const double upper = count == 0 ? 1.0 : boost::math::cdf(complement(distribution, k - 1));
    return std::min(1.0, 2 * std::min(lower, upper));
}

std::string Decimal(double value, const char* format) {
    char text[32];
    std::snprintf(text, sizeof text, format, value);
    std::string result = text;
    std::replace(result.begin(), result.end(), '.', ',');  // the player reads Russian
    return result;
}

std::string PValueText(double p) {
    return p < 0.0001 ? "p < 0,0001" : "p = " + Decimal(p, "%.4f");
}

std::string_view CaptionOf(WheelGroup group) {
    return WheelGroupsTable[static_cast<size_t>(group)].caption;
}

}  // namespace

double ChiSquareStatistic(std::span<const int64_t> observed, std::span<const double> expected) {
    double statistic = 0;
    for (size_t c = 0; c < observed.size(); ++c) {
        if (expected[c] > 0) {
            const double difference = static_cast<double>(observed[c]) - expected[c];
            statistic += difference * difference / expected[c];
        }
    }
    return statistic;
}

double ChiSquarePValue(double statistic, int degreesOfFreedom) {
    const boost::math::chi_squared_distribution<double> distribution(degreesOfFreedom);
    return boost::math::cdf(complement(distribution, statistic));
}

double LongAbsenceProbability(int64_t spins, int64_t absence) {
    if (absence <= 0) {
        return 1.0;
    }
    if (absence > spins) {
        return 0.0;
    }
    // v[k], the chance that a stretch of `absence` spins without the number has come within the
    // first k spins, grows by the chance that the first such stretch ends at spin k: the number
    // came at spin k - absence (or that is before the start), not at the `absence` spins since,
    // and no such stretch ended within the first k - absence - 1 spins:
    //   v[k] = v[k-1] + p q^absence (1 - v[k - absence - 1]),  v[absence] = q^absence.
    // Summing up positive terms keeps small chances exact to the last digits.
    const double q = 1.0 - Fair;
    const double allAbsent = std::pow(q, static_cast<double>(absence));
    const double firstEnd = Fair * allAbsent;
    if (spins <= 2 * absence) {
        // v[k - absence - 1] is still 0: each spin past `absence` adds the same chance.
        return std::min(1.0, allAbsent + static_cast<double>(spins - absence) * firstEnd);
    }
    // The last absence + 1 values, where v[k - absence - 1] is read and v[k] then written.
    const auto window = static_cast<size_t>(absence + 1);
    std::vector<double> recent(window, 0.0);
    recent[window - 1] = allAbsent;
    double v = allAbsent;
    size_t slot = 0;
    for (int64_t k = absence + 1; k <= spins && v < 1.0; ++k) {
        v += firstEnd * (1.0 - recent[slot]);
        recent[slot] = v;
        if (++slot == window) {
            slot = 0;
        }
    }
    return std::min(v, 1.0);
}

WheelTestResult TestWheel(std::span<const uint8_t> spins) {
    WheelTestResult result;
    result.spins = static_cast<int64_t>(spins.size());
    std::array<int64_t, NumberCount> hits{};
    std::array<int64_t, NumberCount> lastSeen;  // the index of the last hit, -1 before any
    lastSeen.fill(-1);
    std::array<int64_t, NumberCount> longest{};
    for (size_t i = 0; i < spins.size(); ++i) {
        const uint8_t number = spins[i];
        ++hits[number];
        longest[number] = std::max(longest[number], static_cast<int64_t>(i) - lastSeen[number] - 1);
        lastSeen[number] = static_cast<int64_t>(i);
        result.repeats += i > 0 && spins[i - 1] == number;
    }
    for (int number = 0; number < NumberCount; ++number) {
        NumberFigures& figures = result.numbers[number];
        figures.hits = hits[number];
        figures.longestAbsence = std::max(longest[number], result.spins - lastSeen[number] - 1);
        figures.absenceProbability = LongAbsenceProbability(result.spins, figures.longestAbsence);
    }
    for (const WheelGroupInfo& info : WheelGroupsTable) {
        result.tests[static_cast<size_t>(info.group)] = TestGroup(info.group, hits, result.spins);
    }
    const int64_t pairs = std::max<int64_t>(result.spins - 1, 0);
    result.expectedRepeats = static_cast<double>(pairs) * Fair;
    result.repeatsPValue = BinomialTwoSided(result.repeats, pairs, Fair);
    return result;
}

std::vector<std::string> WheelVerdict(const WheelTestResult& result) {
    if (result.spins == 0) {
        return {"Нет спинов для проверки."};
    }
    std::vector<std::string> lines;
    const GroupTest* smallest = nullptr;
    int belowLevel = 0;
    bool tooSmall = false;
    for (const GroupTest& test : result.tests) {
        tooSmall = tooSmall || test.sampleTooSmall;
        belowLevel += test.pValue < WheelTestLevel;
        if (smallest == nullptr || test.pValue < smallest->pValue) {
            smallest = &test;
        }
    }
    const std::string worst =
        "«" + std::string(CaptionOf(smallest->group)) + "», " + PValueText(smallest->pValue);
    if (tooSmall) {
        lines.push_back(std::string(SmallSampleWarning) +
                        ": в части проверок ожидается меньше 5 попаданий в группу, и их "
                        "p-значения неточны.");
    }
    if (smallest->pValue < WheelBonferroniLevel) {
        lines.push_back(
            "Отклонение от честного колеса заметно и с поправкой на восемь проверок: " + worst +
            " (ниже 0,05/8 = 0,00625). Это повод присмотреться к колесу и собрать "
            "больше спинов, а не предсказание следующих чисел.");
    } else if (belowLevel > 0) {
        lines.push_back(std::to_string(belowLevel) +
                        " из 8 проверок дают p < 0,05 (наименьшее: " + worst +
                        "), но с поправкой на восемь проверок (0,05/8 = 0,00625) отклонения нет: "
                        "такие спины обычны и для честного колеса.");
    } else {
        lines.push_back(
            "Ни одна из восьми проверок не отличает эти спины от спинов честного колеса (все p "
            "не меньше 0,05).");
    }
    lines.push_back(
        "Восемь проверок на уровне 5 % дают хотя бы одну ложную тревогу примерно в одной "
        "перманенте честного колеса из трёх (1 − 0,95⁸ ≈ 0,34), поэтому заметным считается лишь "
        "p ниже 0,05/8 ≈ 0,006 (поправка Бонферрони). «Горячие» и «холодные» числа бывают и у "
        "честного колеса.");
    return lines;
}

}  // namespace orbista

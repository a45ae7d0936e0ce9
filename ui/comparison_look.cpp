#include "ui/comparison_look.h"

#include <QChart>
#include <QChartView>
#include <QLocale>
#include <algorithm>
#include <array>

namespace orbista {

size_t ShownComparison::PlanIndex(SelectionSystem system) const {
    return static_cast<size_t>(std::find(plan->systems.begin(), plan->systems.end(), system) -
                               plan->systems.begin());
}

QString Caption(SelectionSystem system) {
    const SystemInfo* info = InfoOf(system);
    return info == nullptr ? QString("—") : QText(info->caption);
}

QString ShortName(SelectionSystem system) {
    const SystemInfo* info = InfoOf(system);
    return info == nullptr ? QString("—") : QText(info->shortCaption);
}

QColor SystemColour(SelectionSystem system) {
    // Thirteen colours far enough apart to tell the curves of one plot from each other.
    static const std::array<QColor, 13> colours = {
        QColor(31, 119, 180),  QColor(255, 127, 14), QColor(44, 160, 44),   QColor(214, 39, 40),
        QColor(148, 103, 189), QColor(140, 86, 75),  QColor(227, 119, 194), QColor(90, 90, 90),
        QColor(188, 189, 34),  QColor(23, 190, 207), QColor(0, 0, 128),     QColor(128, 128, 0),
        QColor(0, 128, 128)};
    const auto& systems = SystemsTable();
    const auto at = std::find_if(systems.begin(), systems.end(),
                                 [&](const SystemInfo& info) { return info.system == system; });
    return colours[static_cast<size_t>(at - systems.begin()) % colours.size()];
}

QString WindowNumber(double value, int decimals) {
    return QText(FixedText(value, decimals, WindowNumbers));
}

QString WindowText(const Cell& cell) {
    return QText(CellText(cell, WindowNumbers));
}

void ShowChart(QChartView* view, QChart* chart) {
    // The axes write their numbers as the table does: a decimal comma, no grouping.
    QLocale russian(QLocale::Russian, QLocale::Russia);
    russian.setNumberOptions(QLocale::OmitGroupSeparator);
    chart->setLocale(russian);
    chart->setLocalizeNumbers(true);
    QChart* old = view->chart();
    view->setChart(chart);
    delete old;
}

}  // namespace orbista

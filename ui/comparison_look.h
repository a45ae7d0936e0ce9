#pragma once

#include <QColor>
#include <QString>
#include <memory>
#include <string_view>
#include <vector>

#include "session/comparison_columns.h"
#include "ui/qt_text.h"

class QChart;
class QChartView;

namespace orbista {

// What every page of the comparison window shows: one finished comparison, and its systems in
// the order of the table.
// Shared, so that a page may keep it while the next comparison runs.
struct ShownComparison {
    std::shared_ptr<const ComparisonPlan> plan;
    std::shared_ptr<const ComparisonResult> result;
    std::vector<SystemFigures> ranked;

    // The place in the plan of a system, which indexes the result.
    size_t PlanIndex(SelectionSystem system) const;
};

// The whole caption for the table, the lists and the check boxes; a short one for a plot's axis.
QString Caption(SelectionSystem system);
QString ShortName(SelectionSystem system);
// A system keeps its colour on every plot, whatever the order.
QColor SystemColour(SelectionSystem system);
// A number as the window writes it: the Russian decimal comma, a true minus.
QString WindowNumber(double value, int decimals);
QString WindowText(const Cell& cell);

// Puts a chart into its view, dropping the one it showed before.
void ShowChart(QChartView* view, QChart* chart);

}  // namespace orbista

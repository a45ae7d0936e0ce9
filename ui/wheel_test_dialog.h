#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

#include "session/wheel_test.h"

class QLabel;
class QRadioButton;
class QTableWidget;

namespace orbista {

class BarChart;

// "Проверка колеса": whether the spins of the game, or of a permanence the player opens, look
// like those of a fair wheel. A bar per number shows how far its hits are from the expected, in
// the chart's own order (wheel or table); two tables give the eight tests and every number's
// figures; the verdict says in plain words what they come to.
class WheelTestDialog : public QDialog {
    Q_OBJECT

  public:
    // The open dialog of "Открыть перманенту…"; an empty list means the player cancelled.
    using OpenPathsChooser = std::function<QStringList(QWidget* parent)>;
    using ErrorReporter = std::function<void(std::string_view text)>;

    WheelTestDialog(ErrorReporter report, QWidget* parent);

    // Tests these spins (oldest first) and shows the outcome; `source` says where they came from.
    void ShowSpins(std::vector<uint8_t> spins, const QString& source);
    // "Открыть перманенту…": the chosen files, joined in the order of their names.
    void OpenPermanence();
    void SetWheelOrder(bool wheelOrder);
    void SetOpenPathsChooser(OpenPathsChooser chooser) { choosePaths_ = std::move(chooser); }

    const std::optional<WheelTestResult>& Result() const { return result_; }
    BarChart* DeviationChart() const { return chart_; }
    QTableWidget* TestsTable() const { return tests_; }
    QTableWidget* NumbersTable() const { return numbers_; }
    QLabel* Source() const { return source_; }
    QLabel* Verdict() const { return verdict_; }

  private:
    void FillChart();
    void FillTests();
    void FillNumbers();

    ErrorReporter report_;
    OpenPathsChooser choosePaths_;
    QLabel* source_ = nullptr;
    QRadioButton* wheelOrder_ = nullptr;
    QRadioButton* tableOrder_ = nullptr;
    BarChart* chart_ = nullptr;
    QTableWidget* tests_ = nullptr;
    QTableWidget* numbers_ = nullptr;
    QLabel* repeats_ = nullptr;
    QLabel* verdict_ = nullptr;
    std::optional<WheelTestResult> result_;
};

}  // namespace orbista

#include "ui/wheel_test_dialog.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <filesystem>

#include "engine/chart_counts.h"
#include "model/errors.h"
#include "storage/permanence.h"
#include "ui/bar_chart.h"
#include "ui/qt_text.h"

namespace orbista {

namespace {

QStringList ChoosePermanences(QWidget* parent) {
    return QFileDialog::getOpenFileNames(parent, "Открыть перманенту", QString(),
                                         "Text File (*.txt *.csv);;All Files (*)");
}

QString PValue(double p) {
    return p < 0.0001 ? QString("< 0,0001") : QString::number(p, 'f', 4).replace('.', ',');
}

QString Fixed(double value, int decimals) {
    return QString::number(value, 'f', decimals).replace('.', ',');
}

// A column caption with what its figure means in a tooltip.
struct Column {
    const char* caption;
    const char* meaning;
};

void SetColumns(QTableWidget* table, std::initializer_list<Column> columns) {
    table->setColumnCount(static_cast<int>(columns.size()));
    int c = 0;
    for (const Column& column : columns) {
        auto* item = new QTableWidgetItem(column.caption);
        item->setToolTip(column.meaning);
        table->setHorizontalHeaderItem(c++, item);
    }
}

QTableWidget* NewTable() {
    auto* table = new QTableWidget;
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->verticalHeader()->hide();
    table->verticalHeader()->setDefaultSectionSize(22);
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table->horizontalHeader()->setStretchLastSection(true);
    return table;
}

void SetRow(QTableWidget* table, int row, const QStringList& cells) {
    for (int c = 0; c < cells.size(); ++c) {
        auto* item = new QTableWidgetItem(cells[c]);
        if (c > 0) {
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        }
        table->setItem(row, c, item);
    }
}

}  // namespace

WheelTestDialog::WheelTestDialog(ErrorReporter report, QWidget* parent)
    : QDialog(parent), report_(std::move(report)), choosePaths_(ChoosePermanences) {
    setObjectName("WheelTestDialog");
    setWindowTitle("Проверка колеса");
    resize(760, 700);

    source_ = new QLabel;
    source_->setWordWrap(true);
    auto* open = new QPushButton("Открыть перманенту…");
    open->setToolTip(
        "Файлы с номерами 0–36 через запятую, точку с запятой, пробел или с новой строки; "
        "несколько файлов проверяются вместе, по порядку имён.");
    wheelOrder_ = new QRadioButton("По колесу");
    tableOrder_ = new QRadioButton("По столу");
    tableOrder_->setChecked(true);
    auto* top = new QHBoxLayout;
    top->addWidget(source_, 1);
    top->addWidget(wheelOrder_);
    top->addWidget(tableOrder_);
    top->addWidget(open);

    BarChartLook look;
    look.labelFontPixels = 9;
    look.labelRows = 2;  // 37 labels would not fit side by side
    chart_ = new BarChart("WheelDeviationChart", look, this);
    chart_->setMinimumHeight(220);
    chart_->setToolTip(
        "Столбик числа: (выпало − ожидается) / √ожидается. У честного колеса почти все столбики "
        "лежат между −2 и 2, а один-два из 37 выходят за эти пределы и без всякой причины.");

    tests_ = NewTable();
    tests_->setObjectName("WheelTests");
    SetColumns(tests_,
               {{"Проверка", "Какие группы чисел сравниваются; зеро — отдельная группа"},
                {"Групп", "Сколько групп в проверке"},
                {"Степеней свободы", "Групп минус одна: от них зависит обычная величина χ²"},
                {"χ²",
                 "Сумма (выпало − ожидается)² / ожидается по группам: чем больше, тем "
                 "дальше счёт от честного колеса"},
                {"p",
                 "Вероятность получить χ² не меньше этого от честного колеса. Малое p — "
                 "повод присмотреться, а не предсказание"},
                {"Примечание",
                 "«Выборка мала для вывода»: в группе ожидается меньше 5 "
                 "попаданий, и p неточно"}});
    numbers_ = NewTable();
    numbers_->setObjectName("WheelNumbers");
    SetColumns(numbers_,
               {{"Число", "Номер рулетки"},
                {"Выпало", "Сколько раз число выпало"},
                {"Ожидается", "Спинов / 37: столько в среднем даёт честное колесо"},
                {"Отклонение", "(выпало − ожидается) / √ожидается, как на графике"},
                {"Наибольшее отсутствие",
                 "Больше всего спинов подряд без этого числа, считая начало и конец"},
                {"Вероятность такого отсутствия",
                 "Вероятность, что честное колесо за столько же спинов где-нибудь не даст это "
                 "число столько спинов подряд или дольше (точный расчёт)"}});
    auto* pages = new QTabWidget;
    pages->addTab(tests_, "Проверки");
    pages->addTab(numbers_, "Числа");

    repeats_ = new QLabel;
    repeats_->setToolTip(
        "Сколько раз число выпало сразу после себя же. У честного колеса каждый спин повторяет "
        "предыдущий с вероятностью 1/37, так что ожидается (спинов − 1) / 37.");
    verdict_ = new QLabel;
    verdict_->setObjectName("WheelVerdict");
    verdict_->setWordWrap(true);
    verdict_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(chart_);
    layout->addWidget(pages, 1);
    layout->addWidget(repeats_);
    layout->addWidget(verdict_);

    connect(open, &QPushButton::clicked, this, &WheelTestDialog::OpenPermanence);
    connect(wheelOrder_, &QRadioButton::toggled, this, [this] { FillChart(); });
}

void WheelTestDialog::SetWheelOrder(bool wheelOrder) {
    (wheelOrder ? wheelOrder_ : tableOrder_)->setChecked(true);
}

void WheelTestDialog::ShowSpins(std::vector<uint8_t> spins, const QString& source) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    result_ = TestWheel(spins);
    QApplication::restoreOverrideCursor();
    source_->setText(QString("%1; спинов: %2").arg(source).arg(result_->spins));
    FillChart();
    FillTests();
    FillNumbers();
    repeats_->setText(QString("Повторы подряд: %1, ожидается %2, p = %3")
                          .arg(result_->repeats)
                          .arg(Fixed(result_->expectedRepeats, 1))
                          .arg(PValue(result_->repeatsPValue)));
    QStringList verdict;
    for (const std::string& line : WheelVerdict(*result_)) {
        verdict << QText(line);
    }
    verdict_->setText(verdict.join("\n"));
}

void WheelTestDialog::OpenPermanence() {
    QStringList names = choosePaths_(this);
    if (names.isEmpty()) {
        return;
    }
    names.sort();
    std::vector<std::filesystem::path> files;
    for (const QString& name : names) {
        files.emplace_back(QFile::encodeName(name).toStdString());
    }
    try {
        Permanence joined = ReadPermanences(files);
        const QString source = names.size() == 1
                                   ? QString("Файл %1").arg(QFileInfo(names.front()).fileName())
                                   : QString("Файлов: %1").arg(names.size());
        ShowSpins(std::move(joined.spins), source);
    } catch (const FileError& error) {
        report_(error.what());
    }
}

void WheelTestDialog::FillChart() {
    if (!result_) {
        return;
    }
    const GroupTest& numbers = result_->tests[static_cast<size_t>(WheelGroup::Numbers)];
    ChartSeries series;
    series.title = "Отклонение от ожидаемого: (выпало − ожидается) / √ожидается";
    for (int k = 0; k < NumberCount; ++k) {
        const int number = wheelOrder_->isChecked() ? ChartWheelSequence[k] : k;
        const WheelCell& cell = numbers.cells[static_cast<size_t>(number)];
        series.bars.Append(cell.deviation, cell.label);
    }
    chart_->SetSeries(std::move(series));
}

void WheelTestDialog::FillTests() {
    tests_->setRowCount(WheelGroupCount);
    for (const WheelGroupInfo& info : WheelGroupsTable) {
        const GroupTest& test = result_->tests[static_cast<size_t>(info.group)];
        const int row = static_cast<int>(info.group);
        SetRow(tests_, row,
               {QText(info.caption), QString::number(test.cells.size()),
                QString::number(test.degreesOfFreedom), Fixed(test.chiSquare, 2),
                PValue(test.pValue), test.sampleTooSmall ? QText(SmallSampleWarning) : ""});
    }
}

void WheelTestDialog::FillNumbers() {
    const GroupTest& numbers = result_->tests[static_cast<size_t>(WheelGroup::Numbers)];
    numbers_->setRowCount(NumberCount);
    for (int number = 0; number < NumberCount; ++number) {
        const NumberFigures& figures = result_->numbers[static_cast<size_t>(number)];
        const WheelCell& cell = numbers.cells[static_cast<size_t>(number)];
        SetRow(numbers_, number,
               {QString::number(number), QString::number(figures.hits), Fixed(cell.expected, 1),
                Fixed(cell.deviation, 2), QString::number(figures.longestAbsence),
                PValue(figures.absenceProbability)});
    }
}

}  // namespace orbista

#include "ui/comparison_window.h"

#include <QAreaSeries>
#include <QBarCategoryAxis>
#include <QBoxPlotSeries>
#include <QBoxSet>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFile>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPen>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>
#include <cmath>
#include <functional>
#include <thread>

#include "model/errors.h"
#include "session/comparison_stats.h"
#include "storage/text_file.h"
#include "ui/frozen_column_table.h"

namespace orbista {

namespace {

constexpr int ProgressSteps = 1000;
constexpr std::chrono::milliseconds ProgressInterval(200);

QString FromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString ChooseCsvPath(QWidget* parent) {
    return QFileDialog::getSaveFileName(parent, "Сохранить CSV", QString(),
                                        "CSV (*.csv);;All Files (*)");
}

// A short name for a plot's axis; the table and the check boxes use the whole caption.
QString ShortName(SelectionSystem system) {
    const SystemInfo* info = InfoOf(system);
    return info == nullptr ? QString("—")
                           : QString::fromUtf8(info->shortCaption.data(),
                                               static_cast<qsizetype>(info->shortCaption.size()));
}

// A cell that sorts by its number, not by its text.
class NumberItem : public QTableWidgetItem {
  public:
    NumberItem(double value, const QString& text) : QTableWidgetItem(text) {
        setData(Qt::UserRole, value);
        setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    bool operator<(const QTableWidgetItem& other) const override {
        return data(Qt::UserRole).toDouble() < other.data(Qt::UserRole).toDouble();
    }
};

QString Fixed(double value, int decimals) {
    return QString::number(value, 'f', decimals);
}

QString Percent(double share, int decimals) {
    return QString::number(100 * share, 'f', decimals) + " %";
}

std::pair<double, QString> Count(int64_t count) {
    return {static_cast<double>(count), QString::number(count)};
}

std::pair<double, QString> Units(double units) {
    return {units, Fixed(units, 1)};
}

std::pair<double, QString> Share(double share, int decimals) {
    return {share, Percent(share, decimals)};
}

QString Seconds(double seconds) {
    const int whole = static_cast<int>(std::ceil(seconds));
    if (whole >= 60) {
        return QString("%1 мин %2 с").arg(whole / 60).arg(whole % 60);
    }
    return QString("%1 с").arg(whole);
}

const std::array<QColor, 13> SystemColours = {
    QColor(31, 119, 180),  QColor(255, 127, 14), QColor(44, 160, 44),   QColor(214, 39, 40),
    QColor(148, 103, 189), QColor(140, 86, 75),  QColor(227, 119, 194), QColor(127, 127, 127),
    QColor(188, 189, 34),  QColor(23, 190, 207), QColor(0, 0, 128),     QColor(128, 128, 0),
    QColor(0, 128, 128)};

std::vector<double> SortedFinals(const std::vector<RunFigures>& runs) {
    std::vector<double> finals;
    for (const RunFigures& run : runs) {
        finals.push_back(static_cast<double>(run.finalTotalBalance));
    }
    std::sort(finals.begin(), finals.end());
    return finals;
}

}  // namespace

ComparisonWindow::ComparisonWindow(const SettingsModel& settings, MessagePresenter present,
                                   std::filesystem::path spinFolder, QWidget* parent)
    : QWidget(parent, Qt::Window),
      settings_(settings),
      present_(std::move(present)),
      spinFolder_(std::move(spinFolder)),
      chooseSavePath_(ChooseCsvPath) {
    setObjectName("ComparisonWindow");
    setWindowTitle("Сравнение систем");
    resize(1180, 680);

    auto* controls = new QVBoxLayout;
    controls->addWidget(BuildSystemsBox());
    controls->addWidget(BuildSpinsBox());
    start_ = new QPushButton("Начать");
    stop_ = new QPushButton("Остановить");
    save_ = new QPushButton("Сохранить CSV…");
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(start_);
    buttons->addWidget(stop_);
    controls->addLayout(buttons);
    controls->addWidget(save_);
    controls->addStretch();

    progressBar_ = new QProgressBar;
    progressBar_->setRange(0, ProgressSteps);
    progressBar_->setValue(0);
    timeLeft_ = new QLabel("Осталось: —");
    auto* progressRow = new QHBoxLayout;
    progressRow->addWidget(progressBar_, 1);
    progressRow->addWidget(timeLeft_);

    table_ = new FrozenColumnTable;
    table_->setObjectName("ComparisonTable");
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->verticalHeader()->hide();
    finalView_ = new QChartView;
    finalView_->setRenderHint(QPainter::Antialiasing);
    curvesView_ = new QChartView;
    curvesView_->setRenderHint(QPainter::Antialiasing);
    results_ = new QTabWidget;
    results_->addTab(table_, "Таблица");
    results_->addTab(finalView_, "Итоговый баланс");
    results_->addTab(curvesView_, "Баланс по ходу игры");

    auto* right = new QVBoxLayout;
    right->addLayout(progressRow);
    right->addWidget(results_, 1);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(controls);
    layout->addLayout(right, 1);

    timer_ = new QTimer(this);
    timer_->setInterval(ProgressInterval);
    connect(timer_, &QTimer::timeout, this, &ComparisonWindow::ShowProgress);
    connect(start_, &QPushButton::clicked, this, &ComparisonWindow::Start);
    connect(stop_, &QPushButton::clicked, this, &ComparisonWindow::Stop);
    connect(save_, &QPushButton::clicked, this, &ComparisonWindow::SaveCsv);
    UpdateButtons();
}

ComparisonWindow::~ComparisonWindow() {
    if (Running()) {
        progress_->RequestStop();
        running_.wait();
    }
}

QWidget* ComparisonWindow::BuildSystemsBox() {
    auto* box = new QGroupBox("Системы");
    auto* layout = new QVBoxLayout(box);
    const std::vector<SelectionSystem> betting = BettingSystems();
    for (const SystemInfo& info : SystemsTable()) {
        auto* check = new QCheckBox(FromUtf8(info.caption));
        check->setChecked(std::find(betting.begin(), betting.end(), info.system) != betting.end());
        layout->addWidget(check);
        systemBoxes_.emplace_back(info.system, check);
    }
    return box;
}

QWidget* ComparisonWindow::BuildSpinsBox() {
    auto* box = new QGroupBox("Игры");
    auto* layout = new QGridLayout(box);
    randomSpins_ = new QRadioButton("Случайные спины");
    randomSpins_->setChecked(true);
    games_ = new QSpinBox;
    games_->setRange(1, static_cast<int>(MostComparisonRuns));
    games_->setValue(100);
    spins_ = new QSpinBox;
    spins_->setRange(1, static_cast<int>(MostComparisonSpinsPerRun));
    spins_->setValue(10000);
    seed_ = new QSpinBox;
    seed_->setRange(0, 2'000'000'000);
    seed_->setValue(1);
    fileSpins_ = new QRadioButton("Спины из файлов");
    gameLength_ = new QSpinBox;
    gameLength_->setRange(0, static_cast<int>(MostComparisonSpinsPerRun));
    gameLength_->setSpecialValueText("файл целиком");
    gameLength_->setToolTip(
        "0: каждый файл — одна игра. Иначе файлы по порядку склеиваются и "
        "режутся на игры по столько спинов; остаток короче игры отбрасывается.");
    auto* chooseFiles = new QPushButton("Файлы…");
    auto* chooseFolder = new QPushButton("Папка…");
    filesLabel_ = new QLabel("Файлы не выбраны");
    filesLabel_->setWordWrap(true);

    layout->addWidget(randomSpins_, 0, 0, 1, 2);
    layout->addWidget(new QLabel("Количество игр:"), 1, 0);
    layout->addWidget(games_, 1, 1);
    layout->addWidget(new QLabel("Спинов в игре:"), 2, 0);
    layout->addWidget(spins_, 2, 1);
    layout->addWidget(new QLabel("Начальное число:"), 3, 0);
    layout->addWidget(seed_, 3, 1);
    layout->addWidget(fileSpins_, 4, 0, 1, 2);
    layout->addWidget(new QLabel("Длина игры:"), 5, 0);
    layout->addWidget(gameLength_, 5, 1);
    layout->addWidget(chooseFiles, 6, 0);
    layout->addWidget(chooseFolder, 6, 1);
    layout->addWidget(filesLabel_, 7, 0, 1, 2);

    connect(chooseFiles, &QPushButton::clicked, this, [this] {
        const QStringList names = QFileDialog::getOpenFileNames(
            this, "Файлы спинов", QString::fromStdString(spinFolder_.string()),
            "Text File (*.txt);;All Files (*)");
        if (!names.isEmpty()) {
            std::vector<std::filesystem::path> files;
            for (const QString& name : names) {
                files.emplace_back(name.toStdString());
            }
            SetSpinFiles(std::move(files));
        }
    });
    connect(chooseFolder, &QPushButton::clicked, this, [this] {
        const QString folder = QFileDialog::getExistingDirectory(
            this, "Папка со спинами", QString::fromStdString(spinFolder_.string()));
        if (!folder.isEmpty()) {
            RunCommand([&] { SetSpinFiles(SpinFilesOfFolder(folder.toStdString())); });
        }
    });
    return box;
}

void ComparisonWindow::SetSpinFiles(std::vector<std::filesystem::path> files) {
    spinFiles_ = std::move(files);
    fileSpins_->setChecked(!spinFiles_.empty());
    randomSpins_->setChecked(spinFiles_.empty());
    filesLabel_->setText(spinFiles_.empty() ? QString("В папке нет файлов спинов")
                                            : QString("Выбрано файлов: %1").arg(spinFiles_.size()));
}

QCheckBox* ComparisonWindow::SystemBox(SelectionSystem system) const {
    for (const auto& [which, box] : systemBoxes_) {
        if (which == system) {
            return box;
        }
    }
    return nullptr;
}

ComparisonPlan ComparisonWindow::PlanFromFields() const {
    ComparisonPlan plan;
    for (const auto& [system, box] : systemBoxes_) {
        if (box->isChecked()) {
            plan.systems.push_back(system);
        }
    }
    const std::array<int32_t, StoredRowCount> values = CaptureRows(settings_);
    StoredSettings rows{};
    for (int k = 0; k < StoredRowCount; ++k) {
        rows[k].first = values[k];
    }
    plan.settings = rows;
    plan.sectorsOnTable = settings_.Flag(Setting::SectorsOnTable);
    plan.seed = static_cast<uint64_t>(seed_->value());
    if (fileSpins_->isChecked()) {
        plan.spinFiles = spinFiles_;
        plan.gameLength = gameLength_->value();
    } else {
        plan.runs = games_->value();
        plan.spinsPerRun = spins_->value();
    }
    plan.jobs = static_cast<int>(std::max(1U, std::thread::hardware_concurrency()));
    return plan;
}

void ComparisonWindow::Start() {
    RunCommand([this] { StartComparison(); });
}

void ComparisonWindow::StartComparison() {
    if (Running()) {
        return;
    }
    ComparisonPlan plan = PlanFromFields();
    if (plan.systems.empty()) {
        present_(this, "Отметьте хотя бы одну систему.");
        return;
    }
    if (fileSpins_->isChecked() && plan.spinFiles.empty()) {
        present_(this, "Выберите файлы спинов или папку с ними.");
        return;
    }
    comparison_ = std::make_unique<Comparison>(std::move(plan));
    if (const GameCut& cut = comparison_->Cut(); cut.games > 0) {
        filesLabel_->setText(
            QString("Выбрано файлов: %1; спинов: %2, игр: %3, отброшено спинов: %4")
                .arg(spinFiles_.size())
                .arg(cut.spins)
                .arg(cut.games)
                .arg(cut.dropped));
    }
    progress_ = std::make_unique<ComparisonProgress>();
    started_ = std::chrono::steady_clock::now();
    running_ = std::async(std::launch::async,
                          [comparison = comparison_.get(), progress = progress_.get()] {
                              return comparison->Run(*progress);
                          });
    progressBar_->setValue(0);
    timeLeft_->setText("Осталось: —");
    timer_->start();
    UpdateButtons();
}

void ComparisonWindow::Stop() {
    if (Running()) {
        progress_->RequestStop();
    }
}

void ComparisonWindow::WaitForResults() {
    if (Running()) {
        running_.wait();
        Finish();
    }
}

void ComparisonWindow::ShowProgress() {
    if (!Running()) {
        return;
    }
    if (running_.wait_for(std::chrono::seconds(0)) == std::future_status::ready) {
        Finish();
        return;
    }
    const double total = static_cast<double>(std::max<int64_t>(comparison_->TotalSpins(), 1));
    const double done = static_cast<double>(progress_->SpinsDone());
    progressBar_->setValue(static_cast<int>(ProgressSteps * done / total));
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started_).count();
    if (done > 0 && seconds > 0.5) {
        timeLeft_->setText("Осталось: " + Seconds((total - done) * seconds / done));
    }
}

void ComparisonWindow::Finish() {
    timer_->stop();
    std::future<ComparisonResult> finished = std::move(running_);
    UpdateButtons();
    RunCommand([&] {
        result_ = finished.get();
        progressBar_->setValue(result_->stopped ? progressBar_->value() : ProgressSteps);
        timeLeft_->setText(result_->stopped ? "Остановлено" : "Готово");
        ShowResults();
    });
}

void ComparisonWindow::ShowResults() {
    FillTable();
    DrawFinalBalances();
    DrawBalanceCurves();
    UpdateButtons();
}

namespace {

// One column of the results table: its caption and what it shows of a system.
struct Column {
    const char* caption;
    std::function<std::pair<double, QString>(const SystemFigures&)> cell;
};

// The return per unit staked stands next to the median, beside what a fair wheel gives, so that
// no result is read without the house edge.
const std::vector<Column>& TableColumns() {
    static const std::vector<Column> columns = {
        {"Игр", [](const SystemFigures& f) { return Count(f.runs); }},
        {"Спинов", [](const SystemFigures& f) { return Count(f.spins); }},
        {"Медиана\nитога", [](const SystemFigures& f) { return Units(f.medianFinal); }},
        {"Возврат на\nединицу ставки",
         [](const SystemFigures& f) { return Share(f.returnPerUnit, 2); }},
        {"Ошибка\nвозврата",
         [](const SystemFigures& f) {
             return std::pair(f.returnStandardError, "± " + Percent(f.returnStandardError, 2));
         }},
        {"Честное\nколесо", [](const SystemFigures&) { return Share(FairWheelReturn, 2); }},
        {"Средний\nитог", [](const SystemFigures& f) { return Units(f.meanFinal); }},
        {"5 %\nитога", [](const SystemFigures& f) { return Units(f.p5Final); }},
        {"95 %\nитога", [](const SystemFigures& f) { return Units(f.p95Final); }},
        {"Итог\nниже 0", [](const SystemFigures& f) { return Share(f.shareBelowZero, 1); }},
        {"Выигрышей\nна 1000 спинов",
         [](const SystemFigures& f) {
             return std::pair(f.winStopsPerThousand, Fixed(f.winStopsPerThousand, 3));
         }},
        {"Проигрышей\nна 1000 спинов",
         [](const SystemFigures& f) {
             return std::pair(f.lossStopsPerThousand, Fixed(f.lossStopsPerThousand, 3));
         }},
        {"Просадка,\nмедиана", [](const SystemFigures& f) { return Units(f.medianDrawdown); }},
        {"Просадка,\n95 %", [](const SystemFigures& f) { return Units(f.p95Drawdown); }},
        {"Наибольшая\nставка", [](const SystemFigures& f) { return Count(f.highestStakeLevel); }},
    };
    return columns;
}

}  // namespace

void ComparisonWindow::FillTable() {
    const std::vector<Column>& columns = TableColumns();
    QStringList captions = {"Система"};
    for (const Column& column : columns) {
        captions << column.caption;
    }
    const std::vector<SystemFigures> ranked = RankedFigures(comparison_->Plan(), *result_);
    table_->setSortingEnabled(false);
    table_->clear();
    table_->setColumnCount(static_cast<int>(captions.size()));
    table_->setHorizontalHeaderLabels(captions);
    table_->setRowCount(static_cast<int>(ranked.size()));
    for (int row = 0; row < static_cast<int>(ranked.size()); ++row) {
        const SystemFigures& figures = ranked[static_cast<size_t>(row)];
        table_->setItem(row, 0, new QTableWidgetItem(FromUtf8(InfoOf(figures.system)->caption)));
        for (size_t c = 0; c < columns.size(); ++c) {
            const auto [value, text] = columns[c].cell(figures);
            table_->setItem(row, static_cast<int>(c) + 1, new NumberItem(value, text));
        }
    }
    table_->setSortingEnabled(true);
    table_->resizeColumnsToContents();
}

// Whiskers at the 5th and 95th percentile, the box from the 25th to the 75th.
void ComparisonWindow::DrawFinalBalances() {
    auto* chart = new QChart;
    chart->setTitle("Итоговый общий баланс игр");
    chart->legend()->hide();
    auto* series = new QBoxPlotSeries;
    QStringList names;
    double lowest = 0;
    double highest = 0;
    const ComparisonPlan& plan = comparison_->Plan();
    for (size_t s = 0; s < plan.systems.size(); ++s) {
        const std::vector<double> finals = SortedFinals(result_->runs[s]);
        auto* set = new QBoxSet(ShortName(plan.systems[s]));
        set->setValue(QBoxSet::LowerExtreme, Percentile(finals, 5));
        set->setValue(QBoxSet::LowerQuartile, Percentile(finals, 25));
        set->setValue(QBoxSet::Median, Percentile(finals, 50));
        set->setValue(QBoxSet::UpperQuartile, Percentile(finals, 75));
        set->setValue(QBoxSet::UpperExtreme, Percentile(finals, 95));
        set->setBrush(SystemColours[s % SystemColours.size()].lighter(150));
        lowest = std::min(lowest, Percentile(finals, 5));
        highest = std::max(highest, Percentile(finals, 95));
        series->append(set);
        names << ShortName(plan.systems[s]);
    }
    chart->addSeries(series);
    auto* categories = new QBarCategoryAxis;
    categories->append(names);
    categories->setLabelsAngle(-45);
    categories->setTruncateLabels(false);
    chart->addAxis(categories, Qt::AlignBottom);
    series->attachAxis(categories);
    auto* values = new QValueAxis;
    values->setTitleText("единиц");
    values->setLabelFormat("%d");
    values->setRange(lowest, std::max(highest, lowest + 1));
    values->applyNiceNumbers();
    chart->addAxis(values, Qt::AlignLeft);
    series->attachAxis(values);
    QChart* old = finalView_->chart();
    finalView_->setChart(chart);
    delete old;
}

void ComparisonWindow::DrawBalanceCurves() {
    auto* chart = new QChart;
    chart->setTitle("Медиана общего баланса по ходу игры, полоса 5–95 %");
    auto* spins = new QValueAxis;
    spins->setTitleText("спин");
    spins->setLabelFormat("%d");
    auto* balance = new QValueAxis;
    balance->setTitleText("единиц");
    chart->addAxis(spins, Qt::AlignBottom);
    chart->addAxis(balance, Qt::AlignLeft);
    const ComparisonPlan& plan = comparison_->Plan();
    const std::vector<int64_t>& points = result_->samplePoints;
    double lowest = 0;
    double highest = 0;
    for (size_t s = 0; s < plan.systems.size(); ++s) {
        const BalanceCurves curves = CurvesOf(result_->runs[s], points.size());
        auto* lower = new QLineSeries;
        auto* upper = new QLineSeries;
        auto* median = new QLineSeries;
        lower->append(0, 0);
        upper->append(0, 0);
        median->append(0, 0);
        for (size_t j = 0; j < points.size(); ++j) {
            const double x = static_cast<double>(points[j]);
            lower->append(x, curves.p5[j]);
            upper->append(x, curves.p95[j]);
            median->append(x, curves.median[j]);
            lowest = std::min(lowest, curves.p5[j]);
            highest = std::max(highest, curves.p95[j]);
        }
        const QColor colour = SystemColours[s % SystemColours.size()];
        auto* band = new QAreaSeries(upper, lower);
        QColor fill = colour;
        fill.setAlpha(40);
        band->setBrush(fill);
        band->setPen(Qt::NoPen);
        median->setName(ShortName(plan.systems[s]));
        median->setPen(QPen(colour, 2));
        for (QAbstractSeries* series :
             {static_cast<QAbstractSeries*>(band), static_cast<QAbstractSeries*>(median)}) {
            chart->addSeries(series);
            series->attachAxis(spins);
            series->attachAxis(balance);
        }
    }
    for (QLegendMarker* marker : chart->legend()->markers()) {
        marker->setVisible(qobject_cast<QLineSeries*>(marker->series()) != nullptr);
    }
    chart->legend()->setAlignment(Qt::AlignRight);
    spins->setRange(0, points.empty() ? 1.0 : static_cast<double>(points.back()));
    balance->setRange(lowest, std::max(highest, lowest + 1));
    balance->applyNiceNumbers();
    QChart* old = curvesView_->chart();
    curvesView_->setChart(chart);
    delete old;
}

void ComparisonWindow::SaveCsv() {
    if (!result_ || !comparison_) {
        return;
    }
    const QString path = chooseSavePath_(this);
    if (!path.isEmpty()) {
        RunCommand([&] {
            ReplaceFile(QFile::encodeName(path).toStdString(),
                        ComparisonCsv(comparison_->Plan(), *result_));
        });
    }
}

void ComparisonWindow::UpdateButtons() {
    start_->setEnabled(!Running());
    stop_->setEnabled(Running());
    save_->setEnabled(!Running() && result_.has_value());
}

// Closing the window ends a running comparison at once: its workers stop within a few spins.
void ComparisonWindow::closeEvent(QCloseEvent* event) {
    if (Running()) {
        progress_->RequestStop();
        running_.wait();
        Finish();
    }
    QWidget::closeEvent(event);
}

void ComparisonWindow::RunCommand(const std::function<void()>& command) {
    try {
        command();
    } catch (const std::exception& error) {
        present_(this, QString::fromUtf8(error.what()));
    }
}

}  // namespace orbista

#include "ui/comparison_window.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFile>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <functional>
#include <thread>

#include "model/errors.h"
#include "session/comparison_csv.h"
#include "storage/text_file.h"
#include "ui/comparison_bands_page.h"
#include "ui/comparison_box_page.h"
#include "ui/comparison_histogram_page.h"
#include "ui/comparison_pair_page.h"
#include "ui/comparison_table_page.h"

namespace orbista {

namespace {

constexpr int ProgressSteps = 1000;
constexpr std::chrono::milliseconds ProgressInterval(200);

QString ChooseCsvPath(QWidget* parent) {
    return QFileDialog::getSaveFileName(parent, "Сохранить CSV", QString(),
                                        "CSV (*.csv);;All Files (*)");
}

// The CSV's first line: what was compared, in words, since the window's settings are no file a
// command could name.
std::string PlanDescription(const ComparisonPlan& plan) {
    std::string text = "Сравнение систем в окне: настройки главного окна";
    text += plan.sectorsOnTable ? ", сектора на столе" : "";
    text += ", банк: " + (plan.bankroll > 0 ? std::to_string(plan.bankroll) : std::string("нет"));
    text += ", начальное число: " + std::to_string(plan.seed) + ", ";
    text += plan.PlaysSpinFiles() ? "файлов спинов: " + std::to_string(plan.spinFiles.size())
                                  : "игр: " + std::to_string(plan.runs) +
                                        ", спинов в игре: " + std::to_string(plan.spinsPerRun);
    return text;
}

// The same comparison with its systems in the order given, as the table shows them after a sort.
ShownComparison InOrder(const ShownComparison& shown, const std::vector<SelectionSystem>& order) {
    ShownComparison reordered = shown;
    std::stable_sort(reordered.ranked.begin(), reordered.ranked.end(),
                     [&](const SystemFigures& a, const SystemFigures& b) {
                         return std::find(order.begin(), order.end(), a.system) <
                                std::find(order.begin(), order.end(), b.system);
                     });
    return reordered;
}

QString Seconds(double seconds) {
    const int whole = static_cast<int>(std::ceil(seconds));
    if (whole >= 60) {
        return QString("%1 мин %2 с").arg(whole / 60).arg(whole % 60);
    }
    return QString("%1 с").arg(whole);
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

    tablePage_ = new ComparisonTablePage;
    boxPage_ = new ComparisonBoxPage;
    bandsPage_ = new ComparisonBandsPage;
    histogramPage_ = new ComparisonHistogramPage;
    pairPage_ = new ComparisonPairPage;
    results_ = new QTabWidget;
    results_->addTab(tablePage_, "Таблица");
    results_->addTab(boxPage_, "Итоговый баланс");
    results_->addTab(bandsPage_, "Баланс по ходу игры");
    results_->addTab(histogramPage_, "Распределение итогов");
    results_->addTab(pairPage_, "Пара");
    tablePage_->OnPairChosen([this](SelectionSystem first, SelectionSystem second) {
        pairPage_->Choose(first, second);
    });
    tablePage_->OnOrderChanged([this](const std::vector<SelectionSystem>& order) {
        if (shown_) {
            boxPage_->Show(InOrder(*shown_, order));
        }
    });

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
        auto* check = new QCheckBox(QText(info.caption));
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
    bankroll_ = new QSpinBox;
    bankroll_->setObjectName("ComparisonBankroll");
    bankroll_->setRange(0, 2'000'000'000);
    bankroll_->setSpecialValueText("нет");
    bankroll_->setValue(static_cast<int>(DefaultBankroll(settings_)));
    bankroll_->setToolTip(
        "Сколько единиц игрок приносит к столу. Игра, в которой общий баланс дошёл до минус "
        "банка, останавливается: банк кончился. Сначала — 10 пределов проигрыша из настроек; "
        "0 — без банка, игры идут до конца.");
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
    auto* bankrollLabel = new QLabel("Банк, единиц:");
    bankrollLabel->setToolTip(bankroll_->toolTip());
    layout->addWidget(bankrollLabel, 8, 0);
    layout->addWidget(bankroll_, 8, 1);

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
    plan.bankroll = bankroll_->value();
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
        ComparisonResult result = finished.get();
        progressBar_->setValue(result.stopped ? progressBar_->value() : ProgressSteps);
        timeLeft_->setText(result.stopped ? "Остановлено" : "Готово");
        ShowResults(std::move(result));
    });
}

void ComparisonWindow::ShowResults(ComparisonResult result) {
    auto plan = std::make_shared<const ComparisonPlan>(comparison_->Plan());
    auto shownResult = std::make_shared<const ComparisonResult>(std::move(result));
    shown_.emplace(
        ShownComparison{plan, shownResult, Ranked(SummariseComparison(*plan, *shownResult))});
    tablePage_->Show(*shown_);
    boxPage_->Show(*shown_);
    bandsPage_->Show(*shown_);
    histogramPage_->Show(*shown_);
    pairPage_->Show(*shown_);
    UpdateButtons();
}

QTableWidget* ComparisonWindow::Table() const {
    return tablePage_->Table();
}

void ComparisonWindow::SaveCsv() {
    if (!shown_) {
        return;
    }
    const QString path = chooseSavePath_(this);
    if (!path.isEmpty()) {
        RunCommand([&] {
            ReplaceFile(
                QFile::encodeName(path).toStdString(),
                ComparisonCsv(PlanDescription(*shown_->plan), *shown_->plan, *shown_->result));
        });
    }
}

void ComparisonWindow::UpdateButtons() {
    start_->setEnabled(!Running());
    stop_->setEnabled(Running());
    save_->setEnabled(!Running() && shown_.has_value());
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

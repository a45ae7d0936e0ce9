#include "ui/charts_page.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>

#include "model/errors.h"
#include "model/game_state.h"
#include "model/main_window_view.h"
#include "model/settings_model.h"
#include "ui/bar_chart.h"
#include "ui/setting_controls.h"
#include "ui/wheel_test_dialog.h"

namespace orbista {

namespace {

constexpr int TabFontPixels = 13;

BarChartLook LookOf(Chart chart) {
    BarChartLook look;
    switch (chart) {
        case Chart::Numbers:
            look.panel = QColor(0x00, 0x00, 0xA0);
            look.backgroundMiddle = QColor(0x40, 0x00, 0x80);
            look.markFontPixels = 9;
            look.labelFontPixels = 8;
            look.labelRows = 2;  // 37 labels would not fit side by side
            break;
        case Chart::Balance:
            look.barStart = QColor(0x81, 0x38, 0xBD);
            look.barMiddle = QColor(0x7A, 0x60, 0x87);
            break;
        case Chart::Stakes:
            look.barStart = QColor(0x20, 0x03, 0xA5);
            look.barMiddle = QColor(0x40, 0x00, 0x80);
            break;
        case Chart::Lines:
            look.panel = QColor(Qt::blue);
            break;
        default:
            break;
    }
    return look;
}

void AddLabel(const QString& text, QPoint at, QWidget* sheet) {
    auto* label = new QLabel(text, sheet);
    label->move(at);
    label->adjustSize();
}

}  // namespace

ChartsPage::ChartsPage(const GameState& state, SettingsModel& settings, MainWindowView& view,
                       QWidget* parent)
    : QWidget(parent),
      state_(state),
      settings_(settings),
      view_(view),
      pages_(new QTabWidget(this)) {
    pages_->setObjectName("PageControl2");
    pages_->setGeometry(-4, 0, 394, 556);
    // Narrow tabs, so all four captions fit side by side in the page's width.
    pages_->tabBar()->setStyleSheet(QString("QTabBar { font-size: %1px; }"
                                            "QTabBar::tab { padding: 3px 5px; border: 1px solid "
                                            "#A0A0A0; border-bottom: none; background: #E4E4E4; "
                                            "margin-top: 2px; }"
                                            "QTabBar::tab:selected { background: white; "
                                            "margin-top: 0px; }")
                                        .arg(TabFontPixels));
    pages_->addTab(BuildModeSheet(), "Режим отображения");

    QWidget* first = BuildSheet("TabSheet6");
    PlaceChart(Chart::Numbers, first, QRect(0, 3, 388, 185));
    PlaceChart(Chart::Dozens, first, QRect(0, 186, 201, 157));
    PlaceChart(Chart::Columns, first, QRect(201, 186, 189, 157));
    PlaceChart(Chart::Colours, first, QRect(0, 343, 138, 179));
    PlaceChart(Chart::Parity, first, QRect(136, 343, 124, 179));
    PlaceChart(Chart::Halves, first, QRect(258, 343, 130, 179));
    auto* rebuild = new QPushButton("Перестроить", first);
    rebuild->setObjectName("Button12");
    rebuild->setGeometry(0, 0, 89, 25);
    rebuild->raise();  // it lies over the numbers chart's corner
    connect(rebuild, &QPushButton::clicked, this, [this] { emit RebuildRequested(); });
    pages_->addTab(first, "Графики 1");

    QWidget* second = BuildSheet("TabSheet7");
    PlaceChart(Chart::SixLines, second, QRect(0, 3, 179, 153));
    PlaceChart(Chart::Streets, second, QRect(176, 3, 209, 153));
    PlaceChart(Chart::Lines, second, QRect(0, 155, 385, 174));
    pages_->addTab(second, "Графики 2");

    QWidget* balance = BuildSheet("TabSheet8");
    PlaceChart(Chart::Balance, balance, QRect(-1, 4, 384, 325));
    PlaceChart(Chart::Stakes, balance, QRect(-1, 328, 384, 192));
    pages_->addTab(balance, "Баланс");

    pages_->setCurrentIndex(1);
    connect(pages_, &QTabWidget::currentChanged, this, [this] { emit RebuildRequested(); });
}

QWidget* ChartsPage::BuildModeSheet() {
    QWidget* mode = BuildSheet("TabSheet5");
    AddLabel("Отображение частоты выпадения спинов", QPoint(16, 16), mode);
    QCheckBox* wheelOrder = AddSettingCheckBox(mode, Setting::ChartWheelOrder, controls_);
    wheelOrder->move(29, 53);
    wheelOrder->adjustSize();
    AddLabel(QText(InfoOf(Setting::ChartSpinWindow).caption), QPoint(16, 104), mode);
    AddLabel("(при нуле - выводится по всем сыграным спинам)", QPoint(16, 128), mode);
    AddSettingField(mode, Setting::ChartSpinWindow, QRect(224, 152, 57, 25), settings_, controls_);
    auto* wheelTest = new QPushButton("Проверка колеса…", mode);
    wheelTest->setObjectName("WheelTestButton");
    wheelTest->setGeometry(16, 200, 160, 25);
    wheelTest->setToolTip(
        "Похожи ли спины на спины честного колеса: восемь проверок χ², "
        "отсутствия чисел и повторы подряд");
    connect(wheelTest, &QPushButton::clicked, this, &ChartsPage::OpenWheelTest);
    return mode;
}

QWidget* ChartsPage::BuildSheet(const char* name) {
    auto* sheet = new QWidget;
    sheet->setObjectName(name);
    return sheet;
}

void ChartsPage::PlaceChart(orbista::Chart chart, QWidget* sheet, const QRect& geometry) {
    auto* widget = new BarChart(QText(ControlOf(chart)), LookOf(chart), sheet);
    widget->setGeometry(geometry);
    widget->SetSeries(std::move(EmptyChartSeries()[chart]));
    charts_[chart] = widget;
}

void ChartsPage::OpenWheelTest() {
    int32_t depth = 0;
    try {
        depth = ChartDepth(settings_.Number(Setting::ChartSpinWindow), state_.SpinCount);
    } catch (const ConversionError& error) {
        view_.ReportError(error.what());
        return;
    }
    std::vector<uint8_t> spins;
    spins.reserve(static_cast<size_t>(depth));
    for (int32_t k = depth; k >= 1; --k) {
        spins.push_back(static_cast<uint8_t>(state_.SpinHistory[k]));
    }
    if (wheelTest_ == nullptr) {
        wheelTest_ =
            new WheelTestDialog([this](std::string_view text) { view_.ReportError(text); }, this);
    }
    wheelTest_->SetWheelOrder(settings_.Flag(Setting::ChartWheelOrder));
    wheelTest_->ShowSpins(std::move(spins), "Спины текущей игры");
    wheelTest_->show();
    wheelTest_->raise();
    wheelTest_->activateWindow();
}

void ChartsPage::RebuildCharts() {
    ChartInputs inputs;
    try {
        inputs.spinWindow = settings_.Number(Setting::ChartSpinWindow);
    } catch (const ConversionError& error) {
        view_.ReportError(error.what());
        return;
    }
    inputs.wheelOrder = settings_.Flag(Setting::ChartWheelOrder);
    FillChartSeries(state_, inputs, spare_);
    for (const ChartInfo& info : ChartsTable) {
        charts_[info.chart]->ExchangeSeries(spare_[info.chart]);
    }
}

}  // namespace orbista

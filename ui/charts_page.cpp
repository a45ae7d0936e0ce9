#include "ui/charts_page.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>

#include "engine/game_state.h"
#include "ui/main_window_view.h"
#include "ui/up_down.h"

namespace orbista {

ChartsPage::ChartsPage(const GameState& state, const SettingsModel& settings,
                       MainWindowView& view, QWidget* parent)
    : QWidget(parent),
      state_(state),
      settings_(settings),
      view_(view),
      pages_(new QTabWidget(this)) {
    pages_->setObjectName("PageControl2");
    pages_->setGeometry(-4, 0, 394, 556);

    auto* mode = new QWidget;
    mode->setObjectName("TabSheet5");
    auto* wheelOrder = new QCheckBox("Спины на колесе, иначе - на столе", mode);
    wheelOrder->setObjectName("CheckBox8");
    wheelOrder->move(29, 53);
    auto* window = new QLineEdit("0", mode);
    window->setObjectName("Memo21");
    window->setGeometry(224, 152, 57, 25);
    new UpDown(window, "UpDown14", mode);
    pages_->addTab(mode, "Режим отображения");

    for (const char* name : {"TabSheet6", "TabSheet7", "TabSheet8"}) {
        auto* sheet = new QWidget;
        sheet->setObjectName(name);
        pages_->addTab(sheet, name == std::string_view("TabSheet6")   ? "Графики 1"
                              : name == std::string_view("TabSheet7") ? "Графики 2"
                                                                      : "Баланс");
    }
    pages_->setCurrentIndex(1);
    connect(pages_, &QTabWidget::currentChanged, this, [this] { emit RebuildRequested(); });
}

void ChartsPage::RebuildCharts() {}

}  // namespace orbista

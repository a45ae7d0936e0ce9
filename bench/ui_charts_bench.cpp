// Times a rebuild of the charts tab as a tab change does it: recount, refill and paint. With
// --png FOLDER it also writes each sub-tab as a picture, for looking at the charts.
#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QTabWidget>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "engine/headless_view.h"
#include "tests/ui/charts_page_fixture.h"
#include "ui/bar_chart.h"
#include "ui/charts_page.h"

namespace {

using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::duration elapsed) {
    return std::chrono::duration<double, std::milli>(elapsed).count();
}

double Median(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

struct Page {
    std::unique_ptr<orbista::GameState> state;
    orbista::ChartsPageSettings settings;
    orbista::HeadlessView view;
    std::unique_ptr<orbista::ChartsPage> page;

    explicit Page(int32_t spins) : state(orbista::RandomGame(spins)) {
        page = std::make_unique<orbista::ChartsPage>(*state, settings, view, nullptr);
        settings.Attach(page.get());
        page->resize(392, 556);
        page->show();
    }
};

double TimeRecount(Page& page) {
    const auto start = Clock::now();
    page.page->RebuildCharts();
    return Milliseconds(Clock::now() - start);
}

// Rebuild, then paint what the player would see: the current sub-tab.
double TimeVisibleRebuild(Page& page) {
    const auto start = Clock::now();
    page.page->RebuildCharts();
    const QPixmap shown = page.page->grab();
    return Milliseconds(Clock::now() - start);
}

// Rebuild, then paint all eleven charts, shown or not.
double TimeFullRebuild(Page& page) {
    const auto start = Clock::now();
    page.page->RebuildCharts();
    for (int i = 0; i < orbista::ChartCount; ++i) {
        const QPixmap chart = page.page->Chart(static_cast<orbista::Chart>(i))->grab();
    }
    return Milliseconds(Clock::now() - start);
}

void WritePictures(Page& page, const QString& folder, int spins) {
    QDir().mkpath(folder);
    QTabWidget* tabs = page.page->PageControl2();
    for (int tab = 0; tab < tabs->count(); ++tab) {
        tabs->setCurrentIndex(tab);
        page.page->RebuildCharts();
        const QString name = QString("%1/charts_%2_tab%3.png").arg(folder).arg(spins).arg(tab);
        page.page->grab().save(name);
        std::printf("wrote %s\n", name.toUtf8().constData());
    }
    tabs->setCurrentIndex(1);
    page.settings.SetFlag(orbista::Setting::ChartWheelOrder, true);
    page.page->RebuildCharts();
    const QString wheel = QString("%1/charts_%2_wheel.png").arg(folder).arg(spins);
    page.page->grab().save(wheel);
    std::printf("wrote %s\n", wheel.toUtf8().constData());
    page.settings.SetFlag(orbista::Setting::ChartWheelOrder, false);
}

}  // namespace

int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    QApplication app(argc, argv);
    const char* pictures = nullptr;
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--png") == 0) {
            pictures = argv[i + 1];
        }
    }
    constexpr int Rounds = 21;
    for (const int spins : {100, 300, 10000, 100000}) {
        Page page(spins);
        // The first rebuilds of a page allocate the bars' storage, later ones reuse it.
        const double first = TimeVisibleRebuild(page);
        const double second = TimeFullRebuild(page);
        std::vector<double> visible;
        std::vector<double> full;
        std::vector<double> recount;
        for (int round = 0; round < Rounds; ++round) {
            visible.push_back(TimeVisibleRebuild(page));
            full.push_back(TimeFullRebuild(page));
            recount.push_back(TimeRecount(page));
        }
        std::printf(
            "%6d spins: first rebuild + paint %.2f ms, second %.2f ms; then recount and refill "
            "%.2f ms, with painting the shown sub-tab %.2f ms, with painting all eleven charts "
            "%.2f ms (medians of %d)\n",
            spins, first, second, Median(recount), Median(visible), Median(full), Rounds);
        if (pictures != nullptr) {
            WritePictures(page, QString::fromLocal8Bit(pictures), spins);
        }
    }
    return 0;
}

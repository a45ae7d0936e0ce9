#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <memory>

#include "engine/engine.h"
#include "model/game_state.h"
#include "model/random.h"
#include "storage/data_folder.h"
#include "ui/fonts.h"
#include "ui/main_window.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    orbista::LoadApplicationFonts();
    // The program speaks Russian, so the toolkit's own dialogs (open, save, the OK button) do too.
    QTranslator toolkitTexts;
    if (toolkitTexts.load(QLocale(QLocale::Russian), "qtbase", "_",
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(&toolkitTexts);
    }

    // The game state is large (every history holds 110001 spins): it lives on the heap.
    auto state = std::make_unique<orbista::GameState>();
    orbista::RandomGenerator random;
    // An installed program cannot write beside itself: its files then go to the user's data
    // folder.
    orbista::WindowSetup setup;
    setup.programFolder = orbista::ProgramFilesFolder(orbista::ExecutableFolder(),
                                                      orbista::UserFolders::FromEnvironment());
    const auto window = orbista::MainWindow::Create(*state, random, setup);
    window->CheckFiles().SetFolder(
        orbista::CheckFilesFolder(".", setup.programFolder, orbista::ExecutableFolder()));
    window->show();
    return application.exec();
}

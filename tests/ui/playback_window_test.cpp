#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QMenu>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "tests/ui/window_fixture.h"
#include "ui/playback_commands.h"

namespace orbista {
namespace {

namespace fs = std::filesystem;

constexpr int Generous = 60'000;  // ms; a playback of a few hundred spins takes a few seconds

// Playbacks through the menu of the real window, at a pause of 0. The pause dialog is applied as
// soon as it is shown.
class PlaybackWindowTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        // A game that only keeps statistics never stops and restarts by itself.
        window->SetActiveSystem(SelectionSystem::StatisticsOnly);
    }

    QAction* PlayFromFile() const { return MenuItem("Игра из файла"); }
    QAction* EmulateGame() const { return MenuItem("Эмуляция игры"); }

    // The numbers 0..36 over and over, `count` of them, one line of the file each.
    fs::path SpinFile(const std::string& name, int count) {
        std::string text;
        for (int i = 0; i < count; ++i) {
            text += std::to_string(i % NumberCount) + "\n";
        }
        folder.Write(name, text);
        return folder.Path() / name;
    }
    void ChooseFile(const fs::path& path) {
        window->Playbacks().SetOpenPathChooser(
            [path](QWidget*) { return QString::fromStdString(path.string()); });
    }
    // The next pause dialog is applied with a pause of 0, after `before` has looked at it.
    void ApplyNextPauseDialog(std::function<void(PauseDialog&)> before = {}) {
        QTimer::singleShot(0, [this, before] {
            PauseDialog& dialog = *window->PauseDialogWindow();
            pauseDialogsShown += dialog.isVisible() ? 1 : 0;
            if (before) {
                before(dialog);
            }
            if (dialog.isVisible()) {
                Field(Setting::PlaybackPauseField)->setText("0");
                dialog.Apply();
            }
        });
    }
    void SetSpinLimit(const QString& text) { Field(Setting::PlaybackSpinLimit)->setText(text); }

    void PlayFile(const fs::path& path) {
        ChooseFile(path);
        ApplyNextPauseDialog();
        PlayFromFile()->trigger();
    }
    void Emulate() {
        ApplyNextPauseDialog();
        EmulateGame()->trigger();
    }
    bool CommandsEnabled() const {
        return PlayFromFile()->isEnabled() && EmulateGame()->isEnabled();
    }
    // Lets the window's thread run the played cycles until the playback has ended.
    bool WaitUntilPlayed() {
        return QTest::qWaitFor(
            [this] { return !window->Playbacks().Running() && CommandsEnabled(); }, Generous);
    }

    int pauseDialogsShown = 0;
};

TEST_F(PlaybackWindowTest, AFilePlaysItsFirstNumbersUpToTheLimitInOrder) {
    ChooseFile(SpinFile("500.txt", 500));
    ApplyNextPauseDialog();
    QTest::keySequence(window.get(), QKeySequence("Ctrl+O"));
    EXPECT_EQ(pauseDialogsShown, 1);
    ASSERT_TRUE(WaitUntilPlayed());
    ASSERT_EQ(state->SpinCount, 200);  // the limit field's 200
    for (int i = 0; i < 200; ++i) {
        ASSERT_EQ(state->SpinHistory[200 - i], i % NumberCount) << i;
    }

    // A shorter file than the limit plays whole, continuing the same game.
    PlayFile(SpinFile("50.txt", 50));
    ASSERT_TRUE(WaitUntilPlayed());
    EXPECT_EQ(state->SpinCount, 250);
    EXPECT_EQ(state->SpinHistory[1], 49 % NumberCount);
    EXPECT_EQ(window->PauseDialogWindow()->PlaybackPauseTenths(), 0);

    // A permanence as tables record it plays the same way.
    folder.Write("table.csv", "Number\r\n# evening\r\n12,13;16\r\n");
    PlayFile(folder.Path() / "table.csv");
    ASSERT_TRUE(WaitUntilPlayed());
    EXPECT_EQ(state->SpinCount, 253);
    EXPECT_EQ(state->SpinHistory[1], 16);
    EXPECT_TRUE(messages.empty());
}

TEST_F(PlaybackWindowTest, AFileOverTheLimitIsPlayedFromItsFirstMillionSpinsAndSaysSo) {
    const fs::path path = SpinFile("long.txt", 1'000'001);
    PlayFile(path);
    ASSERT_TRUE(WaitUntilPlayed());
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].toStdString(),
              "В файле \"" + path.string() + "\" больше 1000000 спинов: играются первые 1000000.");
    EXPECT_EQ(pauseDialogsShown, 1);
    EXPECT_EQ(state->SpinCount, 200);
}

TEST_F(PlaybackWindowTest, EmulationRaisesTheSpinCountByTheLimitWithRouletteNumbers) {
    ClickNumber(7);
    Emulate();
    ASSERT_TRUE(WaitUntilPlayed());
    ASSERT_EQ(state->SpinCount, 201);
    EXPECT_EQ(state->SpinHistory[201], 7);
    for (int k = 1; k <= 200; ++k) {
        ASSERT_GE(state->SpinHistory[k], 0);
        ASSERT_LE(state->SpinHistory[k], 36);
    }
    EXPECT_EQ(window->GameEngine().Counters().spins, 201);
    EXPECT_TRUE(messages.empty());
}

TEST_F(PlaybackWindowTest, CommandsAreGreyedWhileAPlaybackRunsAndThePlayerMayStillClick) {
    SetSpinLimit("400");
    Emulate();
    EXPECT_TRUE(window->Playbacks().Running());
    EXPECT_FALSE(PlayFromFile()->isEnabled());
    EXPECT_FALSE(EmulateGame()->isEnabled());

    // A greyed command does nothing (should a dialog open all the same,
    // it is counted and closed).
    ChooseFile(SpinFile("more.txt", 10));
    ApplyNextPauseDialog();
    PlayFromFile()->trigger();
    Emulate();
    EXPECT_EQ(pauseDialogsShown, 1);

    // The player's clicks are processed between the played spins.
    ASSERT_TRUE(QTest::qWaitFor([this] { return state->SpinCount >= 10; }, Generous));
    ClickNumber(36);
    ClickNumber(36);
    ASSERT_TRUE(WaitUntilPlayed());
    EXPECT_EQ(state->SpinCount, 402);
    EXPECT_EQ(pauseDialogsShown, 1);
}

TEST_F(PlaybackWindowTest, ABadFileOrABadLimitStartsNothing) {
    folder.Write("bad.txt", "1 2\n3 x 5\n");
    PlayFile(folder.Path() / "bad.txt");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages[0].contains("bad.txt"));
    EXPECT_EQ(pauseDialogsShown, 0);
    // The timer that would have closed the dialog has nothing to close.
    QTest::qWait(20);
    EXPECT_EQ(pauseDialogsShown, 0);

    SetSpinLimit("двести");
    PlayFile(SpinFile("good.txt", 5));
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_TRUE(messages[1].contains("двести"));
    Emulate();
    EXPECT_EQ(messages.size(), 3u);
    EXPECT_FALSE(window->Playbacks().Running());
    EXPECT_TRUE(CommandsEnabled());
    QTest::qWait(50);
    EXPECT_EQ(state->SpinCount, 0);
}

TEST_F(PlaybackWindowTest, AnEndlessDeviceChosenAsASpinFileIsRefusedAtOnce) {
    QElapsedTimer timer;
    timer.start();
    PlayFile("/dev/zero");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages[0].startsWith("Файл \"/dev/zero\", строка 1: «\\x00"))
        << messages[0].toStdString();
    EXPECT_LT(timer.elapsed(), 2000);
    EXPECT_EQ(pauseDialogsShown, 0);
    EXPECT_TRUE(CommandsEnabled());
}

TEST_F(PlaybackWindowTest, AWinMessageHoldsThePlaybackWhichGoesOnInTheNextGame) {
    // Betting on the newest numbers of the drawn series, a file of fives wins at its second spin
    // and at every second spin after each restart.
    window->SetActiveSystem(SelectionSystem::WithoutSelection);
    window->SetFlag(Setting::UseCorrectedSeries, false);
    window->SetFlag(Setting::UseDrawnSeries, true);
    window->SetNumber(Setting::WinTarget, 1);
    folder.Write("fives.txt", "5 5 5 5 5 5 5 5");

    int wins = 0;
    auto* entry = Control<QLabel>("KeyboardEntry");
    window->SetMessagePresenter([this, &wins, entry](QWidget*, const QString& text) {
        messages.push_back(text);
        ++wins;
        // The window shows how far the playback has come: spin 2 is the one being played.
        if (wins == 1) {
            EXPECT_TRUE(entry->text().startsWith("Спин 1 из 8")) << entry->text().toStdString();
        }
        // While the message is open, the window's events run but no spin is played.
        const int64_t spins = window->GameEngine().Counters().spins;
        QTest::qWait(100);
        EXPECT_EQ(window->GameEngine().Counters().spins, spins);
    });
    PlayFile(folder.Path() / "fives.txt");
    ASSERT_TRUE(WaitUntilPlayed());

    EXPECT_EQ(window->GameEngine().Counters().spins, 8);
    EXPECT_EQ(window->GameEngine().Counters().winStops, 4);
    EXPECT_EQ(wins, 4);
    for (const QString& message : messages) {
        EXPECT_EQ(message, "Вы выиграли ;) !!!!");
    }
    EXPECT_EQ(state->SpinCount, 0);  // the last spin won and began a new game
    EXPECT_EQ(entry->text(), "Число с клавиатуры: _");

    // A quiet playback says what it starts, shows no message until its end, and then counts.
    messages.clear();
    ApplyNextPauseDialog([this](PauseDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Игра из файла: 8 спинов");
        EXPECT_EQ(PauseControl<QLabel>("WhatStarts")->text(), "Игра из файла: 8 спинов");
        auto* quiet = PauseControl<QCheckBox>("QuietPlayback");
        EXPECT_FALSE(quiet->isChecked());
        quiet->setChecked(true);
    });
    PlayFile(folder.Path() / "fives.txt");
    ASSERT_TRUE(WaitUntilPlayed());
    EXPECT_EQ(window->GameEngine().Counters().winStops, 8);
    EXPECT_EQ(messages, std::vector<QString>{
                            "Игра из файла закончена: 8 спинов. Выиграно игр: 4, проиграно: 0."});
}

TEST_F(PlaybackWindowTest, ThePauseDialogSaysWhatItStartsAndItsCloseBoxStartsNothing) {
    QTimer::singleShot(0, [this] {
        PauseDialog& dialog = *window->PauseDialogWindow();
        EXPECT_EQ(dialog.windowTitle(), "Эмуляция: 200 спинов");
        SetSpinLimit("21");
        EXPECT_EQ(dialog.windowTitle(), "Эмуляция: 21 спин");
        dialog.close();
    });
    EmulateGame()->trigger();
    QTest::qWait(50);
    EXPECT_FALSE(window->Playbacks().Running());
    EXPECT_EQ(state->SpinCount, 0);

    ChooseFile(SpinFile("30.txt", 30));
    QTimer::singleShot(0, [this] {
        EXPECT_EQ(PauseControl<QLabel>("WhatStarts")->text(),
                  "Игра из файла: 21 спин (в файле 30)");
        SetSpinLimit("200");
        EXPECT_EQ(window->PauseDialogWindow()->windowTitle(), "Игра из файла: 30 спинов");
        QTest::keyClick(window->PauseDialogWindow(), Qt::Key_Escape);
    });
    PlayFromFile()->trigger();
    QTest::qWait(50);
    EXPECT_EQ(state->SpinCount, 0);
    EXPECT_TRUE(CommandsEnabled());
    EXPECT_TRUE(messages.empty());
}

TEST_F(PlaybackWindowTest, ClosingTheWindowEndsThePlaybackAndSavesOnce) {
    SetSpinLimit("10000");
    Emulate();
    ASSERT_TRUE(QTest::qWaitFor([this] { return state->SpinCount >= 20; }, Generous));

    window->close();
    const int32_t atClose = state->SpinCount;
    EXPECT_FALSE(window->Playbacks().Running());
    QTest::qWait(100);
    EXPECT_EQ(state->SpinCount, atClose);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.Path() / "Autosave"), {}), 1);
    const fs::path autosave = *fs::directory_iterator(folder.Path() / "Autosave");
    const std::string saved = folder.Read(autosave.lexically_relative(folder.Path()));
    EXPECT_EQ(std::count(saved.begin(), saved.end(), ' '), 2 * (atClose - 1));

    // Nothing starts from a closed window.
    Emulate();
    QTest::qWait(50);
    EXPECT_EQ(state->SpinCount, atClose);
    EXPECT_TRUE(messages.empty());
}

TEST_F(PlaybackWindowTest, StopGameEndsAnEmulationAndKeepsTheGameSoFar) {
    QAction* stop = MenuItem("Остановить игру");
    ASSERT_NE(stop, nullptr);
    const QList<QAction*> menu = Menu("Игра из файла")->actions();
    // Right after "Эмуляция игры".
    ASSERT_GE(menu.indexOf(stop), 1);
    EXPECT_EQ(menu[menu.indexOf(stop) - 1], EmulateGame());
    EXPECT_FALSE(stop->isEnabled());

    SetSpinLimit("10000");
    Emulate();
    EXPECT_TRUE(stop->isEnabled());
    ASSERT_TRUE(QTest::qWaitFor([this] { return state->SpinCount >= 20; }, Generous));
    stop->trigger();
    const int32_t atStop = state->SpinCount;
    EXPECT_FALSE(window->Playbacks().Running());
    EXPECT_FALSE(stop->isEnabled());
    EXPECT_TRUE(CommandsEnabled());
    QTest::qWait(100);
    EXPECT_EQ(state->SpinCount, atStop);
    EXPECT_EQ(window->GameEngine().Counters().spins, atStop);
    EXPECT_EQ(state->SpinInProgress, 0);

    // A new playback starts after a stop and continues the same game.
    SetSpinLimit("5");
    Emulate();
    ASSERT_TRUE(WaitUntilPlayed());
    EXPECT_EQ(state->SpinCount, atStop + 5);
    EXPECT_FALSE(stop->isEnabled());
    EXPECT_TRUE(messages.empty());
}

TEST_F(PlaybackWindowTest, EscapeStopsAFilePlaybackAndIsHarmlessWhenNothingPlays) {
    QTest::keyClick(window.get(), Qt::Key_Escape);
    EXPECT_EQ(state->SpinCount, 0);

    SetSpinLimit("5000");
    PlayFile(SpinFile("long.txt", 5000));
    ASSERT_TRUE(QTest::qWaitFor([this] { return state->SpinCount >= 10; }, Generous));
    // The game window has the keyboard back once the pause dialog is gone.
    EXPECT_EQ(QApplication::activeWindow(), window.get());
    QTest::keyClick(window.get(), Qt::Key_Escape);
    const int32_t atStop = state->SpinCount;
    EXPECT_FALSE(window->Playbacks().Running());
    QTest::qWait(100);
    EXPECT_EQ(state->SpinCount, atStop);
    for (int i = 0; i < atStop; ++i) {
        ASSERT_EQ(state->SpinHistory[atStop - i], i % NumberCount) << i;
    }
}

}  // namespace
}  // namespace orbista

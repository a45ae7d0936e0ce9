#include "model/settings_table.h"

#include "model/enum_table.h"

namespace orbista {

namespace {

using enum Setting;
constexpr SettingKind F = SettingKind::Flag;
constexpr SettingKind N = SettingKind::Number;

// clang-format off
constexpr std::array<SettingInfo, SettingCount> Table = {{
    // setting, field, control, stepper, caption, kind, default, minimum, maximum, step, row, series choice
    {StopOnWin, "StopOnWin", "CheckBox2", "", "Останавливать игру при выигрыше более ", F, 1, 0, 1, 1, 1},
    {WinTarget, "WinTarget", "Memo9", "UpDown6", "Останавливать игру при выигрыше более", N, 500, 0, 10000, 1, 2},
    {WinMessage, "WinMessage", "CheckBox3", "", "Выводить сообшение о выигрыше", F, 1, 0, 1, 1, 3},
    {MaxStake, "MaxStake", "Memo4", "UpDown4", "Максимальная ставка", N, 20, 1, 100, 1, 4},
    {MaxLoss, "MaxLoss", "Memo8", "UpDown5", "Максимально возможный проигрыш", N, 500, 0, 1000, 1, 5},
    {ProgressionSteepness, "ProgressionSteepness", "Memo11", "UpDown7", "Крутизна использованной прогрессии", N, 10, 0, 15, 1, 6},
    {NormalisationCoefficient, "NormalisationCoefficient", "Memo2", "UpDown1", "Кеф нормализации", N, 0, 0, 10, 1, 7},
    {MinCoveredCount, "MinCoveredCount", "Memo7", "UpDown3", "Минимальное количество закрываемых чисел", N, 1, 1, 30, 1, 9},
    {MaxProcessedCount, "MaxProcessedCount", "Memo6", "UpDown2", "Максимальное количество ОБРАБАТЫВАЕМЫХ чисел", N, 24, 1, 30, 1, 22},
    {MaxProcessedSixLines, "MaxProcessedSixLines", "Memo13", "UpDown8", "Максимальное количество ОБРАБАТЫВАЕМЫХ сикслайнов", N, 4, 1, 4, 1, 23},
    {WinBonusPerTenSpins, "WinBonusPerTenSpins", "Memo16", "UpDown9", "Добавка к выигрышу за 10 спинов (до 10 единиц)", N, 0, 0, 10, 1, 24},
    {SkipFirstSpins, "SkipFirstSpins", "CheckBox10", "", "Не делать ставки первые спины (используется для сбора статистики)", F, 0, 0, 1, 1, 41},
    {SkippedSpinCount, "SkippedSpinCount", "Memo27", "UpDown20", "Количество пропущенных спинов в начале игры", N, 0, 0, 80, 1, 42},
    {ResetProgressionOnLoss, "ResetProgressionOnLoss", "CheckBox11", "", "Обнулять прогрессию при проигрыше (без рестарта игры)", F, 0, 0, 1, 1, 43},
    {NoLossMessage, "NoLossMessage", "CheckBox12", "", "Не выводить сообщение о проигрыше", F, 0, 0, 1, 1, 44},
    {PauseAfterWin, "PauseAfterWin", "CheckBox13", "", "Делать паузу в ставках при выигрыше (спинов)", F, 0, 0, 1, 1, 45},
    {PauseAfterWinSpins, "PauseAfterWinSpins", "Memo28", "UpDown21", "Делать паузу в ставках при выигрыше (спинов)", N, 0, 0, 100, 1, 46},
    {UseCorrectedSeries, "UseCorrectedSeries", "CheckBox4", "", "Скорректированный массив", F, 1, 0, 1, 1, 10, true},
    {UseDrawnSeries, "UseDrawnSeries", "CheckBox5", "", "Массив выпавших чисел", F, 0, 0, 1, 1, 11, true},
    {WaitingSpins, "WaitingSpins", "Memo18", "UpDown11", "Спинов без попаданий:", N, 2, 0, 18, 1, 26},
    {SectorLength, "SectorLength", "Memo17", "UpDown10", "Длина сектора", N, 6, 1, 24, 1, 16},
    {SectorsSpinWindow, "SectorsSpinWindow", "Memo23", "UpDown16", "Количество обрабатываемых последних чисел", N, 80, 10, 1000, 1, 35},
    {EsdSpinCount, "EsdSpinCount", "Memo19", "UpDown12", "кол. спинов:", N, 30, 20, 40, 1, 30},
    {OverlapSectorLength, "OverlapSectorLength", "Memo20", "UpDown13", "Длина сектора перекрывания:", N, 1, 0, 7, 1, 13},
    {EsdSectorsOnTable, "EsdSectorsOnTable", "CheckBox6", "", "Сектора на поле (иначе - на колесе)", F, 0, 0, 1, 1, 28},
    {EsdWideOverlap, "EsdWideOverlap", "CheckBox7", "", "Увеличенное перекрывание при рядом стоящих числах", F, 0, 0, 1, 1, 29},
    {ChaosNumberCount, "ChaosNumberCount", "Memo22", "UpDown15", "Количество чисел для ставок:", N, 1, 0, 36, 1, 32},
    {FavouritesBetLast, "FavouritesBetLast", "CheckBox9", "", "Делать ставку на последнее выпавшее", F, 0, 0, 1, 1, 37},
    {FavouritesCount, "FavouritesCount", "Memo24", "UpDown17", "Количество любимых номеров:", N, 5, 2, 30, 1, 38},
    {FavouritesWindow, "FavouritesWindow", "Memo25", "UpDown18", "Количество рассмотренных последних:", N, 37, 5, 80, 1, 39},
    {FavouritesRepeatThreshold, "FavouritesRepeatThreshold", "Memo26", "UpDown19", "Порог повторов любимых номеров:", N, 2, 2, 30, 1, 40},
    {ChartWheelOrder, "ChartWheelOrder", "CheckBox8", "", "Спины на колесе, иначе - на столе", F, 0, 0, 1, 1, 34},
    {SectorsOnTable, "SectorsOnTable", "CheckBox1", "", "Сектора на поле (иначе - на колесе)", F, 0, 0, 1, 1, 0},
    {ChartSpinWindow, "ChartSpinWindow", "Memo21", "UpDown14", "За сколько спинов выводить статистику", N, 0, 0, 10000, 1, 0},
    {StayOnTop, "StayOnTop", "N6", "", "Поверх окон", F, 0, 0, 1, 1, 0},
    {PlaybackPauseField, "PlaybackPauseTenths", "Memo1", "UpDown1", "Пауза между обработкой спинов, десятые секунд:", N, 5, 0, 20, 1, 0},
    {PlaybackSpinLimit, "PlaybackSpinLimit", "Memo2", "UpDown2", "Играть спинов из файла:", N, 200, 1, 10000, 20, 0},
}};

constexpr std::array<Setting, 2> SectorsReads = {SectorLength, SectorsSpinWindow};
constexpr std::array<Setting, 2> EsdReads = {EsdSpinCount, OverlapSectorLength};
constexpr std::array<Setting, 1> SixLinesReads = {MaxProcessedSixLines};
constexpr std::array<Setting, 3> FavouritesReads = {FavouritesCount, FavouritesWindow, FavouritesRepeatThreshold};
constexpr std::array<Setting, 1> ChaosReads = {ChaosNumberCount};
constexpr std::array<Setting, 1> WaitingReads = {WaitingSpins};

using enum SelectionSystem;
constexpr std::array<SystemInfo, SystemCount> Systems = {{
    {WithSelection, "SystemWithSelection", "RadioButton1", "Игра с выборкой", "С выборкой", "with-selection", 8, true, {}},
    {WithoutSelection, "SystemWithoutSelection", "RadioButton2", "Игра без выборки", "Без выборки", "without-selection", 12, true, {}},
    {Sectors, "SystemSectors", "RadioButton3", "Сектора", "Сектора", "sectors", 15, true, SectorsReads},
    {SixLines, "SystemSixLines", "RadioButton4", "Игра на сикслайны", "Сикслайны", "six-lines", 17, true, SixLinesReads},
    {Peer, "SystemPeer", "RadioButton5", "Система  PEER", "PEER", "peer", 14, true, {}},
    {AntiReview, "SystemAntiReview", "RadioButton6", "Система анти review", "Анти review", "anti-review", 20, false, {}},
    {Esd, "SystemEsd", "RadioButton8", "Epocal Storm Dinamic", "ESD", "esd", 21, true, EsdReads},
    {Favourites, "SystemFavourites", "RadioButton13", "Любимые номера", "Любимые", "favourites", 36, true, FavouritesReads},
    {Gizmo, "SystemGizmo", "RadioButton9", "Хуйнюшка", "Хуйнюшка", "gizmo", 0, false, {}},
    {Chaos, "SystemChaos", "RadioButton10", "Хаос (Играем на случайные числа)", "Хаос", "chaos", 31, false, ChaosReads},
    {Waiting, "SystemWaiting", "RadioButton7", "Выжидание", "Выжидание", "waiting", 27, true, WaitingReads},
    {StatisticsOnly, "SystemStatisticsOnly", "RadioButton11", "Без ставок, только вести статистику", "Без ставок", "statistics-only", 33, false, {}},
    {Custom, "SystemCustom", "RadioButton12", "Использовать собственную систему", "Своя", "custom", 0, false, {}},
}};
// clang-format on

static_assert(ListedInEnumOrder(Table, &SettingInfo::setting),
              "the settings table lists the settings in enum order");

}  // namespace

std::span<const SettingInfo> SettingsTable() {
    return Table;
}

const SettingInfo& InfoOf(Setting setting) {
    return Table[static_cast<int>(setting)];
}

std::optional<Setting> SettingByField(std::string_view field) {
    for (const SettingInfo& info : Table) {
        if (info.field == field) {
            return info.setting;
        }
    }
    return std::nullopt;
}

std::span<const SystemInfo> SystemsTable() {
    return Systems;
}

const SystemInfo* InfoOf(SelectionSystem system) {
    for (const SystemInfo& info : Systems) {
        if (info.system == system) {
            return &info;
        }
    }
    return nullptr;
}

std::optional<SelectionSystem> SystemBySimName(std::string_view name) {
    if (name == "none") {
        return SelectionSystem::None;
    }
    for (const SystemInfo& info : Systems) {
        if (info.simName == name) {
            return info.system;
        }
    }
    return std::nullopt;
}

}  // namespace orbista

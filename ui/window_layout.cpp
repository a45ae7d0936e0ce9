#include "ui/window_layout.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <optional>
#include <span>
#include <vector>

#include "model/display.h"
#include "model/game_state.h"
#include "model/main_window_view.h"
#include "model/settings_table.h"
#include "ui/fonts.h"
#include "ui/mirror_display.h"
#include "ui/setting_controls.h"
#include "ui/spin_table.h"

namespace orbista {

namespace {

constexpr const char* CancelButtonName = "BitBtn75";
constexpr int FieldWidth = 57;
constexpr int FieldHeight = 22;
// A field stands a little above the text of its row, so both share one baseline.
constexpr int FieldRaise = 3;
constexpr int CaptionGap = 6;
// Free space kept above the next row, so a caption of two lines does not touch it.
constexpr int RowGap = 3;
const QColor Green(0x00, 0x80, 0x00);

void SetTextColour(QWidget* widget, QPalette::ColorRole role, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(role, colour);
    widget->setPalette(palette);
}

QFont Styled(QFont font, bool bold, bool underline = false, bool strikeOut = false) {
    font.setBold(bold);
    font.setUnderline(underline);
    font.setStrikeOut(strikeOut);
    return font;
}

QLabel* AddLabel(QWidget* parent, const QString& text, QPoint at, bool bold = false) {
    auto* label = new QLabel(text, parent);
    label->setFont(Styled(parent->font(), bold));
    label->move(at);
    label->adjustSize();
    return label;
}

// A numeric setting's field with its arrows, at the right of its row.
QLineEdit* AddRowField(QWidget* parent, Setting setting, int rowTop, SettingsModel& settings,
                       SettingControls& controls) {
    return AddSettingField(parent, setting,
                           {SettingFieldLeft, rowTop - FieldRaise, FieldWidth, FieldHeight},
                           settings, controls);
}

int NumberColumn(int number) {
    return (number - 1) % 3;
}
int NumberRow(int number) {
    return (number - 1) / 3;
}

constexpr int NumberButtonWidth = 42;
constexpr int NumberButtonHeight = 22;
constexpr std::array<int, 12> NumberRowTops = {62,  90,  118, 146, 182, 210,
                                               238, 266, 301, 329, 357, 385};
constexpr std::array<int, 3> NumberColumnLefts = {3, 51, 99};
constexpr std::array<int, 3> MirrorColumnLefts = {246, 294, 342};

QColor NumberColour(int number, const QPalette& palette) {
    if (number == 0) {
        return Green;
    }
    return IsRed(number) ? QColor(Qt::red) : palette.color(QPalette::WindowText);
}

QPushButton* AddNumberButton(QWidget* parent, int number, const QRect& geometry, bool mirror) {
    auto* button = new QPushButton(mirror ? QString() : QString::number(number), parent);
    button->setObjectName(mirror ? MirrorButtonName(number) : NumberButtonName(number));
    button->setGeometry(geometry);
    button->setFont(WindowFont(15, true));
    button->setFocusPolicy(mirror ? Qt::NoFocus : Qt::TabFocus);
    SetTextColour(button, QPalette::ButtonText, NumberColour(number, button->palette()));
    if (mirror) {
        // The mirror only shows the recommendation: a display, not a second block of buttons.
        ShowAsDisplay(button);
    }
    return button;
}

void AddNumberBlocks(QWidget* sheet, BetsTab& tab) {
    tab.numbers[0] = AddNumberButton(sheet, 0, {3, 32, 138, 24}, false);
    tab.mirrors[0] = AddNumberButton(sheet, 0, {246, 32, 138, 24}, true);
    for (int n = 1; n <= 36; ++n) {
        const int top = NumberRowTops[NumberRow(n)];
        tab.numbers[n] = AddNumberButton(
            sheet, n,
            {NumberColumnLefts[NumberColumn(n)], top, NumberButtonWidth, NumberButtonHeight},
            false);
        tab.mirrors[n] = AddNumberButton(
            sheet, n,
            {MirrorColumnLefts[NumberColumn(n)], top, NumberButtonWidth, NumberButtonHeight}, true);
    }
}

// The caption of a display, beside it: it must end before the display starts.
QLabel* AddDisplayCaption(QWidget* sheet, Display display, QPoint at, int right,
                          bool bold = false) {
    QLabel* label = AddLabel(sheet, QText(CaptionOf(display)), at, bold);
    FitCaption(label, right - CaptionGap / 2);
    return label;
}

QLineEdit* AddDisplay(QWidget* sheet, Display display, const QRect& geometry) {
    auto* field = new QLineEdit(sheet);
    field->setObjectName(QText(ControlOf(display)));
    field->setGeometry(geometry);
    return field;
}

void AddBalanceFields(QWidget* sheet, BetsTab& tab) {
    const auto addDisplay = [sheet, &tab](Display display, const QRect& geometry) {
        QLineEdit* field = AddDisplay(sheet, display, geometry);
        tab.displays[IndexOf(display)] = field;
        return field;
    };
    AddDisplayCaption(sheet, Display::GameBalanceMin, {7, 415}, 35);
    addDisplay(Display::GameBalanceMin, {35, 413, 70, 25});
    AddDisplayCaption(sheet, Display::GameBalanceMax, {118, 415}, 152);
    addDisplay(Display::GameBalanceMax, {152, 413, 70, 25});
    AddDisplayCaption(sheet, Display::StakeLevel, {238, 416}, 285);
    addDisplay(Display::StakeLevel, {285, 413, 79, 25})->setFont(WindowFont(15, true));

    AddDisplayCaption(sheet, Display::SpinCount, {3, 444}, 133)->setObjectName("Label9");
    QLabel* count = AddLabel(sheet, "0", {133, 444});
    count->setObjectName(QText(ControlOf(Display::SpinCount)));
    // Wide enough for the longest game the history can hold.
    count->resize(count->fontMetrics().horizontalAdvance("0000000") + CaptionGap, count->height());
    tab.spinCount = count;

    AddDisplayCaption(sheet, Display::TableStake, {197, 468}, 285, true);
    addDisplay(Display::TableStake, {285, 464, 78, 25})->setFont(WindowFont(12));
    AddDisplayCaption(sheet, Display::TotalBalance, {3, 473}, 113);
    addDisplay(Display::TotalBalance, {113, 468, 70, 25});
    AddDisplayCaption(sheet, Display::GameBalance, {184, 500}, 286);
    addDisplay(Display::GameBalance, {286, 495, 78, 25});

    auto* cancel = new QPushButton(" Отменить спин", sheet);
    cancel->setObjectName(CancelButtonName);
    cancel->setGeometry(3, 507, 111, 25);
    cancel->setFont(WindowFont(13, true));
    FitButtonCaption(cancel);
    SetTextColour(cancel, QPalette::ButtonText, Qt::blue);
    tab.cancel = cancel;
}

enum class RowLook {
    Plain,
    Bold,
    // The left part holds a radio button: the label ends just before the field, whatever the
    // row's left.
    AgainstField,
};

// One row of a settings tab: a flag's check box or a number's label at the left, a number's field
// at the right. Captions, names, defaults and arrows come from the settings table.
struct SettingRow {
    int top;
    int left;
    std::optional<Setting> box;     // the check box of the row
    std::optional<Setting> number;  // the field of the row; its caption when there is no box
    RowLook look = RowLook::Plain;
    const char* secondLine = nullptr;  // a label under the caption
};

QString CaptionOf(const SettingRow& row) {
    return QText(InfoOf(row.box ? *row.box : *row.number).caption);
}

// `height` is the room down to the next row: a long label may take a second line there.
void AddSettingRow(QWidget* sheet, const SettingRow& row, int height, SettingsModel& settings,
                   SettingControls& controls) {
    const bool bold = row.look == RowLook::Bold;
    const int right = row.number ? SettingFieldLeft - CaptionGap : SheetWidth;
    QWidget* caption = nullptr;
    if (row.box) {
        QCheckBox* box = AddSettingCheckBox(sheet, *row.box, controls);
        box->setFont(Styled(sheet->font(), bold));
        box->move(row.left, row.top);
        caption = box;
        FitCaption(caption, right);
    } else {
        QLabel* label = AddLabel(sheet, CaptionOf(row), {row.left, row.top}, bold);
        const int secondLineHeight = row.secondLine != nullptr ? label->height() : 0;
        FitLabel(label, right, height - secondLineHeight);
        caption = label;
    }
    if (row.secondLine != nullptr) {
        QLabel* second = AddLabel(sheet, QString::fromUtf8(row.secondLine),
                                  {row.left, row.top + caption->height()});
        FitCaption(second, right);
    }
    if (row.number) {
        AddRowField(sheet, *row.number, row.top, settings, controls);
    }
}

using enum Setting;
constexpr RowLook Bold = RowLook::Bold;
constexpr RowLook AgainstField = RowLook::AgainstField;

// clang-format off
constexpr SettingRow MoneyRows[] = {
    // top, left, check box, field, look, second line
    {14, 8, StopOnWin, WinTarget},
    {37, 8, WinMessage, {}},
    {53, 8, {}, MaxStake, Bold},
    {75, 8, {}, MaxLoss, Bold},
    {106, 8, {}, ProgressionSteepness},
    {131, 8, ResetProgressionOnLoss, {}},
    {154, 8, NoLossMessage, {}},
    {173, 8, PauseAfterWin, PauseAfterWinSpins},
    {208, 8, {}, NormalisationCoefficient},
    {234, 8, {}, MinCoveredCount, Bold, "или сикслайнов"},
    {272, 8, {}, MaxProcessedCount, RowLook::Plain, "(все системы кроме сикслайнов, секторов и ESD)"},
    {323, 8, {}, MaxProcessedSixLines},
    {374, 8, {}, WinBonusPerTenSpins},
    {405, 8, SkipFirstSpins, {}},
    {425, 8, {}, SkippedSpinCount},
    {497, 8, UseCorrectedSeries, {}},
    {520, 8, UseDrawnSeries, {}},
};
// clang-format on

// Where each radio button stands; its name, caption and look come from the systems table.
struct SystemRow {
    int top;
    int left;
    SelectionSystem system;
};

constexpr SystemRow SystemRows[] = {
    {14, 16, SelectionSystem::WithSelection},
    {14, 173, SelectionSystem::WithoutSelection},
    {37, 16, SelectionSystem::Peer},
    {37, 173, SelectionSystem::SixLines},
    {60, 16, SelectionSystem::Waiting},
    {114, 16, SelectionSystem::Sectors},
    {190, 16, SelectionSystem::Esd},
    {299, 19, SelectionSystem::Gizmo},
    {299, 131, SelectionSystem::Chaos},
    {344, 16, SelectionSystem::Favourites},
    {475, 16, SelectionSystem::AntiReview},
    {498, 16, SelectionSystem::Custom},
    {521, 16, SelectionSystem::StatisticsOnly},
};

// clang-format off
constexpr SettingRow MethodRows[] = {
    // top, left, check box, field, look
    {89, 16, {}, WaitingSpins},
    {114, 0, {}, SectorLength, AgainstField},
    {144, 16, SectorsOnTable, {}},
    {164, 16, {}, SectorsSpinWindow},
    {190, 0, {}, EsdSpinCount, AgainstField},
    {226, 16, {}, OverlapSectorLength},
    {253, 16, EsdSectorsOnTable, {}},
    {276, 16, EsdWideOverlap, {}},
    {319, 16, {}, ChaosNumberCount},
    {367, 16, FavouritesBetLast, {}},
    {387, 16, {}, FavouritesCount},
    {418, 16, {}, FavouritesWindow},
    {449, 16, {}, FavouritesRepeatThreshold},
};
// clang-format on

QRadioButton* AddRadioButton(QWidget* sheet, const SystemRow& row) {
    const SystemInfo& info = *InfoOf(row.system);
    auto* radio = new QRadioButton(QText(info.caption), sheet);
    radio->setObjectName(QText(info.radio));
    const bool struckOut = row.system == SelectionSystem::AntiReview;
    radio->setFont(Styled(sheet->font(), false, info.underlined, struckOut));
    radio->move(row.left, row.top);
    FitCaption(radio, SheetWidth);
    return radio;
}

// A label of a row whose left part holds a radio button: it ends just before the field.
void AddRightAlignedRow(QWidget* sheet, const SettingRow& row, SettingsModel& settings,
                        SettingControls& controls) {
    QLabel* label = AddLabel(sheet, CaptionOf(row), {0, row.top});
    label->move(SettingFieldLeft - CaptionGap - label->width(), row.top);
    AddRowField(sheet, *row.number, row.top, settings, controls);
}

// The rows in order from the top; each may use the room down to the next row or to the next of
// the other controls' tops.
template <size_t Count>
SettingControls AddSettingRows(QWidget* sheet, const SettingRow (&rows)[Count],
                               std::span<const int> others, SettingsModel& settings) {
    SettingControls controls;
    for (size_t i = 0; i < Count; ++i) {
        const SettingRow& row = rows[i];
        int next = i + 1 < Count ? rows[i + 1].top : SheetHeight;
        for (const int top : others) {
            if (top > row.top && top < next) {
                next = top;
            }
        }
        if (row.look == RowLook::AgainstField) {
            AddRightAlignedRow(sheet, row, settings, controls);
        } else {
            AddSettingRow(sheet, row, next - row.top - RowGap, settings, controls);
        }
    }
    return controls;
}

// The position of a system in SystemsTable().
int TableIndexOf(SelectionSystem system) {
    return static_cast<int>(InfoOf(system) - SystemsTable().data());
}

}  // namespace

QString NumberButtonName(int number) {
    return QString("BitBtn%1").arg(number == 0 ? 73 : number);
}

QString MirrorButtonName(int number) {
    return QString("BitBtn%1").arg(MirrorButtonIndex(number));
}

BetsTab BuildBetsTab(QWidget* sheet) {
    BetsTab tab;
    FitCaption(AddLabel(sheet, "Выпавшие спины", {3, 8}), 152);
    QLabel* recommended = AddLabel(sheet, "Рекомендуемые для ставок числа", {168, 8});
    recommended->setFont(WindowFont(11, true));
    FitCaption(recommended, SheetWidth);
    AddNumberBlocks(sheet, tab);
    tab.spins = new SpinTable(sheet);
    AddBalanceFields(sheet, tab);
    return tab;
}

SettingControls BuildSettingsTab(QWidget* sheet, SettingsModel& settings) {
    const int headingTop = 473;
    SettingControls controls =
        AddSettingRows(sheet, MoneyRows, std::span(&headingTop, 1), settings);
    QLabel* heading = AddLabel(sheet, "Настройка коррекции", {8, headingTop});
    heading->setFont(Styled(sheet->font(), false, true));
    SetTextColour(heading, QPalette::WindowText, Qt::blue);
    heading->adjustSize();
    return controls;
}

MethodsTab BuildMethodsTab(QWidget* sheet, SettingsModel& settings) {
    MethodsTab tab;
    for (const SystemRow& row : SystemRows) {
        tab.systems[TableIndexOf(row.system)] = AddRadioButton(sheet, row);
    }
    std::vector<int> radioTops;
    for (const SystemRow& row : SystemRows) {
        radioTops.push_back(row.top);
    }
    tab.settings = AddSettingRows(sheet, MethodRows, radioTops, settings);
    return tab;
}

}  // namespace orbista

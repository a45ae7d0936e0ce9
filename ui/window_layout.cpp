#include "ui/window_layout.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <span>
#include <vector>

#include "model/display.h"
#include "model/game_state.h"
#include "model/main_window_view.h"
#include "model/settings_table.h"
#include "ui/fonts.h"
#include "ui/mirror_display.h"
#include "ui/spin_table.h"
#include "ui/up_down.h"

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

QLineEdit* AddField(QWidget* parent, const char* name, const QRect& geometry) {
    auto* field = new QLineEdit(parent);
    field->setObjectName(name);
    field->setGeometry(geometry);
    return field;
}

// A numeric setting's field with its arrows, showing the setting's default.
QLineEdit* AddSettingField(QWidget* parent, const char* name, int rowTop) {
    QLineEdit* field =
        AddField(parent, name, {SettingFieldLeft, rowTop - FieldRaise, FieldWidth, FieldHeight});
    for (const SettingInfo& info : SettingsTable()) {
        // The pause dialog has fields of the same names; theirs are not on the main window.
        const bool onPauseDialog = info.setting == Setting::PlaybackPauseField ||
                                   info.setting == Setting::PlaybackSpinLimit;
        if (info.control == name && !onPauseDialog) {
            field->setText(QString::number(info.defaultValue));
            new UpDown(field, QString::fromUtf8(info.stepper.data(), info.stepper.size()), parent);
        }
    }
    return field;
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

QString FromTable(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The caption of a display, beside it: it must end before the display starts.
QLabel* AddDisplayCaption(QWidget* sheet, Display display, QPoint at, int right,
                          bool bold = false) {
    QLabel* label = AddLabel(sheet, FromTable(CaptionOf(display)), at, bold);
    FitCaption(label, right - CaptionGap / 2);
    return label;
}

QLineEdit* AddDisplay(QWidget* sheet, Display display, const QRect& geometry) {
    auto* field = new QLineEdit(sheet);
    field->setObjectName(FromTable(ControlOf(display)));
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
    count->setObjectName(FromTable(ControlOf(Display::SpinCount)));
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

// One row of a settings tab: a check box or a label at the left, a numeric field at the right.
struct SettingRow {
    int top;
    int left;
    const char* checkBox;  // object name, or nullptr for a plain label
    const char* caption;
    bool bold;
    const char* secondLine;  // a label under the caption, or nullptr
    const char* field;       // the numeric field of the row, or nullptr
};

// `height` is the room down to the next row: a long label may take a second line there.
void AddSettingRow(QWidget* sheet, const SettingRow& row, int height) {
    const int right = row.field != nullptr ? SettingFieldLeft - CaptionGap : SheetWidth;
    QWidget* caption = nullptr;
    if (row.checkBox != nullptr) {
        auto* box = new QCheckBox(QString::fromUtf8(row.caption), sheet);
        box->setObjectName(row.checkBox);
        box->setFont(Styled(sheet->font(), row.bold));
        box->move(row.left, row.top);
        caption = box;
        FitCaption(caption, right);
    } else {
        QLabel* label =
            AddLabel(sheet, QString::fromUtf8(row.caption), {row.left, row.top}, row.bold);
        const int secondLineHeight = row.secondLine != nullptr ? label->height() : 0;
        FitLabel(label, right, height - secondLineHeight);
        caption = label;
    }
    if (row.secondLine != nullptr) {
        QLabel* second = AddLabel(sheet, QString::fromUtf8(row.secondLine),
                                  {row.left, row.top + caption->height()});
        FitCaption(second, right);
    }
    if (row.field != nullptr) {
        AddSettingField(sheet, row.field, row.top);
    }
}

// clang-format off
constexpr SettingRow MoneyRows[] = {
    {14, 8, "CheckBox2", "Останавливать игру при выигрыше более ", false, nullptr, "Memo9"},
    {37, 8, "CheckBox3", "Выводить сообшение о выигрыше", false, nullptr, nullptr},
    {53, 8, nullptr, "Максимальная ставка", true, nullptr, "Memo4"},
    {75, 8, nullptr, "Максимально возможный проигрыш", true, nullptr, "Memo8"},
    {106, 8, nullptr, "Крутизна использованной прогрессии", false, nullptr, "Memo11"},
    {131, 8, "CheckBox11", "Обнулять прогрессию при проигрыше (без рестарта игры)", false, nullptr, nullptr},
    {154, 8, "CheckBox12", "Не выводить сообщение о проигрыше", false, nullptr, nullptr},
    {173, 8, "CheckBox13", "Делать паузу в ставках при выигрыше (спинов)", false, nullptr, "Memo28"},
    {208, 8, nullptr, "Кеф нормализации", false, nullptr, "Memo2"},
    {234, 8, nullptr, "Минимальное количество закрываемых чисел", true, "или сикслайнов", "Memo7"},
    {272, 8, nullptr, "Максимальное количество ОБРАБАТЫВАЕМЫХ чисел", false, "(все системы кроме сикслайнов, секторов и ESD)", "Memo6"},
    {323, 8, nullptr, "Максимальное количество ОБРАБАТЫВАЕМЫХ сикслайнов", false, nullptr, "Memo13"},
    {374, 8, nullptr, "Добавка к выигрышу за 10 спинов (до 10 единиц)", false, nullptr, "Memo16"},
    {405, 8, "CheckBox10", "Не делать ставки первые спины (используется для сбора статистики)", false, nullptr, nullptr},
    {425, 8, nullptr, "Количество пропущенных спинов в начале игры", false, nullptr, "Memo27"},
    {497, 8, "CheckBox4", "Скорректированный массив", false, nullptr, nullptr},
    {520, 8, "CheckBox5", "Массив выпавших чисел", false, nullptr, nullptr},
};

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

// Labels that share their row with a radio button stand right against their field.
constexpr SettingRow MethodRows[] = {
    {89, 16, nullptr, "Спинов без попаданий:", false, nullptr, "Memo18"},
    {114, -1, nullptr, "Длина сектора", false, nullptr, "Memo17"},
    {144, 16, "CheckBox1", "Сектора на поле (иначе - на колесе)", false, nullptr, nullptr},
    {164, 16, nullptr, "Количество обрабатываемых последних чисел", false, nullptr, "Memo23"},
    {190, -1, nullptr, "кол. спинов:", false, nullptr, "Memo19"},
    {226, 16, nullptr, "Длина сектора перекрывания:", false, nullptr, "Memo20"},
    {253, 16, "CheckBox6", "Сектора на поле (иначе - на колесе)", false, nullptr, nullptr},
    {276, 16, "CheckBox7", "Увеличенное перекрывание при рядом стоящих числах", false, nullptr, nullptr},
    {319, 16, nullptr, "Количество чисел для ставок:", false, nullptr, "Memo22"},
    {367, 16, "CheckBox9", "Делать ставку на последнее выпавшее", false, nullptr, nullptr},
    {387, 16, nullptr, "Количество любимых номеров:", false, nullptr, "Memo24"},
    {418, 16, nullptr, "Количество рассмотренных последних:", false, nullptr, "Memo25"},
    {449, 16, nullptr, "Порог повторов любимых номеров:", false, nullptr, "Memo26"},
};
// clang-format on

void AddRadioButton(QWidget* sheet, const SystemRow& row) {
    const SystemInfo& info = *InfoOf(row.system);
    auto* radio = new QRadioButton(
        QString::fromUtf8(info.caption.data(), static_cast<qsizetype>(info.caption.size())), sheet);
    radio->setObjectName(
        QString::fromUtf8(info.radio.data(), static_cast<qsizetype>(info.radio.size())));
    const bool struckOut = row.system == SelectionSystem::AntiReview;
    radio->setFont(Styled(sheet->font(), false, info.underlined, struckOut));
    radio->move(row.left, row.top);
    FitCaption(radio, SheetWidth);
}

// A label of a row whose left part holds a radio button: it ends just before the field.
void AddRightAlignedRow(QWidget* sheet, const SettingRow& row) {
    QLabel* label = AddLabel(sheet, QString::fromUtf8(row.caption), {0, row.top});
    label->move(SettingFieldLeft - CaptionGap - label->width(), row.top);
    AddSettingField(sheet, row.field, row.top);
}

// The rows in order from the top; each may use the room down to the next row or to the next of
// the other controls' tops.
template <size_t Count>
void AddSettingRows(QWidget* sheet, const SettingRow (&rows)[Count], std::span<const int> others) {
    for (size_t i = 0; i < Count; ++i) {
        const SettingRow& row = rows[i];
        int next = i + 1 < Count ? rows[i + 1].top : SheetHeight;
        for (const int top : others) {
            if (top > row.top && top < next) {
                next = top;
            }
        }
        if (row.left < 0) {
            AddRightAlignedRow(sheet, row);
        } else {
            AddSettingRow(sheet, row, next - row.top - RowGap);
        }
    }
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

void BuildSettingsTab(QWidget* sheet) {
    const int headingTop = 473;
    AddSettingRows(sheet, MoneyRows, std::span(&headingTop, 1));
    QLabel* heading = AddLabel(sheet, "Настройка коррекции", {8, headingTop});
    heading->setFont(Styled(sheet->font(), false, true));
    SetTextColour(heading, QPalette::WindowText, Qt::blue);
    heading->adjustSize();
}

void BuildMethodsTab(QWidget* sheet) {
    for (const SystemRow& row : SystemRows) {
        AddRadioButton(sheet, row);
    }
    std::vector<int> radioTops;
    for (const SystemRow& row : SystemRows) {
        radioTops.push_back(row.top);
    }
    AddSettingRows(sheet, MethodRows, radioTops);
}

}  // namespace orbista

#include "engine/headless_view.h"

#include <algorithm>
#include <cassert>
#include <climits>

#include "model/decimal.h"
#include "model/errors.h"

namespace orbista {

std::string SpinColumnText(const GameState& state, int row) {
    if (row < 1 || row > std::min<int64_t>(state.SpinCount, SpinColumnRows)) {
        return {};
    }
    return "    " + std::to_string(state.SpinHistory[row]);
}

HeadlessView::HeadlessView() = default;

void HeadlessView::ShowNumber(Display display, int64_t value) {
    // A number past the range of a balance is kept as text only.
    if (value < INT32_MIN || value > INT32_MAX) {
        ShowText(display, std::to_string(value));
        return;
    }
    Field& field = fields_[IndexOf(display)];
    field.number = static_cast<int32_t>(value);
    field.textMade = false;
}

void HeadlessView::ShowText(Display display, std::string_view text) {
    Field& field = fields_[IndexOf(display)];
    field.text = text;
    field.textMade = true;
    field.number.reset();
}

const std::string& HeadlessView::Text(Display display) const {
    const Field& field = fields_[IndexOf(display)];
    if (!field.textMade) {
        field.text = std::to_string(*field.number);
        field.textMade = true;
    }
    return field.text;
}

const std::string& HeadlessView::Text(std::string_view control) const {
    static const std::string none;
    const std::optional<Display> display = DisplayByControl(control);
    return display ? Text(*display) : none;
}

void HeadlessView::Type(Display display, std::string_view text) {
    ShowText(display, text);
}

void HeadlessView::Type(std::string_view control, std::string_view text) {
    const std::optional<Display> display = DisplayByControl(control);
    assert(display && "typed into a control that is no display");
    if (display) {
        Type(*display, text);
    }
}

std::optional<int32_t> HeadlessView::Number(Display display) const {
    const Field& field = fields_[IndexOf(display)];
    return field.number ? field.number : ParseDecimal(FirstLine(field.text));
}

void HeadlessView::ShowSpinCount(int64_t count) {
    ShowNumber(Display::SpinCount, count);
}
void HeadlessView::ShowStakeLevel(std::string_view text) {
    ShowText(Display::StakeLevel, text);
}
void HeadlessView::ShowTableStake(std::string_view text) {
    ShowText(Display::TableStake, text);
}
void HeadlessView::ShowStakeLevel(int64_t value) {
    ShowNumber(Display::StakeLevel, value);
}
void HeadlessView::ShowTableStake(int64_t value) {
    ShowNumber(Display::TableStake, value);
}
void HeadlessView::ShowTotalBalance(int32_t value) {
    ShowNumber(Display::TotalBalance, value);
}
void HeadlessView::ShowGameBalance(int32_t value) {
    ShowNumber(Display::GameBalance, value);
}
void HeadlessView::ShowGameBalanceMin(int32_t value) {
    ShowNumber(Display::GameBalanceMin, value);
}
void HeadlessView::ShowGameBalanceMax(int32_t value) {
    ShowNumber(Display::GameBalanceMax, value);
}

int32_t HeadlessView::ReadBalance(Display display) {
    Field& field = fields_[IndexOf(display)];
    if (!field.number) {
        // Throws as the window's read does; a text that holds an integer keeps it for the next
        // read.
        field.number = ReadFieldNumber(field.text, ControlOf(display), CaptionOf(display));
    }
    return *field.number;
}

int32_t HeadlessView::ReadTotalBalance() {
    return ReadBalance(Display::TotalBalance);
}
int32_t HeadlessView::ReadGameBalance() {
    return ReadBalance(Display::GameBalance);
}
int32_t HeadlessView::ReadGameBalanceMin() {
    return ReadBalance(Display::GameBalanceMin);
}
int32_t HeadlessView::ReadGameBalanceMax() {
    return ReadBalance(Display::GameBalanceMax);
}

void HeadlessView::ClearRecommendedNumbers() {
    mirrorShown_.fill(0);
}

void HeadlessView::ShowRecommendedNumbers(const StakeArray& stakes) {
    for (int n = 0; n < NumberCount; ++n) {
        mirrorShown_[n] |= static_cast<uint8_t>(stakes[n] > 0);
    }
}

void HeadlessView::ShowSpinColumn(const GameState& state) {
    ++spinColumnWrites;
    shownGame_ = &state;
}

void HeadlessView::ClearSpinColumn() {
    shownGame_ = nullptr;
}

std::string HeadlessView::SpinRow(int row) const {
    if (row == 0) {
        return std::string(SpinColumnHeader);
    }
    return shownGame_ == nullptr ? std::string() : SpinColumnText(*shownGame_, row);
}

std::string& HeadlessView::NewMessage() {
    if (spareMessages_.empty()) {
        return messages.emplace_back();
    }
    messages.push_back(std::move(spareMessages_.back()));
    spareMessages_.pop_back();
    return messages.back();
}

void HeadlessView::ClearMessages() {
    for (std::string& message : messages) {
        spareMessages_.push_back(std::move(message));
    }
    messages.clear();
}

void HeadlessView::ShowMessageBox(std::string_view text) {
    NewMessage() = text;
}

void HeadlessView::ReportError(std::string_view text) {
    std::string& message = NewMessage();
    message = ErrorPrefix;
    message += text;
}

}  // namespace orbista

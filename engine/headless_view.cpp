#include "engine/headless_view.h"

#include <algorithm>

#include "model/errors.h"

namespace orbista {

std::string SpinColumnText(const GameState& state, int row) {
    if (row < 1 || row > std::min<int64_t>(state.SpinCount, SpinColumnRows)) {
        return {};
    }
    return "    " + std::to_string(state.SpinHistory[row]);
}

HeadlessView::HeadlessView() {
    for (const DisplayInfo& display : DisplaysTable) {
        fields_[std::string(display.control)] = "";
    }
}

std::string& HeadlessView::Field(std::string_view control) {
    auto it = fields_.find(control);
    if (it == fields_.end()) {
        it = fields_.emplace(std::string(control), std::string()).first;
    }
    return it->second;
}

const std::string& HeadlessView::Text(std::string_view control) const {
    static const std::string empty;
    const auto it = fields_.find(control);
    return it == fields_.end() ? empty : it->second;
}

const std::string& HeadlessView::Text(Display display) const {
    return Text(ControlOf(display));
}

void HeadlessView::Type(std::string_view control, std::string text) {
    Field(control) = std::move(text);
}

void HeadlessView::ShowSpinCount(int64_t count) {
    Field(ControlOf(Display::SpinCount)) = std::to_string(count);
}
void HeadlessView::ShowStakeLevel(std::string_view text) {
    Field(ControlOf(Display::StakeLevel)) = text;
}
void HeadlessView::ShowTableStake(std::string_view text) {
    Field(ControlOf(Display::TableStake)) = text;
}
void HeadlessView::ShowTotalBalance(int32_t value) {
    Field(ControlOf(Display::TotalBalance)) = std::to_string(value);
}
void HeadlessView::ShowGameBalance(int32_t value) {
    Field(ControlOf(Display::GameBalance)) = std::to_string(value);
}
void HeadlessView::ShowGameBalanceMin(int32_t value) {
    Field(ControlOf(Display::GameBalanceMin)) = std::to_string(value);
}
void HeadlessView::ShowGameBalanceMax(int32_t value) {
    Field(ControlOf(Display::GameBalanceMax)) = std::to_string(value);
}

int32_t HeadlessView::ReadBalance(Display display) {
    return ReadFieldNumber(Field(ControlOf(display)), ControlOf(display), CaptionOf(display));
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
    for (std::string& caption : mirror_) {
        caption.clear();
    }
}

void HeadlessView::ShowRecommendedNumbers(const StakeArray& stakes) {
    for (int n = 0; n < NumberCount; ++n) {
        if (stakes[n] > 0) {
            mirror_[n] = std::to_string(n);
        }
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

void HeadlessView::ShowMessageBox(std::string_view text) {
    messages.emplace_back(text);
}

void HeadlessView::ReportError(std::string_view text) {
    messages.push_back("error:" + std::string(text));
}

}  // namespace orbista

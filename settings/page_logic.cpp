#include "settings/page_logic.h"

namespace {

constexpr int kBarCount = 5;

}  // namespace

int ClampTo(long long value, NumberRange range) {
    if (value < range.low) {
        return range.low;
    }
    if (value > range.high) {
        return range.high;
    }
    return static_cast<int>(value);
}

int SpeedPercent(int speed) {
    return speed / 10;
}

int SpeedFromPercent(int percent, NumberRange speedRange) {
    return ClampTo(static_cast<long long>(percent) * 10, speedRange);
}

std::wstring FileMasksOfEdit(const std::wstring& text) {
    return text.empty() ? L"*.*" : text;
}

PresetEditor::PresetEditor(const LayoutPreset (&presets)[kPresetCount]) {
    for (int i = 0; i < kPresetCount; ++i) {
        presets_[i] = presets[i];
    }
}

void PresetEditor::Select(int row) {
    selected_ = row >= 0 && row < kPresetCount ? row : -1;
}

bool PresetEditor::SetName(const std::wstring& name) {
    if (selected_ < 0) {
        return false;
    }
    presets_[selected_].name = name.substr(0, kPresetNameLimit);
    return true;
}

bool PresetEditor::SetBar(int bar, bool on) {
    if (selected_ < 0 || bar < 0 || bar >= kBarCount) {
        return false;
    }
    unsigned bit = 1u << bar;
    unsigned& bars = presets_[selected_].bars;
    bars = on ? bars | bit : bars & ~bit;
    return true;
}

std::wstring PresetEditor::shownName() const {
    return selected_ >= 0 ? presets_[selected_].name : std::wstring();
}

bool PresetEditor::ShowsBar(int bar) const {
    return selected_ >= 0 && bar >= 0 && bar < kBarCount && (presets_[selected_].bars >> bar & 1);
}

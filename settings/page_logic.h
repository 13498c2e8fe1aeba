// The rules of the settings pages that need no window: the ranges of the
// number boxes, the speeds shown in percent, the file masks of the edit and
// the editing of the three layout presets.
#ifndef ZEPHLO_SETTINGS_PAGE_LOGIC_H
#define ZEPHLO_SETTINGS_PAGE_LOGIC_H

#include <string>

#include "settings/settings.h"

struct NumberRange {
    int low;
    int high;
};

inline constexpr NumberRange kHistoryRange = {0, 36};
inline constexpr NumberRange kFileListMenuRange = {1, 100};
inline constexpr NumberRange kZoomStepRange = {1, 100};
// The speeds as the boxes show them (percent) and as they are stored.
inline constexpr NumberRange kBackwardPercentRange = {100, 400};
inline constexpr NumberRange kForwardPercentRange = {150, 400};
inline constexpr NumberRange kBackwardSpeedRange = {1000, 4000};
inline constexpr NumberRange kForwardSpeedRange = {1500, 4000};

// Characters of the file mask edit and of a preset name.
constexpr int kFileMasksLimit = 511;
constexpr int kPresetNameLimit = 31;

int ClampTo(long long value, NumberRange range);
// A speed setting shown in percent (rounded towards zero).
int SpeedPercent(int speed);
// A percentage from a box back to a speed, clamped to the setting's range.
int SpeedFromPercent(int percent, NumberRange speedRange);
// The masks an edit stands for: an empty edit means every file, "*.*".
std::wstring FileMasksOfEdit(const std::wstring& text);

// The preset list of the playlist page: three presets, at most one selected;
// the name edit and the five bar boxes show the selected one.
class PresetEditor {
public:
    explicit PresetEditor(const LayoutPreset (&presets)[kPresetCount]);

    // Selects a row (-1 or anything out of range: none).
    void Select(int row);
    int selected() const { return selected_; }
    const LayoutPreset& preset(int row) const { return presets_[row]; }

    // The name and the bits of the selected row; false with none selected.
    // A name is cut at kPresetNameLimit characters.
    bool SetName(const std::wstring& name);
    bool SetBar(int bar, bool on);

    // What the name edit and the bar boxes show: enabled with a selection,
    // else empty, cleared and disabled.
    bool controlsEnabled() const { return selected_ >= 0; }
    std::wstring shownName() const;
    bool ShowsBar(int bar) const;

private:
    LayoutPreset presets_[kPresetCount];
    int selected_ = -1;
};

#endif

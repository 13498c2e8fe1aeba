// The volume slider "Zephlo Volume Slider": a narrow vertical slider in the
// play bar showing the level 0 ... 1000 as a column filled from the bottom.
// The media window allocates the VolumeSliderState and passes it as the
// creation parameter. Whenever the user changes the value (and on every
// press), the slider sends its parent WM_COMMAND with
// wParam = MAKEWPARAM(kVolumeSliderId, 1) and lParam = the slider.
#ifndef ZEPHLO_CONTROLS_VOLUME_SLIDER_H
#define ZEPHLO_CONTROLS_VOLUME_SLIDER_H

#include <windows.h>

inline constexpr wchar_t kVolumeSliderClass[] = L"Zephlo Volume Slider";
inline constexpr int kVolumeSliderId = 400;
inline constexpr int kVolumeSliderWidth = 12;
inline constexpr WORD kVolumeSliderChanged = 1;

struct VolumeSliderState {
    HWND hwnd = nullptr;
    int value = 1000;
    COLORREF fillColour = RGB(128, 192, 255);
};

bool RegisterVolumeSliderClass(HINSTANCE instance);

HWND CreateVolumeSlider(HWND parent, int x, int y, int height, VolumeSliderState* state,
                        HINSTANCE instance);

// Owner operations: both repaint the slider only when something changed.
void VolumeSliderSetValue(VolumeSliderState& state, int value);
void VolumeSliderSetColour(VolumeSliderState& state, COLORREF colour);

#endif

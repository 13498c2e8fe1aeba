// Toolbars made from a table of buttons and image lists, and the look of
// their tooltips.
#ifndef ZEPHLO_BASE_TOOLBAR_H
#define ZEPHLO_BASE_TOOLBAR_H

#include <windows.h>
#include <commctrl.h>

#include <cstddef>
#include <vector>

// A button of a toolbar's table (picture, command, state, style), no text.
constexpr TBBUTTON ToolbarButton(int image, int command, BYTE state, BYTE style) {
    return TBBUTTON{image, command, state, style, {}, 0, 0};
}
constexpr TBBUTTON ToolbarSeparator() {
    return ToolbarButton(0, 0, 0, BTNS_SEP);
}

// The pictures a toolbar shows (borrowed: the toolbar does not destroy them).
// Hot and disabled pictures are optional.
struct ToolbarImages {
    HIMAGELIST normal = nullptr;
    HIMAGELIST hot = nullptr;
    HIMAGELIST disabled = nullptr;
};

struct ToolbarDescription {
    HWND parent = nullptr;
    DWORD style = 0;  // window and toolbar styles
    int id = 0;
    DWORD extendedStyle = 0;
    const TBBUTTON* buttons = nullptr;
    std::size_t buttonCount = 0;
    ToolbarImages images;
    // The size of one picture, which is also the buttons' bitmap size.
    int imageWidth = 16;
    int imageHeight = 16;
};

// The toolbar with its images and buttons; null on failure.
HWND CreateToolbarWithImages(const ToolbarDescription& description);

// The size of one picture of an image list; false for no list.
bool ImageListSize(HIMAGELIST list, int& width, int& height);

// The states (checked, enabled, ...) of the table's buttons, in table order,
// and putting them back on a toolbar made from the same table.
std::vector<BYTE> ToolbarButtonStates(HWND toolbar, const TBBUTTON* buttons, std::size_t count);
void SetToolbarButtonStates(HWND toolbar, const TBBUTTON* buttons, std::size_t count,
                            const std::vector<BYTE>& states);

// Colours of a tooltip window and whether it shows.
struct ToolTipLook {
    COLORREF text = RGB(0, 0, 0);
    COLORREF background = RGB(255, 255, 225);
    bool active = true;
};
void ApplyToolTipLook(HWND tips, const ToolTipLook& look);
// The same for a toolbar's tooltip window, when the toolbar has made it.
// Toolbars may make it only when it is first needed or asked for: its parent
// applies the look when the toolbar reports it (NM_TOOLTIPSCREATED).
void ApplyToolbarToolTipLook(HWND toolbar, const ToolTipLook& look);

#endif

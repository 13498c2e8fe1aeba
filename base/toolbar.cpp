#include "base/toolbar.h"

HWND CreateToolbarWithImages(const ToolbarDescription& description) {
    HWND toolbar =
        CreateToolbarEx(description.parent, description.style, static_cast<UINT>(description.id), 0,
                        nullptr, 0, nullptr, 0, description.imageWidth, description.imageHeight,
                        description.imageWidth, description.imageHeight, sizeof(TBBUTTON));
    if (toolbar == nullptr) {
        return nullptr;
    }
    if (description.extendedStyle != 0) {
        SendMessageW(toolbar, TB_SETEXTENDEDSTYLE, 0, description.extendedStyle);
    }
    const ToolbarImages& images = description.images;
    SendMessageW(toolbar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images.normal));
    if (images.hot != nullptr) {
        SendMessageW(toolbar, TB_SETHOTIMAGELIST, 0, reinterpret_cast<LPARAM>(images.hot));
    }
    if (images.disabled != nullptr) {
        SendMessageW(toolbar, TB_SETDISABLEDIMAGELIST, 0,
                     reinterpret_cast<LPARAM>(images.disabled));
    }
    SendMessageW(toolbar, TB_ADDBUTTONSW, description.buttonCount,
                 reinterpret_cast<LPARAM>(description.buttons));
    return toolbar;
}

bool ImageListSize(HIMAGELIST list, int& width, int& height) {
    return list != nullptr && ImageList_GetIconSize(list, &width, &height) != FALSE;
}

std::vector<BYTE> ToolbarButtonStates(HWND toolbar, const TBBUTTON* buttons, std::size_t count) {
    std::vector<BYTE> states(count, 0);
    for (std::size_t i = 0; i < count; ++i) {
        if (buttons[i].idCommand != 0) {
            LRESULT state =
                SendMessageW(toolbar, TB_GETSTATE, static_cast<WPARAM>(buttons[i].idCommand), 0);
            states[i] = state < 0 ? buttons[i].fsState : static_cast<BYTE>(state);
        }
    }
    return states;
}

void SetToolbarButtonStates(HWND toolbar, const TBBUTTON* buttons, std::size_t count,
                            const std::vector<BYTE>& states) {
    for (std::size_t i = 0; i < count && i < states.size(); ++i) {
        if (buttons[i].idCommand != 0) {
            SendMessageW(toolbar, TB_SETSTATE, static_cast<WPARAM>(buttons[i].idCommand),
                         MAKELPARAM(states[i], 0));
        }
    }
}

void ApplyToolTipLook(HWND tips, const ToolTipLook& look) {
    if (tips == nullptr) {
        return;
    }
    SendMessageW(tips, TTM_SETTIPTEXTCOLOR, look.text, 0);
    SendMessageW(tips, TTM_SETTIPBKCOLOR, look.background, 0);
    SendMessageW(tips, TTM_ACTIVATE, look.active, 0);
}

void ApplyToolbarToolTipLook(HWND toolbar, const ToolTipLook& look) {
    if (toolbar != nullptr) {
        ApplyToolTipLook(reinterpret_cast<HWND>(SendMessageW(toolbar, TB_GETTOOLTIPS, 0, 0)), look);
    }
}

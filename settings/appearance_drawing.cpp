#include "settings/appearance_drawing.h"

#include "base/handles.h"

int ColourItemHeight() {
    return HIWORD(GetDialogBaseUnits()) * 7 / 8;
}

ColourItemLayout LayOutColourItem(const RECT& item) {
    ColourItemLayout layout;
    const LONG top = item.top + 2;
    const LONG bottom = item.bottom - 2 > top ? item.bottom - 2 : top;
    layout.swatch = {item.left + 2, top, item.left + 2 + 2 * (bottom - top), bottom};
    layout.text = {layout.swatch.right + 2, item.top, item.right, item.bottom};
    return layout;
}

void DrawColourItem(const DRAWITEMSTRUCT& item, COLORREF colour, const wchar_t* text) {
    HDC dc = item.hDC;
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    const bool disabled = (item.itemState & ODS_DISABLED) != 0;
    const bool field = (item.itemState & ODS_COMBOBOXEDIT) != 0;
    const int background = field && disabled ? COLOR_BTNFACE
                           : selected        ? COLOR_HIGHLIGHT
                                             : COLOR_WINDOW;
    FillRect(dc, &item.rcItem, GetSysColorBrush(background));
    if (item.itemID != static_cast<UINT>(-1)) {
        const ColourItemLayout layout = LayOutColourItem(item.rcItem);
        UniqueBrush brush(CreateSolidBrush(colour));
        {
            ScopedSelectObject pen(dc, GetStockObject(BLACK_PEN));
            ScopedSelectObject fill(
                dc, brush ? static_cast<HGDIOBJ>(brush.get()) : GetStockObject(NULL_BRUSH));
            Rectangle(dc, layout.swatch.left, layout.swatch.top, layout.swatch.right,
                      layout.swatch.bottom);
        }
        const int textColour = disabled   ? COLOR_GRAYTEXT
                               : selected ? COLOR_HIGHLIGHTTEXT
                                          : COLOR_WINDOWTEXT;
        SetTextColor(dc, GetSysColor(textColour));
        const int previousMode = SetBkMode(dc, TRANSPARENT);
        RECT textArea = layout.text;
        DrawTextW(dc, text, -1, &textArea, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
        SetBkMode(dc, previousMode);
    }
    if ((item.itemState & ODS_FOCUS) != 0) {
        DrawFocusRect(dc, &item.rcItem);
    }
}

void DrawPicturePreview(HDC dc, const RECT& area, HIMAGELIST images) {
    FillRect(dc, &area, GetSysColorBrush(COLOR_BTNFACE));
    int width = 0;
    int height = 0;
    if (images == nullptr || !ImageList_GetIconSize(images, &width, &height) || width <= 0) {
        return;
    }
    const int count = ImageList_GetImageCount(images);
    const int y = area.top + (area.bottom - area.top - height) / 2;
    int x = area.left;
    for (int i = 0; i < count && x + width <= area.right; ++i, x += width) {
        ImageList_Draw(images, i, dc, x, y, ILD_TRANSPARENT);
    }
}

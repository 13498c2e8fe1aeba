// What the appearance page draws itself: the items of its colour list and of
// its palette drop-down (a swatch and a name), and the preview of a toolbar
// picture set.
#ifndef ZEPHLO_SETTINGS_APPEARANCE_DRAWING_H
#define ZEPHLO_SETTINGS_APPEARANCE_DRAWING_H

#include <windows.h>
#include <commctrl.h>

// Height of a colour item: 7/8 of the dialog base unit height.
int ColourItemHeight();

// A colour item's parts: the swatch 2 pixels inside the item's left, top
// and bottom edges, twice as wide as high; the text from 2 pixels right of
// it to the item's right edge.
struct ColourItemLayout {
    RECT swatch;
    RECT text;
};
ColourItemLayout LayOutColourItem(const RECT& item);

// Draws the item that `item` describes (a list item, a drop-down item or the
// drop-down's field): its background (COLOR_HIGHLIGHT selected, COLOR_WINDOW
// otherwise, COLOR_BTNFACE for a disabled field), the swatch filled with
// `colour` and outlined in black, the text on one line, vertically centred
// (COLOR_HIGHLIGHTTEXT selected, COLOR_GRAYTEXT disabled, COLOR_WINDOWTEXT
// otherwise), and a focus rectangle when the item has the focus. With no
// item (an empty list) only the background and the focus are drawn.
void DrawColourItem(const DRAWITEMSTRUCT& item, COLORREF colour, const wchar_t* text);

// The images of `images` (none when null) left to right from the left edge
// of `area` at their width, as many as fit whole, vertically centred, on the
// face colour.
void DrawPicturePreview(HDC dc, const RECT& area, HIMAGELIST images);

#endif

// The main window's children, their layout, the window's size around the
// video, and the view commands (zoom, aspect, bars, presets).
#ifndef ZEPHLO_APP_LAYOUT_H
#define ZEPHLO_APP_LAYOUT_H

#include <windows.h>

struct App;

// WM_CREATE: creates the toolbar, status bar, size grip and media window, and
// sizes and centres the window on a first start.
bool CreateMainWindowChildren(App& app, HWND window);
// Creates the playlist window, hidden, once the main window shows: nothing
// needs it before, and the main window appears sooner.
void CreatePlaylistWindow(App& app);
// WM_DESTROY: destroys the children and frees their objects.
void DestroyMainWindowChildren(App& app);
void LayoutMainWindow(App& app, int height, int width);
// Lays the window out again for its current client size.
void RelayoutMainWindow(App& app);
// Sizes the main window around the content (video, or the empty canvas).
void FitWindowToContent(App& app);
void UpdateZoomChecks(App& app);
// Commands 140-147, 150-152, 155, 156, 160-166 and 350-352; false for others.
bool ExecuteViewCommand(App& app, int id);
// The status bar's size pane after a zoom change.
void UpdateSizePane(App& app);

#endif

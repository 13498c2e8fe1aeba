// The media window "Zephlo Media Window": the child of the main window that
// plays media. It holds, top to bottom, the canvas ("Zephlo Media Canvas
// Window", where the back-end's form window shows the video), the seek bar and
// the play bar with the volume slider. One MediaWindow stands behind all of
// them: it owns the Media back-end, opens and closes files on it, lays out the
// video, turns playback commands into Media operations, keeps the bars in step
// with the playback state and tells its owner what happened.
//
// Notifications to the owner:
//   WM_APP(1, MediaState) and WM_APP(2, milliseconds), forwarded from the back-end;
//   WM_COMMAND(MAKEWPARAM(control id, code), media window) with a MediaWindowCode;
//   WM_DROPFILES(drop handle, 0) for files dropped on the canvas.
#ifndef ZEPHLO_MEDIA_WINDOW_MEDIA_WINDOW_H
#define ZEPHLO_MEDIA_WINDOW_MEDIA_WINDOW_H

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "base/handles.h"
#include "base/toolbar.h"
#include "controls/seek_bar.h"
#include "controls/volume_slider.h"
#include "media/media.h"
#include "media/time_limited_call.h"
#include "settings/colours.h"

inline constexpr wchar_t kMediaWindowClass[] = L"Zephlo Media Window";
inline constexpr wchar_t kMediaCanvasClass[] = L"Zephlo Media Canvas Window";

// Codes of the WM_COMMAND notifications to the owner.
enum MediaWindowCode : WORD {
    kZoomChangedByFit = 1,
    kEndOfMedia = 2,
    kRepeatToggled = 3,
    kCanvasLeftClick = 4,
    kCanvasRightClick = 5,
    kPlayBarRightClick = 6,
    kSeekBarRightClick = 7,
    kFullScreenGone = 8,
};

// Makes the back-end of a device (0 MCI, 1 DirectShow); null on failure.
// DirectShow back-ends run their renders through `renders` (null: their own).
using MediaFactory = std::unique_ptr<Media> (*)(int device,
                                                const std::shared_ptr<TimeLimitedCalls>& renders);
std::unique_ptr<Media> CreateMediaForDevice(int device,
                                            const std::shared_ptr<TimeLimitedCalls>& renders);
// The account of renders that the back-ends of one player share.
std::shared_ptr<TimeLimitedCalls> CreateRenderCalls();

// Tells the system what the player needs of the display
// (SetThreadExecutionState): ES_CONTINUOUS | ES_DISPLAY_REQUIRED keeps the
// screen saver and display sleep off, ES_CONTINUOUS alone lets them be. The
// request ends with the thread, so a crash or a kill leaves nothing behind.
using ExecutionStateRequest = EXECUTION_STATE(WINAPI*)(EXECUTION_STATE state);

// Registers the media window, the canvas, the seek bar and the volume slider
// classes; false when any of them fails.
bool RegisterMediaWindowClasses(HINSTANCE instance);

class MediaWindow {
public:
    MediaWindow();
    ~MediaWindow();
    MediaWindow(const MediaWindow&) = delete;
    MediaWindow& operator=(const MediaWindow&) = delete;

    // Creates the media window as a visible child of owner with the given
    // control id (the main window uses 400); the owner gets the notifications.
    bool Create(HWND ownerWindow, int id, HINSTANCE instance);

    bool OpenFile(const wchar_t* path);
    void CloseFile();
    bool IsOpen() const;
    // Copies the open file's path into a buffer of kMaxPath characters.
    bool GetFileName(wchar_t* buffer) const;
    bool SetZoom(int percent);
    bool SetAspect(int x, int y);
    void SetFitToWindow(bool on);
    // "FitToDisplay": full screen fills the screen whatever the aspect.
    void SetFitToDisplay(bool on);
    void ShowPlayBar(bool show);
    void ShowSeekBar(bool show);
    int GetVolume() const;
    void SetVolume(int level);
    void SetMute(bool mute);
    // Sets the repeat flag and the play bar's repeat button (the "Repeat"
    // setting at start-up). The media window owns the flag: the play bar's
    // button and command 119 toggle it here, and the owner hears code 3.
    void SetRepeat(bool on);
    // The "BackwardSpeed" / "ForwardSpeed" for rewind and fast forward; false
    // when the back-end refused the speed.
    bool SetBackwardSpeed(int speed);
    bool SetForwardSpeed(int speed);
    // The back-end kind of "MediaDevice" (0 MCI, 1 DirectShow); an open file
    // is re-opened on a back-end of the new kind.
    void SetDevice(int newDevice);
    // Replaces the idle picture (takes ownership); null restores the built-in one.
    void SetLogo(HBITMAP bitmap);
    // Rebuilds the play bar with the current image lists, keeping its buttons' states.
    void ReplacePlayBar();
    // The colours and activation of the play bar's tooltips, for a tooltip
    // window made later; with `toExistingTips` also for the one the play bar
    // has now (asking for it may make it).
    void SetToolTipLook(const ToolTipLook& look, bool toExistingTips);
    // Grows a video rectangle to the media window's size around it.
    void GetFrameSize(RECT& rect) const;
    // The colour settings this window shows: "Background", "FullScreenBg",
    // "SeekBar" and "Volume" of the fifteen entries.
    void ApplyColours(const ColourValue* colours);
    // Colours of the canvas (in a window and in full screen), the seek bar's
    // track and the volume slider's fill.
    void SetBackgroundColour(COLORREF colour);
    void SetFullScreenBackgroundColour(COLORREF colour);
    void SetSeekBarColour(COLORREF colour);
    void SetVolumeColour(COLORREF colour);

    // Moves the media window into a borderless top-most window covering the
    // primary screen (owned by the owner) and back. Leaving restores the canvas
    // border and, unless fit to window is on, the zoom from before; the owner
    // then gets code 8. False when the window cannot be made.
    bool SetFullScreen(bool on);

    // The play bar's pictures from the theme (borrowed; no normal list = the
    // built-in strip).
    void SetPlayBarImages(const ToolbarImages& images);

    // Window procedures' handlers (called from the media window's files only).
    LRESULT OnMediaWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnCanvasMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnFullScreenMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND mediaWindow = nullptr;
    HWND owner = nullptr;
    int device = 1;
    std::unique_ptr<Media> media;
    std::wstring fileName;  // empty when closed
    HWND playBar = nullptr;
    ToolbarImages playBarImages;
    ToolTipLook toolTipLook;
    std::unique_ptr<VolumeSliderState> volumeSlider;
    std::unique_ptr<SeekBarState> seekBar;
    HWND canvas = nullptr;
    bool showPlayBar = true;
    bool showSeekBar = true;
    COLORREF backgroundColour = RGB(0, 0, 0);
    COLORREF fullScreenBackgroundColour = RGB(0, 0, 0);
    UniqueBitmap logo;
    int zoom = 100;
    int aspectX = 0;
    int aspectY = 0;
    int forwardSpeed = 2000;
    int backwardSpeed = 2000;
    bool repeat = false;
    bool stoppedByUser = false;
    bool fullScreen = false;
    HWND fullScreenWindow = nullptr;
    int savedZoom = 100;
    bool fitToWindow = false;
    bool fitToDisplay = false;
    bool hideCursor = false;
    bool cursorVisible = true;
    // The display is kept on: a video is playing.
    bool displayKeptOn = false;
    bool seeking = false;
    bool opening = false;
    MediaState stateBeforeSeeking = Closed;

    // How back-ends are made; tests put their own in.
    MediaFactory createMedia = CreateMediaForDevice;
    // The renders of the player's back-ends (null: each back-end keeps its own).
    std::shared_ptr<TimeLimitedCalls> renders;
    // How the display is kept on while a video plays; tests record the requests.
    ExecutionStateRequest requestExecutionState = SetThreadExecutionState;

private:
    bool CreateMedia();
    void DiscardMedia();
    void CreatePlayBar();
    void PlaceVolumeSlider();
    void LayOut();
    void LayOutVideo();
    bool HasVideo() const;
    void ResizeToDisplaySize();
    void KeepDisplayOn(bool on);

    void Play();
    void OnCommand(WORD id, WORD code, HWND control);
    void OnStateChanged(MediaState state);
    void OnPositionChanged(int position);
    void OnSeekBarScroll(WORD code);
    LRESULT OnNotify(const NMHDR* header);
    void PaintCanvas(HWND window);
    void NotifyOwner(WORD code) const;

    // Full screen and the cursor over the canvas.
    void OnFullScreenCreate(HWND window);
    void OnFullScreenClose();
    void OnFullScreenDestroy();
    bool OnCanvasSetCursor(LPARAM lParam) const;
    void OnCanvasMouseMove();
    void OnCanvasCursorTimer();
    void OnCanvasRightButton();
    void ShowCursorForAWhile();

    bool IsButtonChecked(int command) const;
    void ShowOpenFailure() const;
    void CheckButton(int command, bool checked) const;
    void EnableButton(int command, bool enabled) const;

    int controlId_ = 0;
    UniqueImageList builtInImages_;
    // Reports of the back-end being handled, and a back-end closed meanwhile.
    int notifyDepth_ = 0;
    std::vector<std::unique_ptr<Media>> retiredMedia_;
};

#endif

#include "media_window/media_window.h"

#include <cwchar>

#include "base/paths.h"
#include "base/text.h"
#include "base/window_class.h"
#include "media_window/video_layout.h"
#include "resources/resource.h"

namespace {

constexpr int kPlayBarButtonCount = 12;
// Play ... fast forward: the entries a closed file disables.
constexpr int kPlaybackEntryCount = 8;
// Posted to the media window to delete back-ends closed during their own report.
constexpr UINT kReleaseRetiredMedia = WM_APP + 10;

const TBBUTTON kPlayBarButtons[kPlayBarButtonCount] = {
    ToolbarButton(0, CMD_PLAY, 0, BTNS_CHECK),
    ToolbarButton(1, CMD_PAUSE, 0, BTNS_CHECK),
    ToolbarButton(2, CMD_STOP, 0, BTNS_CHECK),
    ToolbarSeparator(),
    ToolbarButton(3, CMD_PREV_FRAME, 0, BTNS_BUTTON),
    ToolbarButton(4, CMD_NEXT_FRAME, 0, BTNS_BUTTON),
    ToolbarButton(5, CMD_BACKWARD, 0, BTNS_CHECK),
    ToolbarButton(6, CMD_FORWARD, 0, BTNS_CHECK),
    ToolbarSeparator(),
    ToolbarButton(7, CMD_REPEAT, TBSTATE_ENABLED, BTNS_CHECK),
    ToolbarSeparator(),
    ToolbarButton(8, CMD_MUTE, TBSTATE_ENABLED, BTNS_CHECK),
};

int WindowHeight(HWND window) {
    RECT rect = {};
    GetWindowRect(window, &rect);
    return rect.bottom - rect.top;
}

// The built-in strip: nine 16 x 15 images, magenta transparent. The list
// keeps its own 24-bit copy, in which ImageList_AddMasked blackens the
// transparent pixels; a list made straight from the 16-colour bitmap keeps
// them magenta and Wine then tints the button face pink around each glyph.
HIMAGELIST LoadPlayBarStrip(HINSTANCE instance) {
    UniqueBitmap strip(static_cast<HBITMAP>(LoadImageW(instance, MAKEINTRESOURCEW(IDB_PLAY_BAR),
                                                       IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    if (!strip) {
        return nullptr;
    }
    UniqueImageList list(ImageList_Create(16, 15, ILC_COLOR24 | ILC_MASK, 9, 1));
    if (list && ImageList_AddMasked(list.get(), strip.get(), RGB(255, 0, 255)) < 0) {
        return nullptr;
    }
    return list.release();
}

HINSTANCE InstanceOf(HWND window) {
    return reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE));
}

}  // namespace

bool RegisterMediaWindowClasses(HINSTANCE instance) {
    bool ok = RegisterWindowClass(
        instance, {kMediaWindowClass, ObjectWindowProc<&MediaWindow::OnMediaWindowMessage>, 0,
                   reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)});
    ok = RegisterWindowClass(instance,
                             {kMediaCanvasClass, ObjectWindowProc<&MediaWindow::OnCanvasMessage>,
                              CS_HREDRAW | CS_VREDRAW}) &&
         ok;
    ok = RegisterSeekBarClass(instance) && ok;
    return RegisterVolumeSliderClass(instance) && ok;
}

MediaWindow::MediaWindow()
    : volumeSlider(std::make_unique<VolumeSliderState>()),
      seekBar(std::make_unique<SeekBarState>()) {}

MediaWindow::~MediaWindow() {
    if (mediaWindow != nullptr) {
        DestroyWindow(mediaWindow);
    }
}

bool MediaWindow::Create(HWND ownerWindow, int id, HINSTANCE instance) {
    owner = ownerWindow;
    return CreateWindowExW(0, kMediaWindowClass, nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN,
                           0, 0, 0, 0, ownerWindow,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance,
                           this) != nullptr;
}

// ---------------------------------------------------------------------------
// Creation and layout

// A back-end that is reporting to the canvas right now (its code is on the
// stack) is closed at once but deleted only from a message posted to the media
// window, after it has returned: the owner may close the file in answer to a
// report, for instance at the end of the media.
void MediaWindow::DiscardMedia() {
    if (!media) {
        return;
    }
    if (notifyDepth_ > 0) {
        media->DestroyForm();
        retiredMedia_.push_back(std::move(media));
        PostMessageW(mediaWindow, kReleaseRetiredMedia, 0, 0);
    } else {
        media.reset();
    }
}

bool MediaWindow::CreateMedia() {
    DiscardMedia();
    media = createMedia(device, renders);
    if (!media) {
        return false;
    }
    if (!media->CreateForm(canvas, 0, InstanceOf(mediaWindow))) {
        media.reset();
        return false;
    }
    return true;
}

void MediaWindow::CreatePlayBar() {
    ToolbarDescription bar;
    bar.parent = mediaWindow;
    bar.style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | CCS_BOTTOM | CCS_NODIVIDER |
                TBSTYLE_TOOLTIPS | TBSTYLE_FLAT;
    bar.buttons = kPlayBarButtons;
    bar.buttonCount = kPlayBarButtonCount;
    bar.images = playBarImages;
    bar.imageWidth = 16;
    bar.imageHeight = 15;
    if (!ImageListSize(bar.images.normal, bar.imageWidth, bar.imageHeight)) {
        if (!builtInImages_) {
            builtInImages_.reset(LoadPlayBarStrip(InstanceOf(mediaWindow)));
        }
        bar.images = {builtInImages_.get(), nullptr, nullptr};
    }
    playBar = CreateToolbarWithImages(bar);
    if (playBar == nullptr) {
        return;
    }
    if (!showPlayBar) {
        ShowWindow(playBar, SW_HIDE);
    }
    PlaceVolumeSlider();
}

// Right of the mute button, as high as it; a slider made here starts at 500.
void MediaWindow::PlaceVolumeSlider() {
    RECT button = {};
    SendMessageW(playBar, TB_GETITEMRECT, kPlayBarButtonCount - 1,
                 reinterpret_cast<LPARAM>(&button));
    int x = button.right + 4;
    int height = button.bottom - button.top;
    if (volumeSlider->hwnd != nullptr) {
        SetParent(volumeSlider->hwnd, playBar);
        MoveWindow(volumeSlider->hwnd, x, button.top, kVolumeSliderWidth, height, TRUE);
        return;
    }
    if (CreateVolumeSlider(playBar, x, button.top, height, volumeSlider.get(),
                           InstanceOf(mediaWindow)) != nullptr) {
        VolumeSliderSetValue(*volumeSlider, 500);
    }
}

void MediaWindow::LayOut() {
    RECT client = {};
    GetClientRect(mediaWindow, &client);
    int width = client.right;
    int height = client.bottom;
    if (showPlayBar && playBar != nullptr) {
        SendMessageW(playBar, TB_AUTOSIZE, 0, 0);
        height -= WindowHeight(playBar);
    }
    if (showSeekBar && seekBar->hwnd != nullptr) {
        height -= kSeekBarHeight;
        MoveWindow(seekBar->hwnd, 0, height < 0 ? 0 : height, width, kSeekBarHeight, TRUE);
    }
    if (canvas != nullptr) {
        MoveWindow(canvas, 0, 0, width, height < 0 ? 0 : height, TRUE);
    }
}

bool MediaWindow::HasVideo() const {
    return media && media->hasVideo();
}

void MediaWindow::ResizeToDisplaySize() {
    VideoSize source = {};
    VideoSize display = {};
    if (media->GetSourceSize(source.width, source.height) &&
        DisplaySize(source, zoom, aspectX, aspectY, display)) {
        media->ResizeVideo(display.width, display.height);
    }
}

void MediaWindow::LayOutVideo() {
    if (!HasVideo() || canvas == nullptr) {
        return;
    }
    RECT client = {};
    GetClientRect(canvas, &client);
    const VideoSize area = {client.right, client.bottom};
    VideoSize source = {};
    if (fullScreen) {
        if (fitToDisplay || media->GetSourceSize(source.width, source.height)) {
            VideoPlacement place = PlaceFullScreen(area, source, aspectX, aspectY, fitToDisplay);
            media->MoveVideo(place.x, place.y, place.width, place.height);
        }
        return;
    }
    if (fitToWindow && media->GetSourceSize(source.width, source.height)) {
        int fitted = FitZoom(area, source);
        if (fitted > 0 && fitted != zoom) {
            zoom = fitted;
            ResizeToDisplaySize();
            NotifyOwner(kZoomChangedByFit);
            if (!HasVideo()) {
                return;  // the owner closed the file meanwhile
            }
        }
    }
    VideoSize shown = {};
    if (media->GetDestinationSize(shown.width, shown.height)) {
        VideoPlacement place = PlaceInWindow(area, shown);
        media->MoveVideo(place.x, place.y, place.width, place.height);
    }
}

// ---------------------------------------------------------------------------
// Operations of the owner

bool MediaWindow::IsOpen() const {
    return media && media->isOpened();
}

bool MediaWindow::GetFileName(wchar_t* buffer) const {
    if (!IsOpen()) {
        return false;
    }
    std::size_t length = fileName.size() < kMaxPath - 1 ? fileName.size() : kMaxPath - 1;
    wmemcpy(buffer, fileName.c_str(), length);
    buffer[length] = L'\0';
    return true;
}

bool MediaWindow::OpenFile(const wchar_t* path) {
    if (IsOpen()) {
        opening = true;
        CloseFile();
        UpdateWindow(canvas);
    }
    if (!media && !CreateMedia()) {
        opening = false;
        return false;
    }
    bool opened = media->Open(path);
    opening = false;
    if (!opened) {
        InvalidateRect(canvas, nullptr, TRUE);
        ShowOpenFailure();
        return false;
    }
    fileName = path;
    zoom = 100;
    aspectX = 0;
    aspectY = 0;
    LayOutVideo();
    if (!IsOpen()) {
        return false;
    }

    media->SetVolume(volumeSlider->value);
    media->SetMute(IsButtonChecked(CMD_MUTE));
    media->SetBackwardSpeed(backwardSpeed);
    media->SetForwardSpeed(forwardSpeed);

    SeekBarSetRange(*seekBar, media->GetStart(), media->GetEnd());
    if (showSeekBar) {
        SeekBarSetPosition(*seekBar, media->GetStart());
    }
    if (seekBar->hwnd != nullptr) {
        EnableWindow(seekBar->hwnd, TRUE);
    }

    EnableButton(CMD_PLAY, true);
    if (media->hasVideo()) {
        EnableButton(CMD_PREV_FRAME, true);
        EnableButton(CMD_NEXT_FRAME, true);
    }
    EnableButton(CMD_BACKWARD, true);
    EnableButton(CMD_FORWARD, true);

    InvalidateRect(canvas, nullptr, TRUE);
    return true;
}

void MediaWindow::CloseFile() {
    if (!IsOpen()) {
        return;
    }
    DiscardMedia();
    fileName.clear();
    seeking = false;
    for (int index = 0; index < kPlaybackEntryCount; ++index) {
        const TBBUTTON& button = kPlayBarButtons[index];
        if (button.fsStyle & BTNS_SEP) {
            continue;
        }
        if (button.fsStyle & BTNS_CHECK) {
            CheckButton(button.idCommand, false);
        }
        EnableButton(button.idCommand, false);
    }
    SeekBarSetRange(*seekBar, 0, 100);
    SeekBarSetPosition(*seekBar, 0);
    if (seekBar->hwnd != nullptr) {
        EnableWindow(seekBar->hwnd, FALSE);
    }
    InvalidateRect(canvas, nullptr, TRUE);
    KeepDisplayOn(false);
}

bool MediaWindow::SetZoom(int percent) {
    if (percent <= 0) {
        return false;
    }
    zoom = percent;
    if (IsOpen() && HasVideo() && !fullScreen) {
        ResizeToDisplaySize();
        LayOutVideo();
    }
    return true;
}

bool MediaWindow::SetAspect(int x, int y) {
    if (x < 0 || y < 0) {
        return false;
    }
    aspectX = x;
    aspectY = y;
    if (IsOpen() && HasVideo()) {
        ResizeToDisplaySize();
        LayOutVideo();
    }
    return true;
}

void MediaWindow::SetFitToWindow(bool on) {
    if (on == fitToWindow) {
        return;
    }
    fitToWindow = on;
    if (on && !fullScreen && IsOpen() && HasVideo()) {
        LayOutVideo();
    }
}

void MediaWindow::SetFitToDisplay(bool on) {
    if (on == fitToDisplay) {
        return;
    }
    fitToDisplay = on;
    if (fullScreen && IsOpen() && HasVideo()) {
        LayOutVideo();
    }
}

void MediaWindow::ShowPlayBar(bool show) {
    if (show == showPlayBar) {
        return;
    }
    showPlayBar = show;
    LayOut();
    if (playBar != nullptr) {
        ShowWindow(playBar, show ? SW_SHOW : SW_HIDE);
    }
}

void MediaWindow::ShowSeekBar(bool show) {
    if (show == showSeekBar) {
        return;
    }
    showSeekBar = show;
    LayOut();
    if (show && IsOpen()) {
        SeekBarSetPosition(*seekBar, media->GetPosition());
    }
    if (seekBar->hwnd != nullptr) {
        ShowWindow(seekBar->hwnd, show ? SW_SHOW : SW_HIDE);
    }
}

int MediaWindow::GetVolume() const {
    return media ? media->volume() : volumeSlider->value;
}

void MediaWindow::SetVolume(int level) {
    if (media) {
        bool wasMuted = media->muted();
        if (!media->SetVolume(level)) {
            return;
        }
        if (wasMuted) {
            CheckButton(CMD_MUTE, false);
        }
    } else if (level < 0 || level > kMaxVolume) {
        return;
    }
    VolumeSliderSetValue(*volumeSlider, level);
}

void MediaWindow::SetMute(bool mute) {
    if (media) {
        media->SetMute(mute);
        CheckButton(CMD_MUTE, media->muted());
    } else {
        CheckButton(CMD_MUTE, mute);
    }
}

void MediaWindow::SetRepeat(bool on) {
    repeat = on;
    CheckButton(CMD_REPEAT, on);
}

bool MediaWindow::SetBackwardSpeed(int speed) {
    if (media && !media->SetBackwardSpeed(speed)) {
        return false;
    }
    backwardSpeed = speed;
    return true;
}

bool MediaWindow::SetForwardSpeed(int speed) {
    if (media && !media->SetForwardSpeed(speed)) {
        return false;
    }
    forwardSpeed = speed;
    return true;
}

void MediaWindow::SetDevice(int newDevice) {
    if (newDevice == device) {
        return;
    }
    std::wstring path = IsOpen() ? fileName : std::wstring();
    device = newDevice;
    if (!media) {
        return;
    }
    // Closed first: the bars start afresh, a re-open that fails leaves them as
    // for a closed file, and the display kept on while playing is let go
    // before the re-open records its state again.
    CloseFile();
    if (CreateMedia() && !path.empty()) {
        OpenFile(path.c_str());
    }
}

void MediaWindow::SetLogo(HBITMAP bitmap) {
    logo.reset(bitmap != nullptr
                   ? bitmap
                   : LoadBitmapW(InstanceOf(mediaWindow), MAKEINTRESOURCEW(IDB_IDLE_PICTURE)));
    if (!opening && !HasVideo() && canvas != nullptr) {
        InvalidateRect(canvas, nullptr, TRUE);
    }
}

void MediaWindow::SetPlayBarImages(const ToolbarImages& images) {
    playBarImages = images;
}

void MediaWindow::ReplacePlayBar() {
    HWND old = playBar;
    if (old == nullptr) {
        return;
    }
    std::vector<BYTE> states = ToolbarButtonStates(old, kPlayBarButtons, kPlayBarButtonCount);
    CreatePlayBar();
    if (playBar == nullptr) {
        playBar = old;
        return;
    }
    SetToolbarButtonStates(playBar, kPlayBarButtons, kPlayBarButtonCount, states);
    DestroyWindow(old);
    LayOut();
}

void MediaWindow::SetToolTipLook(const ToolTipLook& look, bool toExistingTips) {
    toolTipLook = look;
    if (toExistingTips) {
        ApplyToolbarToolTipLook(playBar, look);
    }
}

void MediaWindow::GetFrameSize(RECT& rect) const {
    int seekHeight = showSeekBar ? kSeekBarHeight : 0;
    int playHeight = showPlayBar && playBar != nullptr ? WindowHeight(playBar) : 0;
    rect = FrameAroundVideo(rect, GetSystemMetrics(SM_CXEDGE), GetSystemMetrics(SM_CYEDGE),
                            seekHeight, playHeight);
}

void MediaWindow::ApplyColours(const ColourValue* colours) {
    SetBackgroundColour(ResolveColour(colours[kBackground]));
    SetFullScreenBackgroundColour(ResolveColour(colours[kFullScreenBg]));
    SetVolumeColour(ResolveColour(colours[kVolume]));
    SetSeekBarColour(ResolveColour(colours[kSeekBar]));
}

void MediaWindow::SetBackgroundColour(COLORREF colour) {
    backgroundColour = colour;
    if (!fullScreen && canvas != nullptr) {
        InvalidateRect(canvas, nullptr, TRUE);
    }
}

void MediaWindow::SetFullScreenBackgroundColour(COLORREF colour) {
    fullScreenBackgroundColour = colour;
    if (fullScreen && canvas != nullptr) {
        InvalidateRect(canvas, nullptr, TRUE);
    }
}

void MediaWindow::SetSeekBarColour(COLORREF colour) {
    SeekBarSetColour(*seekBar, colour);
}

void MediaWindow::SetVolumeColour(COLORREF colour) {
    VolumeSliderSetColour(*volumeSlider, colour);
}

// ---------------------------------------------------------------------------
// Screen saver and display sleep

// Asked of the system only when it changes. Unlike switching the system-wide
// screen saver setting, the request touches no display server (under Wine
// that call could block for good while the video renderer's thread was
// presenting a frame) and dies with the process.
void MediaWindow::KeepDisplayOn(bool on) {
    if (on == displayKeptOn) {
        return;
    }
    displayKeptOn = on;
    if (requestExecutionState != nullptr) {
        requestExecutionState(on ? ES_CONTINUOUS | ES_DISPLAY_REQUIRED : ES_CONTINUOUS);
    }
}

// ---------------------------------------------------------------------------
// Play bar buttons

// The back-end's reason for a failed open, in a message box over the owner.
void MediaWindow::ShowOpenFailure() const {
    UINT message = media ? media->openFailureMessage() : 0;
    if (message != 0 && !LoadText(message).empty()) {
        ShowMessage(owner, message, MB_ICONWARNING);
    }
}

bool MediaWindow::IsButtonChecked(int command) const {
    return playBar != nullptr && SendMessageW(playBar, TB_ISBUTTONCHECKED, command, 0) != 0;
}

void MediaWindow::CheckButton(int command, bool checked) const {
    if (playBar != nullptr) {
        SendMessageW(playBar, TB_CHECKBUTTON, command, MAKELPARAM(checked, 0));
    }
}

void MediaWindow::EnableButton(int command, bool enabled) const {
    if (playBar != nullptr) {
        SendMessageW(playBar, TB_ENABLEBUTTON, command, MAKELPARAM(enabled, 0));
    }
}

// ---------------------------------------------------------------------------
// Commands and notifications

void MediaWindow::NotifyOwner(WORD code) const {
    if (owner != nullptr) {
        SendMessageW(owner, WM_COMMAND, MAKEWPARAM(controlId_, code),
                     reinterpret_cast<LPARAM>(mediaWindow));
    }
}

void MediaWindow::Play() {
    stoppedByUser = false;
    CheckButton(CMD_BACKWARD, false);
    CheckButton(CMD_FORWARD, false);
    if (media->GetPosition() == media->GetEnd()) {
        media->SeekToStart();
    }
    media->Play();
}

void MediaWindow::OnCommand(WORD id, WORD, HWND control) {
    if (control != nullptr && control == volumeSlider->hwnd) {
        SetVolume(volumeSlider->value);
        return;
    }
    switch (id) {
        case CMD_STOP:
            stoppedByUser = true;
            if (IsOpen()) {
                media->Stop();
            }
            CheckButton(CMD_STOP, true);
            return;
        case CMD_REPEAT:
            SetRepeat(!repeat);
            NotifyOwner(kRepeatToggled);
            return;
        case CMD_MUTE:
            SetMute(IsButtonChecked(CMD_MUTE));
            return;
        default:
            break;
    }
    if (!IsOpen()) {
        return;
    }
    switch (id) {
        case CMD_PLAY:
            Play();
            break;
        case CMD_PAUSE:
            media->Pause();
            break;
        case CMD_PLAY_PAUSE:
            if (media->state() == Playing) {
                media->Pause();
            } else {
                Play();
            }
            break;
        case CMD_PREV_FRAME:
            media->PrevFrame();
            break;
        case CMD_NEXT_FRAME:
            media->NextFrame();
            break;
        case CMD_BACKWARD:
            if (media->Rewind()) {
                CheckButton(CMD_PLAY, false);
                CheckButton(CMD_FORWARD, false);
                CheckButton(CMD_BACKWARD, true);
            } else {
                CheckButton(CMD_BACKWARD, false);
            }
            break;
        case CMD_FORWARD:
            if (media->FastForward()) {
                CheckButton(CMD_PLAY, false);
                CheckButton(CMD_BACKWARD, false);
                CheckButton(CMD_FORWARD, true);
            } else {
                CheckButton(CMD_FORWARD, false);
            }
            break;
        case CMD_HOME:
            media->SeekToStart();
            break;
        case CMD_END:
            media->SeekToEnd();
            break;
        default:
            break;
    }
}

void MediaWindow::OnStateChanged(MediaState state) {
    bool video = HasVideo();
    if (state == Stopped || state == Paused) {
        EnableButton(CMD_PLAY, true);
        EnableButton(CMD_STOP, true);
        EnableButton(CMD_PAUSE, state == Paused);
        if (video) {
            EnableButton(CMD_PREV_FRAME, true);
            EnableButton(CMD_NEXT_FRAME, true);
        }
    } else if (state == Playing) {
        EnableButton(CMD_PLAY, true);
        EnableButton(CMD_STOP, true);
        EnableButton(CMD_PAUSE, true);
        if (video) {
            EnableButton(CMD_PREV_FRAME, false);
            EnableButton(CMD_NEXT_FRAME, false);
        }
    } else {
        return;
    }
    CheckButton(CMD_BACKWARD, false);
    CheckButton(CMD_FORWARD, false);
    KeepDisplayOn(state == Playing && video);
    CheckButton(CMD_PLAY, state == Playing);
    CheckButton(CMD_STOP, state == Stopped);
    CheckButton(CMD_PAUSE, state == Paused);
    if (owner != nullptr) {
        SendMessageW(owner, kMediaNotify, kMediaStateChanged, state);
    }
    if (state != Stopped || !IsOpen() || media->GetPosition() != media->GetEnd()) {
        return;
    }
    if (repeat && !stoppedByUser) {
        media->SeekToStart();
        Play();
    } else {
        NotifyOwner(kEndOfMedia);
    }
}

void MediaWindow::OnPositionChanged(int position) {
    if (showSeekBar && !seeking) {
        SeekBarSetPosition(*seekBar, position);
    }
    if (owner != nullptr) {
        SendMessageW(owner, kMediaNotify, kMediaPositionChanged, position);
    }
}

void MediaWindow::OnSeekBarScroll(WORD code) {
    if (!IsOpen()) {
        return;
    }
    if (!seeking) {
        stateBeforeSeeking = media->state();
        seeking = true;
        if (stateBeforeSeeking == Playing) {
            media->Pause();
        }
    }
    media->SetPosition(seekBar->position);
    if (code == kSeekBarReleased) {
        if (stateBeforeSeeking == Playing && IsOpen()) {
            media->Play();
        }
        seeking = false;
    }
}

LRESULT MediaWindow::OnNotify(const NMHDR* header) {
    if (header->code == TTN_GETDISPINFOW) {
        auto* info = reinterpret_cast<NMTTDISPINFOW*>(const_cast<NMHDR*>(header));
        info->hinst = GetModuleHandleW(nullptr);
        info->lpszText = MAKEINTRESOURCEW(header->idFrom + IDS_LABEL_OFFSET);
        return 0;
    }
    if (header->code == static_cast<UINT>(NM_TOOLTIPSCREATED)) {
        ApplyToolTipLook(reinterpret_cast<const NMTOOLTIPSCREATED*>(header)->hwndToolTips,
                         toolTipLook);
        return 0;
    }
    if (header->code == static_cast<UINT>(NM_RCLICK)) {
        if (header->hwndFrom == playBar && playBar != nullptr) {
            NotifyOwner(kPlayBarRightClick);
        } else if (header->hwndFrom == seekBar->hwnd && seekBar->hwnd != nullptr) {
            NotifyOwner(kSeekBarRightClick);
        }
    }
    return 0;
}

LRESULT MediaWindow::OnMediaWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE: {
            mediaWindow = window;
            controlId_ = GetDlgCtrlID(window);
            if (owner == nullptr) {
                owner = GetParent(window);
            }
            HINSTANCE instance = InstanceOf(window);
            if (!logo) {
                logo.reset(LoadBitmapW(instance, MAKEINTRESOURCEW(IDB_IDLE_PICTURE)));
            }
            CreatePlayBar();
            seekBar->trackColour = GetSysColor(COLOR_BTNFACE);
            CreateSeekBar(window, 0, 0, 0, seekBar.get(), instance);
            if (!showSeekBar && seekBar->hwnd != nullptr) {
                ShowWindow(seekBar->hwnd, SW_HIDE);
            }
            canvas = CreateWindowExW(WS_EX_CLIENTEDGE, kMediaCanvasClass, nullptr,
                                     WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 0, 0, window,
                                     nullptr, instance, this);
            CreateMedia();
            return 0;
        }
        case WM_DESTROY:
            DiscardMedia();
            fileName.clear();
            KeepDisplayOn(false);
            mediaWindow = nullptr;
            playBar = nullptr;
            canvas = nullptr;
            seeking = false;
            return 0;
        case WM_SIZE:
            LayOut();
            return 0;
        case WM_COMMAND:
            OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
            return 0;
        case WM_HSCROLL:
            if (reinterpret_cast<HWND>(lParam) == seekBar->hwnd) {
                OnSeekBarScroll(LOWORD(wParam));
            }
            return 0;
        case WM_NOTIFY:
            return OnNotify(reinterpret_cast<const NMHDR*>(lParam));
        case kReleaseRetiredMedia:
            if (notifyDepth_ == 0) {
                retiredMedia_.clear();
            }
            return 0;
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

void MediaWindow::PaintCanvas(HWND window) {
    PaintScope paint(window);
    HDC dc = paint.dc();
    if (paint.paint().fErase) {
        UniqueBrush brush(
            CreateSolidBrush(fullScreen ? fullScreenBackgroundColour : backgroundColour));
        FillRect(dc, &paint.paint().rcPaint, brush.get());
    }
    if (opening || !logo || HasVideo()) {
        return;
    }
    BITMAP picture = {};
    if (!GetObjectW(logo.get(), sizeof picture, &picture)) {
        return;
    }
    RECT client = {};
    GetClientRect(window, &client);
    int x = (client.right - picture.bmWidth) / 2;
    int y = (client.bottom - picture.bmHeight) / 2;
    x = x < 0 ? 0 : x;
    y = y < 0 ? 0 : y;
    UniqueMemoryDC memory(CreateCompatibleDC(dc));
    if (!memory) {
        return;
    }
    ScopedSelectObject select(memory.get(), logo.get());
    BitBlt(dc, x, y, picture.bmWidth < client.right ? picture.bmWidth : client.right,
           picture.bmHeight < client.bottom ? picture.bmHeight : client.bottom, memory.get(), 0, 0,
           SRCCOPY);
}

LRESULT MediaWindow::OnCanvasMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SIZE:
            LayOutVideo();
            return 0;
        case WM_PAINT:
            PaintCanvas(window);
            return 0;
        case WM_LBUTTONDOWN:
            NotifyOwner(kCanvasLeftClick);
            return 0;
        case WM_RBUTTONDOWN:
            OnCanvasRightButton();
            return 0;
        case WM_SETCURSOR:
            if (OnCanvasSetCursor(lParam)) {
                return TRUE;
            }
            return DefWindowProcW(window, message, wParam, lParam);
        case WM_MOUSEMOVE:
            OnCanvasMouseMove();
            return 0;
        case WM_TIMER:
            OnCanvasCursorTimer();
            return 0;
        case WM_DROPFILES:
            if (owner != nullptr) {
                SendMessageW(owner, WM_DROPFILES, wParam, 0);
            }
            return 0;
        case kMediaNotify:
            ++notifyDepth_;
            switch (wParam) {
                case kMediaStateChanged:
                    OnStateChanged(static_cast<MediaState>(lParam));
                    break;
                case kMediaPositionChanged:
                    OnPositionChanged(static_cast<int>(lParam));
                    break;
                case kMediaLeftButton:
                    NotifyOwner(kCanvasLeftClick);
                    break;
                case kMediaRightButton:
                    OnCanvasRightButton();
                    break;
                default:
                    break;
            }
            --notifyDepth_;
            return 0;
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

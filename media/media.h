// The playback back-end interface. At most one `Media` object exists; the
// media window owns it, creates it for a file and deletes it at close. A
// back-end owns one child window, its form window, which holds the picture and
// reports to its parent (the canvas) with the messages below.
#ifndef ZEPHLO_MEDIA_MEDIA_H
#define ZEPHLO_MEDIA_MEDIA_H

#include <windows.h>

// Playback state; the values travel as the lParam of a state notification.
enum MediaState : int {
    Closed = 0,
    Opened = 1,  // file opened, not yet played
    Stopped = 2,
    Playing = 3,  // also rewind and fast forward (a rate other than normal)
    Paused = 4,
};

// Notifications the form window sends to its parent with SendMessage:
// WM_APP with one of these codes as wParam.
constexpr UINT kMediaNotify = WM_APP;
constexpr WPARAM kMediaStateChanged = 1;     // lParam = new MediaState
constexpr WPARAM kMediaPositionChanged = 2;  // lParam = position in ms
constexpr WPARAM kMediaLeftButton = 3;       // lParam = 0
constexpr WPARAM kMediaRightButton = 4;      // lParam = 0
// Besides these the parent gets WM_MOUSEMOVE (wParam 0, point in its own client
// coordinates) and WM_SETCURSOR for HTCLIENT, so that it decides the cursor.

// Whether the open file shows a picture (Media::video()).
enum VideoPresence : int {
    kNothingOpen = -1,
    kNoVideo = 0,
    kVideo = 1,
};

// Levels are 0..1000 (1000 = full); speeds are thousandths of normal speed;
// times and positions are milliseconds.
constexpr int kMaxVolume = 1000;
constexpr int kNormalSpeed = 1000;

class Media {
public:
    Media() = default;
    Media(const Media&) = delete;
    Media& operator=(const Media&) = delete;

    // A derived class destroys the form window in its own destructor, so that
    // an open file is released through its own Close.
    virtual ~Media();
    // Creates the form window (child of `parent`, position and size 0) unless
    // it exists. The media window passes the canvas, id 0 and the instance.
    virtual bool CreateForm(HWND parent, int id, HINSTANCE instance);
    virtual void DestroyForm();
    virtual bool Open(const wchar_t* fileName) = 0;
    virtual void Close() = 0;
    virtual bool Play() = 0;
    virtual bool Pause() = 0;
    virtual bool Stop() = 0;
    virtual bool PrevFrame();
    virtual bool NextFrame();
    virtual bool Rewind() = 0;
    virtual bool FastForward() = 0;
    // False (nothing stored) for a speed below 1.
    virtual bool SetBackwardSpeed(int speed);
    virtual bool SetForwardSpeed(int speed);
    virtual bool SeekToStart() = 0;
    virtual bool SeekToEnd() = 0;
    // False for a level above 1000; otherwise unmutes, stores the level and
    // applies it when a file is open.
    virtual bool SetVolume(int level);
    // Applies 0 when muting and the stored volume when unmuting, when the value
    // changes and a file is open; stores the flag.
    virtual bool SetMute(bool mute);
    virtual bool GetSourceSize(int& width, int& height) = 0;
    virtual bool GetDestinationSize(int& width, int& height) = 0;
    virtual int GetLength() = 0;    // 0 with no file open
    virtual int GetStart() = 0;     // -1 with no file open
    virtual int GetEnd() = 0;       // -1 with no file open
    virtual int GetPosition() = 0;  // -1 with no file open
    virtual bool SetPosition(int position) = 0;
    virtual bool HasAudio() = 0;
    virtual void MoveVideo(int x, int y, int width, int height);
    virtual void ResizeVideo(int width, int height);

    HWND formWindow() const { return formWindow_; }
    bool isOpened() const { return opened_; }
    VideoPresence video() const { return video_; }
    bool hasVideo() const { return video_ == kVideo; }
    // Why the last Open failed, as the string resource of the message to
    // show; 0 when there is nothing to tell (the owner shows the message).
    UINT openFailureMessage() const { return openFailureMessage_; }
    MediaState state() const { return state_; }
    int backwardSpeed() const { return backwardSpeed_; }
    int forwardSpeed() const { return forwardSpeed_; }
    int volume() const { return volume_; }
    bool muted() const { return muted_; }

    // The form window's procedure. Every form window answers alike over the
    // video: mouse buttons become notifications, moves and cursor questions
    // go to the parent; the rest is the back-end's.
    LRESULT OnFormMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

protected:
    // The back-end's form window class (black background).
    virtual const wchar_t* FormClassName() const = 0;
    // WM_CREATE of the form window; false refuses the window.
    virtual bool OnFormCreate(HWND form, const CREATESTRUCTW& create);
    // WM_DESTROY of the form window: the file is closed.
    virtual void OnFormDestroy();
    // The form window's messages that the back-end handles itself; false
    // leaves the message to the default handling.
    virtual bool OnBackEndMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) = 0;
    // Puts a level (0..1000) on the output of the open file.
    virtual bool ApplyLevel(int level) = 0;

    // The level the output should have: 0 when muted, else the volume.
    int CurrentLevel() const { return muted_ ? 0 : volume_; }
    // Sends WM_APP(code, value) to the form window's parent.
    void Notify(WPARAM code, LPARAM value) const;

    HWND formWindow_ = nullptr;
    bool opened_ = false;
    VideoPresence video_ = kNothingOpen;
    UINT openFailureMessage_ = 0;
    MediaState state_ = Closed;
    int backwardSpeed_ = 2000;
    int forwardSpeed_ = 2000;
    int volume_ = kMaxVolume;
    bool muted_ = false;
};

#endif

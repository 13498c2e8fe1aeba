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
    int video() const { return video_; }  // -1 nothing open, 0 no video, 1 video
    MediaState state() const { return state_; }
    int backwardSpeed() const { return backwardSpeed_; }
    int forwardSpeed() const { return forwardSpeed_; }
    int volume() const { return volume_; }
    bool muted() const { return muted_; }

protected:
    // The back-end's form window class, registered by RegisterFormClass.
    virtual const wchar_t* FormClassName() const = 0;
    virtual bool RegisterFormClass(HINSTANCE instance) = 0;
    // Puts a level (0..1000) on the output of the open file.
    virtual bool ApplyLevel(int level) = 0;

    // The level the output should have: 0 when muted, else the volume.
    int CurrentLevel() const { return muted_ ? 0 : volume_; }
    // Registers a form window class once per process (black background, the
    // object pointer as window extra data); `registered` remembers it.
    static bool RegisterFormWindowClass(HINSTANCE instance, const wchar_t* name, WNDPROC procedure,
                                        bool& registered);
    // Sends WM_APP(code, value) to the form window's parent.
    void Notify(WPARAM code, LPARAM value) const;
    // What every form window answers alike: messages before the object is
    // stored go to DefWindowProcW; over the video, mouse buttons become
    // notifications, moves and cursor questions go to the parent. False for
    // the messages left to the back-end.
    static bool HandleCommonFormMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                        LRESULT& result);
    // The object stored in a form window's extra data at WM_CREATE.
    static Media* FromWindow(HWND window);
    static void StoreInWindow(HWND window, LPARAM createParameters);

    HWND formWindow_ = nullptr;
    bool opened_ = false;
    int video_ = -1;
    MediaState state_ = Closed;
    int backwardSpeed_ = 2000;
    int forwardSpeed_ = 2000;
    int volume_ = kMaxVolume;
    bool muted_ = false;
};

#endif

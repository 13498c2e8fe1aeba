#include "media/mci_media.h"

#include <digitalv.h>
#include <mmsystem.h>
#include <vfw.h>

#include "base/window_class.h"

namespace {

constexpr DWORD kMciWindowStyle = WS_CHILD | WS_VISIBLE | MCIWNDF_NOPLAYBAR | MCIWNDF_NOMENU |
                                  MCIWNDF_NOTIFYMODE | MCIWNDF_NOTIFYPOS | MCIWNDF_NOTIFYMEDIAW;
constexpr LPARAM kNotifyPeriod = 200;
constexpr LPARAM kSeekStart = -1;  // MCIWND_START
constexpr LPARAM kSeekEnd = -2;    // MCIWND_END

}  // namespace

MCIMedia::~MCIMedia() {
    // The form window's WM_DESTROY closes the file while this is still an MCIMedia.
    DestroyForm();
    Close();
}

LRESULT MCIMedia::Send(UINT message, WPARAM wParam, LPARAM lParam) const {
    return mciWindow_ != nullptr ? SendMessageW(mciWindow_, message, wParam, lParam) : -1;
}

DWORD MCIMedia::DeviceCapability(DWORD item, bool& ok) const {
    MCI_GETDEVCAPS_PARMS parameters{};
    parameters.dwItem = item;
    auto device = static_cast<MCIDEVICEID>(Send(MCIWNDM_GETDEVICEID));
    ok = mciSendCommandW(device, MCI_GETDEVCAPS, MCI_GETDEVCAPS_ITEM,
                         reinterpret_cast<DWORD_PTR>(&parameters)) == 0;
    return ok ? parameters.dwReturn : 0;
}

bool MCIMedia::Rectangle(UINT message, int& width, int& height) {
    RECT rect{};
    if (video_ != kVideo) {
        return false;
    }
    Send(message, 0, reinterpret_cast<LPARAM>(&rect));
    width = rect.right - rect.left;
    height = rect.bottom - rect.top;
    return true;
}

bool MCIMedia::Open(const wchar_t* fileName) {
    if (opened_) {
        Close();
    }
    if (mciWindow_ == nullptr || Send(MCIWNDM_OPENW, 0, reinterpret_cast<LPARAM>(fileName)) != 0) {
        return false;
    }
    opened_ = true;
    state_ = Opened;

    bool ok = false;
    RECT source{};
    video_ = kNoVideo;
    if (DeviceCapability(MCI_GETDEVCAPS_HAS_VIDEO, ok) != 0) {
        Send(MCIWNDM_GET_SOURCE, 0, reinterpret_cast<LPARAM>(&source));
        video_ = source.right > 0 && source.bottom > 0 ? kVideo : kNoVideo;
    }

    volumeMethod_ = DeviceVolume;
    DWORD deviceType = DeviceCapability(MCI_GETDEVCAPS_DEVICE_TYPE, ok);
    if (deviceType == MCI_DEVTYPE_WAVEFORM_AUDIO &&
        waveOutGetVolume(reinterpret_cast<HWAVEOUT>(WAVE_MAPPER), &savedDeviceLevel_) ==
            MMSYSERR_NOERROR) {
        volumeMethod_ = WaveMapper;
    } else if (deviceType == MCI_DEVTYPE_SEQUENCER &&
               midiOutGetVolume(reinterpret_cast<HMIDIOUT>(static_cast<UINT_PTR>(MIDI_MAPPER)),
                                &savedDeviceLevel_) == MMSYSERR_NOERROR) {
        volumeMethod_ = MidiMapper;
    }

    wchar_t format[16] = L"";
    if (Send(MCIWNDM_GETTIMEFORMATW, 16, reinterpret_cast<LPARAM>(format)) != 0) {
        Send(MCIWNDM_SETTIMEFORMATW, 0, reinterpret_cast<LPARAM>(L"ms"));
    }

    if (video_ == kVideo) {
        DragAcceptFiles(mciWindow_, TRUE);
        if (Send(MCIWNDM_GETZOOM) != 100) {
            Send(MCIWNDM_SETZOOM, 0, 100);
        }
        int width = 0;
        int height = 0;
        if (GetDestinationSize(width, height)) {
            ResizeVideo(width, height);
        }
    }
    if (HasAudio()) {
        ApplyLevel(CurrentLevel());
    }
    SeekToStart();
    return true;
}

void MCIMedia::Close() {
    if (!opened_) {
        return;
    }
    Send(MCI_STOP);
    Send(MCI_CLOSE);
    opened_ = false;
    video_ = kNothingOpen;
    state_ = Closed;
    if (volumeMethod_ == WaveMapper) {
        waveOutSetVolume(reinterpret_cast<HWAVEOUT>(WAVE_MAPPER), savedDeviceLevel_);
    } else if (volumeMethod_ == MidiMapper) {
        midiOutSetVolume(reinterpret_cast<HMIDIOUT>(static_cast<UINT_PTR>(MIDI_MAPPER)),
                         savedDeviceLevel_);
    }
    // Put back once: the next file decides its own method.
    volumeMethod_ = DeviceVolume;
}

bool MCIMedia::Play() {
    if (!opened_) {
        return false;
    }
    if (Send(MCIWNDM_GETSPEED) != kNormalSpeed) {
        Send(MCIWNDM_SETSPEED, 0, kNormalSpeed);
    }
    Send(Send(MCIWNDM_GETMODEW) == MCI_MODE_PAUSE ? MCI_RESUME : MCI_PLAY);
    return true;
}

bool MCIMedia::Pause() {
    if (!opened_) {
        return false;
    }
    Send(Send(MCIWNDM_GETMODEW) == MCI_MODE_PAUSE ? MCI_RESUME : MCI_PAUSE);
    return true;
}

bool MCIMedia::Stop() {
    if (!opened_) {
        return false;
    }
    if (Send(MCIWNDM_GETMODEW) != MCI_MODE_STOP) {
        Send(MCI_STOP);
        Send(MCI_SEEK, 0, kSeekStart);
    }
    return true;
}

bool MCIMedia::PrevFrame() {
    if (video_ == kVideo && Send(MCIWNDM_GETSTART) < Send(MCIWNDM_GETPOSITIONW)) {
        Send(MCI_STEP, 0, -1);
    }
    return true;
}

bool MCIMedia::NextFrame() {
    if (video_ == kVideo && Send(MCIWNDM_GETPOSITIONW) < Send(MCIWNDM_GETEND)) {
        Send(MCI_STEP, 0, 1);
    }
    return true;
}

bool MCIMedia::Rewind() {
    if (!opened_ || Send(MCIWNDM_GETSTART) >= Send(MCIWNDM_GETPOSITIONW)) {
        return false;
    }
    if (Send(MCIWNDM_PLAYREVERSE) != 0) {
        return false;
    }
    return Send(MCIWNDM_SETSPEED, 0, backwardSpeed_) == 0;
}

bool MCIMedia::FastForward() {
    if (!opened_) {
        return false;
    }
    LRESULT mode = Send(MCIWNDM_GETMODEW);
    if (mode == MCI_MODE_STOP) {
        Send(MCI_PLAY);
    } else if (mode == MCI_MODE_PAUSE) {
        Send(MCI_RESUME);
    }
    return Send(MCIWNDM_SETSPEED, 0, forwardSpeed_) == 0;
}

bool MCIMedia::SeekToStart() {
    Send(MCI_SEEK, 0, kSeekStart);
    return true;
}

bool MCIMedia::SeekToEnd() {
    Send(MCI_SEEK, 0, kSeekEnd);
    return true;
}

bool MCIMedia::GetSourceSize(int& width, int& height) {
    return Rectangle(MCIWNDM_GET_SOURCE, width, height);
}

bool MCIMedia::GetDestinationSize(int& width, int& height) {
    return Rectangle(MCIWNDM_GET_DEST, width, height);
}

int MCIMedia::GetLength() {
    return opened_ ? static_cast<int>(Send(MCIWNDM_GETLENGTH)) : 0;
}

int MCIMedia::GetStart() {
    return opened_ ? static_cast<int>(Send(MCIWNDM_GETSTART)) : -1;
}

int MCIMedia::GetEnd() {
    return opened_ ? static_cast<int>(Send(MCIWNDM_GETEND)) : -1;
}

int MCIMedia::GetPosition() {
    return opened_ ? static_cast<int>(Send(MCIWNDM_GETPOSITIONW)) : -1;
}

bool MCIMedia::SetPosition(int position) {
    Send(MCI_SEEK, 0, position);
    return true;
}

bool MCIMedia::HasAudio() {
    bool ok = false;
    return opened_ && DeviceCapability(MCI_GETDEVCAPS_HAS_AUDIO, ok) != 0;
}

bool MCIMedia::ApplyLevel(int level) {
    if (!HasAudio()) {
        return false;
    }
    if (volumeMethod_ == WaveMapper || volumeMethod_ == MidiMapper) {
        DWORD value = (static_cast<DWORD>(level) * 65535 + 500) / 1000;
        DWORD both = value | (value << 16);
        return volumeMethod_ == WaveMapper
                   ? waveOutSetVolume(reinterpret_cast<HWAVEOUT>(WAVE_MAPPER), both) == 0
                   : midiOutSetVolume(
                         reinterpret_cast<HMIDIOUT>(static_cast<UINT_PTR>(MIDI_MAPPER)), both) == 0;
    }
    // The digital-video volume scale is 0..1000 as well.
    MCI_DGV_SETAUDIO_PARMSW parameters{};
    parameters.dwItem = MCI_DGV_SETAUDIO_VOLUME;
    parameters.dwValue = static_cast<DWORD>(level);
    auto device = static_cast<MCIDEVICEID>(Send(MCIWNDM_GETDEVICEID));
    return mciSendCommandW(device, MCI_SETAUDIO, MCI_DGV_SETAUDIO_ITEM | MCI_DGV_SETAUDIO_VALUE,
                           reinterpret_cast<DWORD_PTR>(&parameters)) == 0;
}

bool MCIMedia::OnFormCreate(HWND form, const CREATESTRUCTW& create) {
    // Without MCIWNDF_NOERRORDLG the MCI window shows its own error boxes.
    mciWindow_ = MCIWndCreateW(form, create.hInstance, kMciWindowStyle, nullptr);
    if (mciWindow_ == nullptr) {
        return false;
    }
    mciProcedure_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(mciWindow_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(MciProcedure)));
    Send(MCIWNDM_SETTIMERS, kNotifyPeriod, kNotifyPeriod);
    return true;
}

void MCIMedia::OnFormDestroy() {
    Close();
    if (mciWindow_ != nullptr && mciProcedure_ != nullptr) {
        SetWindowLongPtrW(mciWindow_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(mciProcedure_));
    }
    mciWindow_ = nullptr;
    mciProcedure_ = nullptr;
}

void MCIMedia::OnMode(LPARAM mode) {
    switch (mode) {
        case MCI_MODE_STOP:
            state_ = Stopped;
            break;
        case MCI_MODE_PLAY:
            state_ = Playing;
            break;
        case MCI_MODE_PAUSE:
            state_ = Paused;
            break;
        default:
            return;
    }
    Notify(kMediaStateChanged, state_);
}

bool MCIMedia::OnBackEndMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    result = 0;
    switch (message) {
        case WM_SIZE:
            if (mciWindow_ != nullptr) {
                MoveWindow(mciWindow_, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
            }
            return true;
        case MCIWNDM_NOTIFYMODE:
            OnMode(lParam);
            return true;
        case MCIWNDM_NOTIFYPOS:
            Notify(kMediaPositionChanged, lParam);
            return true;
        case WM_DROPFILES:
            result = SendMessageW(GetParent(formWindow_), message, wParam, lParam);
            return true;
        default:
            return false;
    }
}

// The MCI window's mouse and dropped files go to the form window, so that the
// MCI window never opens a dropped file by itself.
LRESULT CALLBACK MCIMedia::MciProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND form = GetParent(window);
    auto* media = static_cast<MCIMedia*>(WindowObject<Media>(form));
    if (media == nullptr || media->mciProcedure_ == nullptr) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    switch (message) {
        case WM_MOUSEMOVE:
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_DROPFILES:
            return SendMessageW(form, message, wParam, lParam);
        case WM_SETCURSOR:
            if (LOWORD(lParam) == HTCLIENT) {
                return SendMessageW(form, message, wParam, lParam);
            }
            break;
        default:
            break;
    }
    return CallWindowProcW(media->mciProcedure_, window, message, wParam, lParam);
}

// The playback back-end over the MCI window of Video for Windows: one MCI
// window inside the form window plays the file; the form window turns its
// mode and position notifications (paced by 200 ms timers) into the back-end
// notifications.
#ifndef ZEPHLO_MEDIA_MCI_MEDIA_H
#define ZEPHLO_MEDIA_MCI_MEDIA_H

#include <windows.h>

#include "media/media.h"

inline constexpr wchar_t kMciFormClass[] = L"Zephlo MCI Form";

class MCIMedia : public Media {
public:
    MCIMedia() = default;
    ~MCIMedia() override;

    bool Open(const wchar_t* fileName) override;
    void Close() override;
    bool Play() override;
    bool Pause() override;
    bool Stop() override;
    bool PrevFrame() override;
    bool NextFrame() override;
    bool Rewind() override;
    bool FastForward() override;
    bool SeekToStart() override;
    bool SeekToEnd() override;
    bool GetSourceSize(int& width, int& height) override;
    bool GetDestinationSize(int& width, int& height) override;
    int GetLength() override;
    int GetStart() override;
    int GetEnd() override;
    int GetPosition() override;
    bool SetPosition(int position) override;
    bool HasAudio() override;

    HWND mciWindow() const { return mciWindow_; }

protected:
    const wchar_t* FormClassName() const override { return kMciFormClass; }
    bool OnFormCreate(HWND form, const CREATESTRUCTW& create) override;
    void OnFormDestroy() override;
    bool OnBackEndMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    bool ApplyLevel(int level) override;

private:
    // How the level reaches the output.
    enum VolumeMethod { DeviceVolume = 0, WaveMapper = 1, MidiMapper = 2 };

    static LRESULT CALLBACK MciProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void OnMode(LPARAM mode);

    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    DWORD DeviceCapability(DWORD item, bool& ok) const;
    bool Rectangle(UINT message, int& width, int& height);

    HWND mciWindow_ = nullptr;
    WNDPROC mciProcedure_ = nullptr;
    VolumeMethod volumeMethod_ = DeviceVolume;
    DWORD savedDeviceLevel_ = 0;
};

#endif

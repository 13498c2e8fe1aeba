// The playback back-end over a DirectShow filter graph: the graph renders the
// file by itself, the video renderer's window becomes a child of the form
// window, graph events arrive as WM_APP + 1 on the form window and a 200 ms
// timer reports the position while playing.
#ifndef ZEPHLO_MEDIA_DIRECTSHOW_MEDIA_H
#define ZEPHLO_MEDIA_DIRECTSHOW_MEDIA_H

#include <windows.h>
#include <dshow.h>
#include <wrl/client.h>

#include <cstddef>
#include <memory>

#include "media/media.h"
#include "media/time_limited_call.h"

inline constexpr wchar_t kDirectShowFormClass[] = L"Zephlo DirectShow Form";
// How many renders given up on after the time limit may go on at a time.
inline constexpr std::size_t kMaxGivenUpRenders = 3;

class DirectShowMedia : public Media {
public:
    // Renders run through `renders`, which the back-ends of one player share
    // (null: this back-end keeps its own): a file whose render was given up
    // on and still runs, or any file while kMaxGivenUpRenders of them run,
    // fails to open at once with message 732.
    explicit DirectShowMedia(std::shared_ptr<TimeLimitedCalls> renders = nullptr);
    ~DirectShowMedia() override;

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

    // The Filter Graph Manager of the open file (null when closed), for callers
    // that inspect the graph.
    IGraphBuilder* graph() const { return graph_.Get(); }

    // How long Open waits for the graph to render a file before it gives up
    // with the error message (milliseconds).
    void SetRenderTimeLimit(DWORD milliseconds) { renderTimeLimit_ = milliseconds; }

protected:
    const wchar_t* FormClassName() const override { return kDirectShowFormClass; }
    bool OnBackEndMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    bool ApplyLevel(int level) override;

private:
    struct Streams {
        bool video = false;
        bool audio = false;
    };

    void OnSize(int width, int height);
    void OnGraphEvents();
    void OnComplete();

    bool ScanStreams(Streams& streams) const;
    // The seekable range in media time (100 ns).
    void Available(LONGLONG& earliest, LONGLONG& latest) const;
    bool Seek(LONGLONG current, LONGLONG stop, DWORD stopFlags);
    bool SetRate(double rate);
    bool Run();
    HRESULT Render(const wchar_t* fileName);
    Microsoft::WRL::ComPtr<IBaseFilter> AddWindowedRenderer();
    void UseOwnClock();
    void DetachClock();
    void ReleaseClock();
    void ReleaseGraph();
    void KillPositionTimer();
    int FrameDuration() const;
    void WaitForGraph(long milliseconds) const;

    Microsoft::WRL::ComPtr<IGraphBuilder> graph_;
    Microsoft::WRL::ComPtr<IMediaControl> control_;
    Microsoft::WRL::ComPtr<IMediaEventEx> events_;
    Microsoft::WRL::ComPtr<IMediaSeeking> seeking_;
    Microsoft::WRL::ComPtr<IVideoWindow> videoWindow_;
    // The graphs' clock when this back-end gives them one (see UseOwnClock).
    Microsoft::WRL::ComPtr<IReferenceClock> clock_;
    UINT timerFlags_ = 0;
    DWORD renderTimeLimit_ = 10000;
    std::shared_ptr<TimeLimitedCalls> renders_;
};

// The value IBasicAudio::put_Volume takes (hundredths of a decibel) for a level 0..1000.
long DecibelVolume(int level);

#endif

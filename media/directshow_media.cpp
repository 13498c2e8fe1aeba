#include "media/directshow_media.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <string>

#include "base/handles.h"
#include "media/time_limited_call.h"
#include "resources/resource.h"

using Microsoft::WRL::ComPtr;

namespace {

constexpr UINT kGraphEventMessage = WM_APP + 1;
constexpr UINT_PTR kPositionTimer = 1;
constexpr UINT kPositionTimerPeriod = 200;
constexpr UINT kPositionTimerRunning = 1;
constexpr LONGLONG kUnitsPerMillisecond = 10000;
// How long Open waits for the renderer to receive the first frame.
constexpr long kFirstFrameWait = 10000;

int ToMilliseconds(LONGLONG units) {
    return static_cast<int>(units / kUnitsPerMillisecond);
}

// MinGW's headers give several DirectShow interfaces no __uuidof, so every
// interface is asked for by its identifier.
template <typename Interface>
HRESULT Query(IUnknown* object, REFIID iid, ComPtr<Interface>& result) {
    return object->QueryInterface(iid, reinterpret_cast<void**>(result.ReleaseAndGetAddressOf()));
}

void FreeMediaType(AM_MEDIA_TYPE* type) {
    if (type->cbFormat != 0) {
        CoTaskMemFree(type->pbFormat);
    }
    if (type->pUnk != nullptr) {
        type->pUnk->Release();
    }
    CoTaskMemFree(type);
}

// The message for a file the graph could not render, by RenderFile's result.
UINT OpenFailureText(HRESULT result) {
    switch (static_cast<unsigned long>(result)) {
        case 0x80040217:  // VFW_E_CANNOT_CONNECT
        case 0x80040218:  // VFW_E_CANNOT_RENDER
        case 0x80040240:  // VFW_E_UNKNOWN_FILE_TYPE
        case 0x80040241:  // VFW_E_CANNOT_LOAD_SOURCE_FILTER
        case 0x80040265:  // VFW_E_UNSUPPORTED_STREAM
            return IDS_UNSUPPORTED_FORMAT;
        case 0x8004022F:  // VFW_E_INVALID_FILE_FORMAT
            return IDS_INVALID_FORMAT;
        default:
            return IDS_PLAYBACK_ERROR;
    }
}

// Wine's DirectShow has faults that the graphs are built around:
// - its default video renderer presents frames through OpenGL on a thread of
//   its own; while it does, moving or sizing windows on the GUI thread (and
//   other calls that reach the X server, such as switching the screen saver)
//   can block both threads for good. The older renderer that draws with GDI
//   has no such thread, so the graph is given that one (AddWindowedRenderer);
// - the DirectSound renderer never lets go of its clock, whose thread then
//   stays for good, one more with each file with sound and picture played.
//   The graphs run on one clock of the back-end's own instead, kept from
//   file to file (UseOwnClock, ReleaseClock);
// - a clock's thread that is woken while it is not waiting misses it and,
//   with nothing to wait for, waits for good, and so does whoever let go of
//   the clock, which waits for the thread to end. ReleaseClock keeps the
//   thread waking.
bool UnderWine() {
    HMODULE system = GetModuleHandleW(L"ntdll.dll");
    return system != nullptr && GetProcAddress(system, "wine_get_version") != nullptr;
}

bool HasConnectedPin(IBaseFilter* filter) {
    ComPtr<IEnumPins> pins;
    if (FAILED(filter->EnumPins(&pins))) {
        return false;
    }
    ComPtr<IPin> pin;
    while (pins->Next(1, pin.ReleaseAndGetAddressOf(), nullptr) == S_OK) {
        ComPtr<IPin> other;
        if (SUCCEEDED(pin->ConnectedTo(&other))) {
            return true;
        }
    }
    return false;
}

}  // namespace

DirectShowMedia::DirectShowMedia(std::shared_ptr<TimeLimitedCalls> renders)
    : renders_(renders ? std::move(renders)
                       : std::make_shared<TimeLimitedCalls>(kMaxGivenUpRenders)) {}

long DecibelVolume(int level) {
    if (level <= 0) {
        return -10000;
    }
    return static_cast<long>(std::trunc(2000.0 * std::log10(level / 1000.0)));
}

DirectShowMedia::~DirectShowMedia() {
    // The form window's WM_DESTROY closes the file while this is still a
    // DirectShowMedia.
    DestroyForm();
    Close();
    ReleaseClock();
}

bool DirectShowMedia::Open(const wchar_t* fileName) {
    if (opened_) {
        Close();
    }
    openFailureMessage_ = 0;
    // COM stays initialised on failure: it belongs to start-up, not to us.
    if (FAILED(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                                reinterpret_cast<void**>(graph_.ReleaseAndGetAddressOf())))) {
        return false;
    }
    Query(graph_.Get(), IID_IMediaControl, control_);
    Query(graph_.Get(), IID_IMediaEventEx, events_);
    Query(graph_.Get(), IID_IMediaSeeking, seeking_);
    Query(graph_.Get(), IID_IVideoWindow, videoWindow_);
    if (events_) {
        events_->SetNotifyWindow(reinterpret_cast<OAHWND>(formWindow_), kGraphEventMessage, 0);
    }
    ComPtr<IBaseFilter> windowedRenderer;
    if (UnderWine()) {
        windowedRenderer = AddWindowedRenderer();
    }
    HRESULT rendered = Render(fileName);
    if (rendered == kCallTimedOut || rendered == kCallRefused) {
        ReleaseGraph();
        openFailureMessage_ = OpenFailureText(rendered);
        return false;
    }
    if (FAILED(rendered) || !control_ || !events_ || !seeking_) {
        Close();
        openFailureMessage_ = OpenFailureText(rendered);
        return false;
    }
    if (windowedRenderer && !HasConnectedPin(windowedRenderer.Get())) {
        // A file without a picture: the graph's video window would be this
        // renderer's, shown empty.
        graph_->RemoveFilter(windowedRenderer.Get());
    }
    if (UnderWine()) {
        UseOwnClock();
    }
    opened_ = true;
    state_ = Opened;

    Streams streams;
    ScanStreams(streams);
    if (videoWindow_) {
        videoWindow_->put_Owner(reinterpret_cast<OAHWND>(formWindow_));
        videoWindow_->put_WindowStyle(WS_CHILD);
        videoWindow_->put_MessageDrain(reinterpret_cast<OAHWND>(formWindow_));
        if (!streams.video) {
            videoWindow_->put_Visible(OAFALSE);
        }
    }
    seeking_->SetTimeFormat(&TIME_FORMAT_MEDIA_TIME);
    video_ = streams.video ? kVideo : kNoVideo;
    if (streams.audio) {
        ApplyLevel(CurrentLevel());
    }
    WaitForGraph(0);
    if (!streams.video) {
        return true;
    }

    int width = 0;
    int height = 0;
    if (GetSourceSize(width, height)) {
        ResizeVideo(width, height);
    }
    // Show the first frame: a graph paused at the start cues it in the
    // renderer. (Running up to a stop position at the start instead plays the
    // whole file, with its sound, on systems that ignore the stop position.)
    LONGLONG earliest = 0;
    LONGLONG latest = 0;
    Available(earliest, latest);
    seeking_->SetPositions(&earliest, AM_SEEKING_AbsolutePositioning, &latest,
                           AM_SEEKING_AbsolutePositioning);
    control_->Pause();
    OAFilterState cued = State_Stopped;
    control_->GetState(kFirstFrameWait, &cued);
    return true;
}

void DirectShowMedia::Close() {
    if (graph_) {
        if (control_) {
            control_->Stop();
        }
        DetachClock();
        KillPositionTimer();
        if (videoWindow_) {
            // The renderer's window must not outlive its owner, the form window.
            videoWindow_->put_Visible(OAFALSE);
            videoWindow_->put_Owner(0);
        }
        if (events_) {
            events_->SetNotifyWindow(0, 0, 0);
        }
    }
    ReleaseGraph();
}

HRESULT DirectShowMedia::Render(const wchar_t* fileName) {
    // The worker gets its own references: after the time limit it may go on
    // rendering long after this object has let go of the graph.
    ComPtr<IGraphBuilder> graph = graph_;
    std::wstring file(fileName);
    return renders_->Call(
        file, [graph, file] { return graph->RenderFile(file.c_str(), nullptr); }, renderTimeLimit_);
}

void DirectShowMedia::UseOwnClock() {
    ComPtr<IMediaFilter> filter;
    if (!clock_ && FAILED(CoCreateInstance(CLSID_SystemClock, nullptr, CLSCTX_INPROC_SERVER,
                                           IID_IReferenceClock,
                                           reinterpret_cast<void**>(clock_.GetAddressOf())))) {
        return;
    }
    if (SUCCEEDED(Query(graph_.Get(), IID_IMediaFilter, filter))) {
        filter->SetSyncSource(clock_.Get());
    }
}

// The graph (stopped) and its filters let go of the clock; it waits for the
// next file.
void DirectShowMedia::DetachClock() {
    ComPtr<IMediaFilter> filter;
    if (clock_ && SUCCEEDED(Query(graph_.Get(), IID_IMediaFilter, filter))) {
        filter->SetSyncSource(nullptr);
    }
}

// A periodic advice keeps the clock's thread from ever waiting without end,
// so that it sees the clock go when this, the last reference, lets go of it
// and waits for the thread. Should the clock live on elsewhere, the advice
// lives on with it, and so must the semaphore it releases.
void DirectShowMedia::ReleaseClock() {
    if (!clock_) {
        return;
    }
    constexpr REFERENCE_TIME kWakePeriod = 20 * kUnitsPerMillisecond;
    UniqueKernelHandle wake(CreateSemaphoreW(nullptr, 0, LONG_MAX, nullptr));
    REFERENCE_TIME now = 0;
    DWORD_PTR cookie = 0;
    const bool advised =
        wake && SUCCEEDED(clock_->GetTime(&now)) &&
        SUCCEEDED(clock_->AdvisePeriodic(now + kWakePeriod, kWakePeriod,
                                         reinterpret_cast<HSEMAPHORE>(wake.get()), &cookie));
    if (clock_.Reset() != 0 && advised) {
        static_cast<void>(wake.release());
    }
}

// Made on this thread, which owns the renderer's window for the file's
// lifetime (the render's worker thread ends with the render).
ComPtr<IBaseFilter> DirectShowMedia::AddWindowedRenderer() {
    ComPtr<IBaseFilter> renderer;
    if (FAILED(CoCreateInstance(CLSID_VideoRenderer, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                                reinterpret_cast<void**>(renderer.GetAddressOf()))) ||
        FAILED(graph_->AddFilter(renderer.Get(), L"Video Renderer"))) {
        return nullptr;
    }
    return renderer;
}

void DirectShowMedia::ReleaseGraph() {
    // Only releases: a graph still rendering on a worker would make any call
    // wait for the render.
    videoWindow_.Reset();
    seeking_.Reset();
    events_.Reset();
    control_.Reset();
    graph_.Reset();
    opened_ = false;
    video_ = kNothingOpen;
    state_ = Closed;
}

bool DirectShowMedia::Play() {
    if (!opened_) {
        return false;
    }
    SetRate(1.0);
    return Run();
}

bool DirectShowMedia::Pause() {
    if (!opened_) {
        return false;
    }
    if (state_ == Paused) {
        Play();
    } else if (state_ == Playing) {
        control_->Pause();
        WaitForGraph(0);
        state_ = Paused;
        KillPositionTimer();
    } else {
        return false;
    }
    Notify(kMediaPositionChanged, GetPosition());
    Notify(kMediaStateChanged, state_);
    return true;
}

bool DirectShowMedia::Stop() {
    if (!opened_) {
        return false;
    }
    if (state_ == Stopped) {
        return true;
    }
    if (FAILED(control_->Pause())) {
        return false;
    }
    WaitForGraph(0);
    state_ = Stopped;
    KillPositionTimer();
    SeekToStart();
    Notify(kMediaStateChanged, Stopped);
    return true;
}

bool DirectShowMedia::PrevFrame() {
    if (video_ != kVideo) {
        return true;
    }
    int position = GetPosition();
    int start = GetStart();
    if (position <= start) {
        return true;
    }
    int duration = FrameDuration();
    if (duration == 0) {
        return false;
    }
    return SetPosition(std::max(start, position + 1 - 2 * duration));
}

bool DirectShowMedia::NextFrame() {
    if (video_ != kVideo) {
        return true;
    }
    int position = GetPosition();
    int end = GetEnd();
    if (position >= end) {
        return true;
    }
    ComPtr<IVideoFrameStep> stepper;
    // A frame stepper that cannot step (some systems offer one that does
    // nothing) is treated like none: the step is made by a seek.
    if (SUCCEEDED(Query(graph_.Get(), IID_IVideoFrameStep, stepper)) &&
        stepper->CanStep(TRUE, nullptr) == S_OK) {
        stepper->Step(1, nullptr);
        return true;
    }
    int duration = FrameDuration();
    if (duration == 0) {
        return false;
    }
    return SetPosition(std::min(end, position + 2 * duration - 1));
}

bool DirectShowMedia::Rewind() {
    if (!opened_ || GetStart() >= GetPosition()) {
        return false;
    }
    if (!SetRate(-backwardSpeed_ / 1000.0)) {
        return false;
    }
    return Run();
}

bool DirectShowMedia::FastForward() {
    if (!opened_ || GetPosition() >= GetEnd()) {
        return false;
    }
    if (!SetRate(forwardSpeed_ / 1000.0)) {
        return false;
    }
    return Run();
}

bool DirectShowMedia::SeekToStart() {
    SetPosition(GetStart());
    return true;
}

bool DirectShowMedia::SeekToEnd() {
    SetPosition(GetEnd());
    return true;
}

bool DirectShowMedia::GetSourceSize(int& width, int& height) {
    ComPtr<IBasicVideo> basicVideo;
    long sourceWidth = 0;
    long sourceHeight = 0;
    if (video_ != kVideo || FAILED(Query(graph_.Get(), IID_IBasicVideo, basicVideo)) ||
        FAILED(basicVideo->get_SourceWidth(&sourceWidth)) ||
        FAILED(basicVideo->get_SourceHeight(&sourceHeight))) {
        return false;
    }
    width = sourceWidth;
    height = sourceHeight;
    return true;
}

bool DirectShowMedia::GetDestinationSize(int& width, int& height) {
    ComPtr<IBasicVideo> basicVideo;
    long destinationWidth = 0;
    long destinationHeight = 0;
    if (video_ != kVideo || FAILED(Query(graph_.Get(), IID_IBasicVideo, basicVideo)) ||
        FAILED(basicVideo->get_DestinationWidth(&destinationWidth)) ||
        FAILED(basicVideo->get_DestinationHeight(&destinationHeight))) {
        return false;
    }
    width = destinationWidth;
    height = destinationHeight;
    return true;
}

int DirectShowMedia::GetLength() {
    if (!opened_) {
        return 0;
    }
    LONGLONG earliest = 0;
    LONGLONG latest = 0;
    Available(earliest, latest);
    return ToMilliseconds(latest - earliest);
}

int DirectShowMedia::GetStart() {
    if (!opened_) {
        return -1;
    }
    LONGLONG earliest = 0;
    LONGLONG latest = 0;
    Available(earliest, latest);
    return ToMilliseconds(earliest);
}

int DirectShowMedia::GetEnd() {
    if (!opened_) {
        return -1;
    }
    LONGLONG earliest = 0;
    LONGLONG latest = 0;
    Available(earliest, latest);
    return ToMilliseconds(latest);
}

int DirectShowMedia::GetPosition() {
    LONGLONG current = 0;
    if (!opened_ || FAILED(seeking_->GetCurrentPosition(&current))) {
        return -1;
    }
    return ToMilliseconds(current);
}

bool DirectShowMedia::SetPosition(int position) {
    if (!opened_) {
        return false;
    }
    if (!Seek(position * kUnitsPerMillisecond, 0, AM_SEEKING_NoPositioning)) {
        return false;
    }
    Notify(kMediaPositionChanged, position);
    return true;
}

bool DirectShowMedia::HasAudio() {
    Streams streams;
    return ScanStreams(streams) && streams.audio;
}

bool DirectShowMedia::ApplyLevel(int level) {
    ComPtr<IBasicAudio> basicAudio;
    if (!graph_ || FAILED(Query(graph_.Get(), IID_IBasicAudio, basicAudio))) {
        return false;
    }
    return SUCCEEDED(basicAudio->put_Volume(DecibelVolume(level)));
}

bool DirectShowMedia::ScanStreams(Streams& streams) const {
    streams = Streams{};
    ComPtr<IEnumFilters> filters;
    if (!opened_ || FAILED(graph_->EnumFilters(&filters))) {
        return false;
    }
    ComPtr<IBaseFilter> filter;
    while (!(streams.video && streams.audio) &&
           filters->Next(1, filter.ReleaseAndGetAddressOf(), nullptr) == S_OK) {
        ComPtr<IEnumPins> pins;
        if (FAILED(filter->EnumPins(&pins))) {
            continue;
        }
        ComPtr<IPin> pin;
        while (!(streams.video && streams.audio) &&
               pins->Next(1, pin.ReleaseAndGetAddressOf(), nullptr) == S_OK) {
            PIN_DIRECTION direction{};
            ComPtr<IEnumMediaTypes> types;
            if (FAILED(pin->QueryDirection(&direction)) || direction != PINDIR_OUTPUT ||
                FAILED(pin->EnumMediaTypes(&types))) {
                continue;
            }
            AM_MEDIA_TYPE* type = nullptr;
            while (!(streams.video && streams.audio) && types->Next(1, &type, nullptr) == S_OK) {
                if (type == nullptr) {
                    break;
                }
                streams.video = streams.video || type->majortype == MEDIATYPE_Video;
                streams.audio = streams.audio || type->majortype == MEDIATYPE_Audio;
                FreeMediaType(type);
                type = nullptr;
            }
        }
    }
    return true;
}

void DirectShowMedia::Available(LONGLONG& earliest, LONGLONG& latest) const {
    earliest = 0;
    latest = 0;
    // Some systems answer success without filling the range: the whole
    // duration is then taken as available.
    if (FAILED(seeking_->GetAvailable(&earliest, &latest)) || latest <= earliest) {
        earliest = 0;
        latest = 0;
        seeking_->GetDuration(&latest);
    }
}

bool DirectShowMedia::Seek(LONGLONG current, LONGLONG stop, DWORD stopFlags) {
    // Some graphs of files with sound and picture hang when sought while
    // running or paused: the graph is stopped around the seek and put back
    // into the state it had.
    OAFilterState previous = State_Stopped;
    control_->GetState(0, &previous);
    if (previous != State_Stopped) {
        control_->Stop();
    }
    HRESULT result =
        seeking_->SetPositions(&current, AM_SEEKING_AbsolutePositioning, &stop, stopFlags);
    if (previous == State_Running) {
        control_->Run();
    } else if (previous == State_Paused) {
        control_->Pause();
    }
    return SUCCEEDED(result);
}

bool DirectShowMedia::SetRate(double rate) {
    double current = 0.0;
    if (SUCCEEDED(seeking_->GetRate(&current)) && current == rate) {
        return true;
    }
    return SUCCEEDED(seeking_->SetRate(rate));
}

bool DirectShowMedia::Run() {
    if (FAILED(control_->Run())) {
        return false;
    }
    state_ = Playing;
    Notify(kMediaStateChanged, Playing);
    if ((timerFlags_ & kPositionTimerRunning) == 0 && formWindow_ != nullptr &&
        SetTimer(formWindow_, kPositionTimer, kPositionTimerPeriod, nullptr) != 0) {
        timerFlags_ |= kPositionTimerRunning;
    }
    return true;
}

void DirectShowMedia::KillPositionTimer() {
    if ((timerFlags_ & kPositionTimerRunning) != 0) {
        KillTimer(formWindow_, kPositionTimer);
        timerFlags_ &= ~kPositionTimerRunning;
    }
}

int DirectShowMedia::FrameDuration() const {
    ComPtr<IBasicVideo> basicVideo;
    REFTIME perFrame = 0.0;
    if (!graph_ || FAILED(Query(graph_.Get(), IID_IBasicVideo, basicVideo)) ||
        FAILED(basicVideo->get_AvgTimePerFrame(&perFrame))) {
        return 0;
    }
    return static_cast<int>(perFrame * 1000 + 0.5);
}

void DirectShowMedia::WaitForGraph(long milliseconds) const {
    long code = 0;
    events_->WaitForCompletion(milliseconds, &code);
}

void DirectShowMedia::OnSize(int width, int height) {
    if (!videoWindow_) {
        return;
    }
    videoWindow_->SetWindowPosition(0, 0, width, height);
    ComPtr<IBasicVideo> basicVideo;
    if (SUCCEEDED(Query(graph_.Get(), IID_IBasicVideo, basicVideo))) {
        basicVideo->SetDestinationPosition(0, 0, width, height);
    }
}

void DirectShowMedia::OnGraphEvents() {
    long code = 0;
    LONG_PTR first = 0;
    LONG_PTR second = 0;
    // Each handler may close the file (a parent reacting to a notification).
    while (events_ && SUCCEEDED(events_->GetEvent(&code, &first, &second, 0))) {
        events_->FreeEventParams(code, first, second);
        switch (code) {
            case EC_COMPLETE:
                OnComplete();
                break;
            case EC_OPENING_FILE:
                state_ = first != 0 ? Opened : Stopped;
                Notify(kMediaStateChanged, state_);
                break;
            case EC_STEP_COMPLETE:
                Notify(kMediaPositionChanged, GetPosition());
                break;
            default:
                break;
        }
    }
}

void DirectShowMedia::OnComplete() {
    if (state_ == Stopped) {
        return;
    }
    // Paused, not stopped: the last frame stays on show.
    control_->Pause();
    KillPositionTimer();
    state_ = Stopped;
    Notify(kMediaPositionChanged, GetPosition());
    Notify(kMediaStateChanged, Stopped);
}

bool DirectShowMedia::OnBackEndMessage(UINT message, WPARAM wParam, LPARAM lParam,
                                       LRESULT& result) {
    result = 0;
    switch (message) {
        case WM_SIZE:
            OnSize(LOWORD(lParam), HIWORD(lParam));
            return true;
        case WM_TIMER:
            if (wParam == kPositionTimer) {
                Notify(kMediaPositionChanged, GetPosition());
            }
            return true;
        case kGraphEventMessage:
            OnGraphEvents();
            return true;
        default:
            return false;
    }
}

// The DirectShow back-end playing real files under the test session's sound
// server and display.
#include <gtest/gtest.h>

#include <windows.h>
#include <dshow.h>
#include <tlhelp32.h>
#include <wrl/client.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cmath>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "base/handles.h"
#include "base/text.h"
#include "media/directshow_media.h"
#include "media/time_limited_call.h"
#include "media_test_support.h"
#include "resources/resource.h"
#include "support/test_support.h"

using Microsoft::WRL::ComPtr;

namespace {

// Generous: a cold graph start under Wine takes most of a second.
constexpr DWORD kPlayTimeout = 15000;
// A playing file reports its position every 200 ms. That none comes, or that
// the position stays, is watched for this long: a fault shows with time, so
// there is no later event to wait for.
constexpr DWORD kQuietWatch = 500;

class DirectShowMediaTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(media.CreateForm(parent.window(), 0, GetModuleHandleW(nullptr)));
    }

    bool Open(const wchar_t* name) { return media.Open(MediaFile(name).c_str()); }

    long GraphVolume() {
        ComPtr<IBasicAudio> audio;
        long volume = 1;
        if (media.graph() == nullptr ||
            FAILED(media.graph()->QueryInterface(IID_IBasicAudio,
                                                 reinterpret_cast<void**>(audio.GetAddressOf()))) ||
            FAILED(audio->get_Volume(&volume))) {
            return 1;
        }
        return volume;
    }

    bool WaitForState(MediaState state) {
        return PumpUntil([&] { return media.state() == state; }, kPlayTimeout);
    }

    // Closes any message box, so that a file that fails to open fails the test
    // instead of blocking it.
    MessageBoxCloser boxes;
    ComApartment com;
    RecordingParent parent;
    std::shared_ptr<TimeLimitedCalls> renders =
        std::make_shared<TimeLimitedCalls>(kMaxGivenUpRenders);
    DirectShowMedia media{renders};
};

// The picture the renderer shows now, as the bytes after the bitmap header;
// empty when the renderer can't give it. The renderer hands back 32-bit BGRX
// pixels, whatever format its header names.
std::string CurrentImage(IGraphBuilder* graph) {
    ComPtr<IBasicVideo> video;
    if (graph == nullptr || FAILED(graph->QueryInterface(
                                IID_IBasicVideo, reinterpret_cast<void**>(video.GetAddressOf())))) {
        return {};
    }
    std::vector<long> buffer(sizeof(BITMAPINFOHEADER) / sizeof(long) + 1024 * 1024);
    long size = static_cast<long>(buffer.size() * sizeof(long));
    if (FAILED(video->GetCurrentImage(&size, buffer.data()))) {
        return {};
    }
    const auto* header = reinterpret_cast<const BITMAPINFOHEADER*>(buffer.data());
    const char* bits = reinterpret_cast<const char*>(buffer.data()) + header->biSize;
    size_t length = std::min<size_t>(header->biSizeImage, buffer.size() * sizeof(long) - 64);
    return std::string(bits, length);
}

// The colour (0xRRGGBB) of a pixel in the middle of the image's data, -1 when
// there is no image.
long MiddleColour(const std::string& image) {
    if (image.size() < 4) {
        return -1;
    }
    const auto* pixel = reinterpret_cast<const BYTE*>(image.data()) + (image.size() / 8) * 4;
    return (pixel[2] << 16) | (pixel[1] << 8) | pixel[0];
}

// The colour (0xRRGGBB) on the screen in the middle of a window.
long ScreenColourAtMiddle(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    HDC screen = GetDC(nullptr);
    COLORREF pixel = GetPixel(screen, (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    ReleaseDC(nullptr, screen);
    if (pixel == CLR_INVALID) {
        return -1;
    }
    return (GetRValue(pixel) << 16) | (GetGValue(pixel) << 8) | GetBValue(pixel);
}

bool IsRed(long colour) {
    return colour >= 0 && ((colour >> 16) & 0xFF) > 200 && ((colour >> 8) & 0xFF) < 60 &&
           (colour & 0xFF) < 60;
}

TEST_F(DirectShowMediaTest, WithNoFileTheGettersAnswerNothingAndCommandsFail) {
    EXPECT_EQ(-1, media.GetPosition());
    EXPECT_EQ(-1, media.GetStart());
    EXPECT_EQ(-1, media.GetEnd());
    EXPECT_EQ(0, media.GetLength());
    EXPECT_FALSE(media.HasAudio());
    int width = 7;
    int height = 7;
    EXPECT_FALSE(media.GetSourceSize(width, height));
    EXPECT_FALSE(media.GetDestinationSize(width, height));
    EXPECT_FALSE(media.Play());
    EXPECT_FALSE(media.Pause());
    EXPECT_FALSE(media.Stop());
    EXPECT_FALSE(media.Rewind());
    EXPECT_FALSE(media.FastForward());
    EXPECT_EQ(Closed, media.state());
    EXPECT_EQ(-1, media.video());
    EXPECT_TRUE(parent.notifications.empty());
}

struct FileFacts {
    const wchar_t* name;
    int video;
    bool audio;
    int lengthMs;  // -1: a stream that does not tell its length
};

TEST_F(DirectShowMediaTest, OpenFindsTheStreamsTheLengthAndThePictureSize) {
    const FileFacts files[] = {
        {L"tone.wav", 0, true, 3000}, {L"tone.mp3", 0, true, 3000}, {L"av.avi", 1, true, 3000},
        {L"red.avi", 1, false, 2000}, {L"video.mpg", 1, false, -1},
    };
    for (const FileFacts& file : files) {
        SCOPED_TRACE(ToUtf8(file.name));
        ASSERT_TRUE(Open(file.name)) << ToUtf8(LoadText(media.openFailureMessage()));
        EXPECT_TRUE(media.isOpened());
        EXPECT_EQ(Opened, media.state());
        EXPECT_EQ(file.video, media.video());
        EXPECT_EQ(file.audio, media.HasAudio());
        EXPECT_EQ(0, media.GetStart());
        if (file.lengthMs >= 0) {
            EXPECT_NEAR(file.lengthMs, media.GetEnd(), 100);
        }
        EXPECT_EQ(media.GetEnd() - media.GetStart(), media.GetLength());
        EXPECT_EQ(0, media.GetPosition());
        int width = 0;
        int height = 0;
        EXPECT_EQ(file.video == 1, media.GetSourceSize(width, height));
        if (file.video == 1) {
            EXPECT_EQ(320, width);
            EXPECT_EQ(240, height);
            RECT form{};
            GetClientRect(media.formWindow(), &form);
            EXPECT_EQ(320, form.right);
            EXPECT_EQ(240, form.bottom);
        }
        // The first frame is shown without playing: nothing was reported.
        PumpMessages(100);
        EXPECT_EQ(Opened, media.state());
        EXPECT_TRUE(parent.States().empty());
        media.Close();
        EXPECT_EQ(Closed, media.state());
        EXPECT_EQ(-1, media.video());
        EXPECT_EQ(nullptr, media.graph());
    }
}

TEST_F(DirectShowMediaTest, TheLevelReachesTheGraphInHundredthsOfADecibel) {
    media.SetVolume(250);
    media.SetMute(true);
    ASSERT_TRUE(Open(L"av.avi"));
    EXPECT_EQ(-10000, GraphVolume()) << "mute set before the file was opened";
    media.SetMute(false);
    EXPECT_EQ(-1204, GraphVolume()) << "volume set before the file was opened";
    EXPECT_TRUE(media.SetVolume(500));
    EXPECT_EQ(-602, GraphVolume());
    EXPECT_TRUE(media.SetVolume(1000));
    EXPECT_EQ(0, GraphVolume());
    EXPECT_TRUE(media.SetVolume(0));
    EXPECT_EQ(-10000, GraphVolume());
    EXPECT_FALSE(media.SetVolume(1001));
    EXPECT_EQ(0, media.volume());
    EXPECT_EQ(-10000, GraphVolume());
    media.SetVolume(500);
    media.SetMute(true);
    EXPECT_EQ(-10000, GraphVolume());
    media.SetVolume(700);
    EXPECT_FALSE(media.muted()) << "setting the volume unmutes";
    EXPECT_EQ(DecibelVolume(700), GraphVolume());
    EXPECT_TRUE(media.SetVolume(-5)) << "taken as silence";
    EXPECT_EQ(-10000, GraphVolume());
    // The stored level survives Close and comes back at the next Open.
    media.SetVolume(500);
    ASSERT_TRUE(Open(L"tone.mp3"));
    EXPECT_EQ(-602, GraphVolume());
}

TEST_F(DirectShowMediaTest, FrameStepsMoveByTheFrameDurationWithinTheMedia) {
    ASSERT_TRUE(Open(L"red.avi"));
    struct Step {
        int from;
        bool forward;
        int to;
    };
    int end = media.GetEnd();
    const Step steps[] = {
        {1000, false, 921}, {50, false, 0},        {0, false, 0},
        {1000, true, 1079}, {end - 20, true, end}, {end, true, end},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(testing::Message() << step.from << (step.forward ? " forward" : " back"));
        ASSERT_TRUE(media.SetPosition(step.from));
        parent.notifications.clear();
        EXPECT_TRUE(step.forward ? media.NextFrame() : media.PrevFrame());
        if (step.to != step.from) {
            EXPECT_TRUE(PumpUntil([&] { return parent.LastPosition() == step.to; }, 5000))
                << parent.LastPosition();
        } else {
            PumpMessages(50);
            EXPECT_TRUE(parent.notifications.empty());
        }
        EXPECT_EQ(step.to, media.GetPosition());
    }
    EXPECT_EQ(Opened, media.state());

    // A file without picture has no frames to step.
    ASSERT_TRUE(Open(L"tone.wav"));
    ASSERT_TRUE(media.SetPosition(1000));
    parent.notifications.clear();
    EXPECT_TRUE(media.PrevFrame());
    EXPECT_TRUE(media.NextFrame());
    EXPECT_EQ(1000, media.GetPosition());
    EXPECT_TRUE(parent.notifications.empty());
}

TEST_F(DirectShowMediaTest, SpeedsBelowOneAreRefused) {
    const int speeds[] = {0, -1000, 1, 4000};
    for (int speed : speeds) {
        SCOPED_TRACE(speed);
        int backward = media.backwardSpeed();
        int forward = media.forwardSpeed();
        EXPECT_EQ(speed >= 1, media.SetBackwardSpeed(speed));
        EXPECT_EQ(speed >= 1, media.SetForwardSpeed(speed));
        EXPECT_EQ(speed >= 1 ? speed : backward, media.backwardSpeed());
        EXPECT_EQ(speed >= 1 ? speed : forward, media.forwardSpeed());
    }
}

TEST_F(DirectShowMediaTest, PlayingToTheEndReportsStoppedAtTheEndWithTheLastFrameShown) {
    ASSERT_TRUE(Open(L"red.avi"));
    long colour = MiddleColour(CurrentImage(media.graph()));
    EXPECT_TRUE(IsRed(colour)) << "first frame after open: " << std::hex << colour;
    ASSERT_TRUE(media.Play());
    EXPECT_EQ(Playing, media.state());
    ASSERT_TRUE(WaitForState(Stopped));
    EXPECT_EQ(media.GetEnd(), media.GetPosition());
    ASSERT_FALSE(parent.notifications.empty());
    EXPECT_EQ((Notification{kMediaStateChanged, Stopped}), parent.notifications.back());
    EXPECT_EQ(media.GetEnd(), parent.LastPosition());
    EXPECT_EQ((std::vector<LPARAM>{Playing, Stopped}), parent.States());
    // Position reports came while playing, rising (the final report, at the
    // end, may be a little below the last one of the timer).
    std::vector<LPARAM> positions;
    for (const Notification& notification : parent.notifications) {
        if (notification.code == kMediaPositionChanged) {
            positions.push_back(notification.value);
        }
    }
    ASSERT_GE(positions.size(), 5u);
    for (size_t i = 1; i + 1 < positions.size(); ++i) {
        EXPECT_GE(positions[i], positions[i - 1]);
    }
    colour = ScreenColourAtMiddle(media.formWindow());
    EXPECT_TRUE(IsRed(colour)) << "last frame after the end: " << std::hex << colour;
    // No more position reports once stopped.
    size_t count = parent.notifications.size();
    PumpMessages(kQuietWatch);
    EXPECT_EQ(count, parent.notifications.size());
}

TEST_F(DirectShowMediaTest, PauseResumeAndStopReportStateAndPosition) {
    ASSERT_TRUE(Open(L"av.avi"));
    ASSERT_TRUE(media.Play());
    ASSERT_TRUE(PumpUntil([&] { return media.GetPosition() > 300; }, 10000));
    ASSERT_TRUE(media.Pause());
    EXPECT_EQ(Paused, media.state());
    EXPECT_EQ((Notification{kMediaStateChanged, Paused}), parent.notifications.back());
    int paused = media.GetPosition();
    EXPECT_GT(paused, 0);
    PumpMessages(kQuietWatch);
    EXPECT_EQ(paused, media.GetPosition()) << "a paused graph does not move";
    EXPECT_EQ(Paused, media.state());

    ASSERT_TRUE(media.Pause());
    EXPECT_EQ(Playing, media.state());
    EXPECT_EQ((Notification{kMediaStateChanged, Playing}), parent.notifications.back());
    EXPECT_TRUE(PumpUntil([&] { return media.GetPosition() > paused; }, 10000));

    parent.notifications.clear();
    ASSERT_TRUE(media.Stop());
    EXPECT_EQ(Stopped, media.state());
    EXPECT_EQ(0, media.GetPosition());
    EXPECT_EQ(
        (std::vector<Notification>{{kMediaPositionChanged, 0}, {kMediaStateChanged, Stopped}}),
        parent.notifications);
    EXPECT_TRUE(media.Stop()) << "already stopped";
    EXPECT_FALSE(media.Pause()) << "neither playing nor paused";
    PumpMessages(kQuietWatch);
    EXPECT_EQ(2u, parent.notifications.size()) << "no position reports while stopped";
}

TEST_F(DirectShowMediaTest, StopShowsTheFirstFrameAgain) {
    ASSERT_TRUE(Open(L"av.avi"));
    std::string first;
    ASSERT_TRUE(PumpUntil(
        [&] {
            first = CurrentImage(media.graph());
            return !first.empty();
        },
        10000));
    ASSERT_TRUE(media.Play());
    ASSERT_TRUE(PumpUntil([&] { return first != CurrentImage(media.graph()); }, 10000))
        << "the picture moves while playing";
    ASSERT_TRUE(media.Stop());
    EXPECT_TRUE(PumpUntil([&] { return first == CurrentImage(media.graph()); }, 10000));
}

TEST_F(DirectShowMediaTest, SeekingWhilePlayingSoundAndPictureKeepsPlayingToTheEnd) {
    ASSERT_TRUE(Open(L"av.avi"));
    ASSERT_TRUE(media.Play());
    ASSERT_TRUE(PumpUntil([&] { return media.GetPosition() > 100; }, 10000));
    ASSERT_TRUE(media.SetPosition(2000));
    EXPECT_EQ(Playing, media.state());
    EXPECT_GE(media.GetPosition(), 2000);
    ASSERT_TRUE(WaitForState(Stopped));
    EXPECT_EQ(media.GetEnd(), media.GetPosition());
    // Seeking while paused and stopped at the end works as well.
    ASSERT_TRUE(media.SetPosition(500));
    EXPECT_EQ(500, media.GetPosition());
    EXPECT_EQ(Stopped, media.state());
    ASSERT_TRUE(media.Play());
    ASSERT_TRUE(PumpUntil([&] { return media.GetPosition() > 500; }, 10000));
    ASSERT_TRUE(media.Pause());
    ASSERT_TRUE(media.SetPosition(2500));
    EXPECT_EQ(2500, media.GetPosition());
    EXPECT_EQ(Paused, media.state());
    ASSERT_TRUE(media.Play());
    ASSERT_TRUE(WaitForState(Stopped));
    EXPECT_EQ(media.GetEnd(), media.GetPosition());
}

// What the sound server's null sink played while the file played: the mean
// power of the left channel and the share of it at 440 Hz.
struct Recording {
    double rms = -1;
    double toneShare = 0;
};

constexpr int kRecordRate = 44100;

Recording Analyse(const std::string& raw) {
    Recording recording;
    // Interleaved 16-bit stereo. Silence before and after the file adds
    // nothing to either power, so the whole recording is taken, in blocks of
    // 0.1 s (a gap in the sound breaks the phase only between blocks).
    constexpr size_t kBlock = kRecordRate / 10;
    size_t frames = raw.size() / 4;
    if (frames < kRecordRate / 2) {
        return recording;
    }
    const auto* samples = reinterpret_cast<const short*>(raw.data());
    double coefficient = 2 * std::cos(2 * 3.14159265358979 * 440 / kRecordRate);
    double sumSquares = 0;
    double toneEnergy = 0;
    for (size_t block = 0; block + kBlock <= frames; block += kBlock) {
        double previous = 0;
        double beforePrevious = 0;
        for (size_t frame = block; frame < block + kBlock; ++frame) {
            double sample = samples[frame * 2] / 32768.0;
            sumSquares += sample * sample;
            double current = sample + coefficient * previous - beforePrevious;
            beforePrevious = previous;
            previous = current;
        }
        // A sine of amplitude A has the energy A²·N/2 and the Goertzel power (A·N/2)².
        double power = previous * previous + beforePrevious * beforePrevious -
                       coefficient * previous * beforePrevious;
        toneEnergy += 2 * power / kBlock;
    }
    recording.rms = std::sqrt(sumSquares / (frames - frames % kBlock));
    recording.toneShare = sumSquares > 0 ? toneEnergy / sumSquares : 0;
    return recording;
}

Recording RecordWhilePlaying(DirectShowMedia& media) {
    std::string raw = HostTempPath(".raw");
    HostCommand recorder(
        "PATH=/usr/bin:/bin; export PATH; "
        "timeout -s INT 4 parec -d cap.monitor --latency-msec=20 "
        "--format=s16le --rate=44100 --channels=2 " +
        raw);
    Recording recording;
    if (!recorder.started()) {
        return recording;
    }
    // Play once the recorder writes (a loaded machine starts it late).
    std::wstring rawPath = WindowsPathOfHostPath(raw);
    PumpUntil(
        [&] {
            WIN32_FILE_ATTRIBUTE_DATA data{};
            return GetFileAttributesExW(rawPath.c_str(), GetFileExInfoStandard, &data) &&
                   data.nFileSizeLow > 4 * kRecordRate / 10;
        },
        5000);
    media.Play();
    if (recorder.Wait(10000)) {
        recording = Analyse(ReadBytes(WindowsPathOfHostPath(raw)));
    }
    media.Stop();
    DeleteFileW(WindowsPathOfHostPath(raw).c_str());
    return recording;
}

TEST_F(DirectShowMediaTest, TheToneComesOutOfTheSoundDeviceUnlessMuted) {
    for (const wchar_t* name : {L"tone.wav", L"av.avi"}) {
        SCOPED_TRACE(ToUtf8(name));
        ASSERT_TRUE(Open(name));
        Recording heard = RecordWhilePlaying(media);
        EXPECT_GT(heard.rms, 0.02);
        EXPECT_GT(heard.toneShare, 0.5) << "most of the sound is the 440 Hz tone";
    }
    media.SetMute(true);
    ASSERT_TRUE(Open(L"tone.wav"));
    Recording muted = RecordWhilePlaying(media);
    ASSERT_GE(muted.rms, 0) << "the recording failed";
    EXPECT_LT(muted.rms, 0.001);
}

TEST_F(DirectShowMediaTest, MouseMessagesOverTheVideoReachTheParent) {
    ASSERT_TRUE(Open(L"red.avi"));
    media.MoveVideo(40, 30, 320, 240);
    HWND form = media.formWindow();
    SendMessageW(form, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageW(form, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ((std::vector<Notification>{{kMediaLeftButton, 0}, {kMediaRightButton, 0}}),
              parent.notifications);
    SendMessageW(form, WM_MOUSEMOVE, 0, MAKELPARAM(10, 20));
    ASSERT_EQ(1u, parent.mouseMoves.size());
    EXPECT_EQ(50, parent.mouseMoves[0].x);
    EXPECT_EQ(50, parent.mouseMoves[0].y);
    // The parent's answer decides the cursor over the picture.
    EXPECT_EQ(TRUE, SendMessageW(form, WM_SETCURSOR, reinterpret_cast<WPARAM>(form),
                                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
    EXPECT_EQ(1, parent.setCursorCount);
}

TEST_F(DirectShowMediaTest, TheFormIsPlacedInTheCanvasAndThePictureFillsIt) {
    HWND form = media.formWindow();
    EXPECT_TRUE(media.CreateForm(parent.window(), 0, GetModuleHandleW(nullptr)));
    EXPECT_EQ(form, media.formWindow()) << "a second call keeps the window";
    ASSERT_TRUE(Open(L"red.avi"));
    media.MoveVideo(10, 20, 200, 100);
    media.ResizeVideo(160, 90);
    RECT rect{};
    GetWindowRect(form, &rect);
    MapWindowPoints(nullptr, parent.window(), reinterpret_cast<POINT*>(&rect), 2);
    EXPECT_EQ((std::vector<LONG>{10, 20, 170, 110}),
              (std::vector<LONG>{rect.left, rect.top, rect.right, rect.bottom}));
    int width = 0;
    int height = 0;
    ASSERT_TRUE(media.GetDestinationSize(width, height));
    EXPECT_EQ(160, width);
    EXPECT_EQ(90, height);
}

TEST_F(DirectShowMediaTest, FilesThatCannotBeRenderedNameTheirMessageAndStayClosed) {
    struct Failure {
        const wchar_t* name;
        UINT text;
        // Also right: Wine's source now and then never finishes parsing a
        // cut-off file, and the render's time limit ends the open.
        UINT textWhenGivenUp;
    };
    const Failure failures[] = {
        {L"text.avi", IDS_UNSUPPORTED_FORMAT, IDS_UNSUPPORTED_FORMAT},
        {L"truncated.avi", IDS_UNSUPPORTED_FORMAT, IDS_PLAYBACK_ERROR},
        {L"missing.avi", IDS_PLAYBACK_ERROR, IDS_PLAYBACK_ERROR},
    };
    for (const Failure& failure : failures) {
        SCOPED_TRACE(ToUtf8(failure.name));
        EXPECT_FALSE(Open(failure.name));
        EXPECT_EQ(Closed, media.state());
        EXPECT_FALSE(media.isOpened());
        EXPECT_EQ(kNothingOpen, media.video());
        EXPECT_EQ(nullptr, media.graph());
        UINT message = media.openFailureMessage();
        EXPECT_TRUE(message == failure.text || message == failure.textWhenGivenUp) << message;
    }
    // The owner shows the message: the back-end itself never does.
    EXPECT_TRUE(boxes.Texts().empty());
    // A good open forgets the reason; a failed open after it leaves nothing
    // of the first file.
    ASSERT_TRUE(Open(L"tone.wav"));
    EXPECT_EQ(0u, media.openFailureMessage());
    EXPECT_FALSE(Open(L"text.avi"));
    EXPECT_EQ(Closed, media.state());
    EXPECT_EQ(-1, media.GetPosition());
}

TEST_F(DirectShowMediaTest, ARenderPastTheTimeLimitFailsTheOpenAndTheNextOpenWorks) {
    media.SetRenderTimeLimit(0);
    EXPECT_FALSE(Open(L"av.avi"));
    EXPECT_EQ(Closed, media.state());
    EXPECT_EQ(nullptr, media.graph());
    EXPECT_EQ(static_cast<UINT>(IDS_PLAYBACK_ERROR), media.openFailureMessage());
    // The given-up render finishes on its own meanwhile.
    EXPECT_TRUE(PumpUntil([&] { return renders->WaitForGivenUp(0); }, kPlayTimeout));
    media.SetRenderTimeLimit(10000);
    ASSERT_TRUE(Open(L"red.avi"));
    ASSERT_TRUE(media.Play());
    EXPECT_TRUE(WaitForState(Stopped));
    EXPECT_EQ(0u, media.openFailureMessage());
}

bool UnderWine() {
    HMODULE system = GetModuleHandleW(L"ntdll.dll");
    return system != nullptr && GetProcAddress(system, "wine_get_version") != nullptr;
}

// The filters of the graph with the class, and whether each has a connected pin.
std::vector<bool> FiltersOfClass(IGraphBuilder* graph, REFCLSID wanted) {
    std::vector<bool> found;
    ComPtr<IEnumFilters> filters;
    if (graph == nullptr || FAILED(graph->EnumFilters(&filters))) {
        return found;
    }
    ComPtr<IBaseFilter> filter;
    while (filters->Next(1, filter.ReleaseAndGetAddressOf(), nullptr) == S_OK) {
        CLSID id{};
        if (FAILED(filter->GetClassID(&id)) || id != wanted) {
            continue;
        }
        bool connected = false;
        ComPtr<IEnumPins> pins;
        ComPtr<IPin> pin;
        if (SUCCEEDED(filter->EnumPins(&pins))) {
            while (pins->Next(1, pin.ReleaseAndGetAddressOf(), nullptr) == S_OK) {
                ComPtr<IPin> other;
                connected = connected || SUCCEEDED(pin->ConnectedTo(&other));
            }
        }
        found.push_back(connected);
    }
    return found;
}

// Under Wine the default renderer presents through OpenGL on its own thread,
// which could block the GUI thread for good; the graphs get the GDI renderer,
// and only when they have a picture for it.
TEST_F(DirectShowMediaTest, UnderWineThePictureIsDrawnByTheGdiRenderer) {
    if (!UnderWine()) {
        GTEST_SKIP() << "the default renderer is used";
    }
    struct Case {
        const wchar_t* name;
        std::vector<bool> renderers;
    } cases[] = {
        {L"av.avi", {true}},
        {L"video.mpg", {true}},
        {L"tone.wav", {}},
        {L"tone.mp3", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(ToUtf8(c.name));
        ASSERT_TRUE(Open(c.name));
        EXPECT_EQ(c.renderers, FiltersOfClass(media.graph(), CLSID_VideoRenderer));
        media.Close();
    }
}

// Stops the process when the thread that calls Beat() makes no progress for
// a while: a test that would otherwise block for good fails at once.
class HangWatch {
public:
    explicit HangWatch(DWORD limit) : thread_([this, limit] { Watch(limit); }) {}
    ~HangWatch() {
        stop_ = true;
        thread_.join();
    }
    HangWatch(const HangWatch&) = delete;
    HangWatch& operator=(const HangWatch&) = delete;

    void Beat() { ++beats_; }

private:
    void Watch(DWORD limit) {
        int last = -1;
        DWORD since = GetTickCount();
        while (!stop_) {
            Sleep(100);
            int now = beats_;
            if (now != last) {
                last = now;
                since = GetTickCount();
            } else if (GetTickCount() - since > limit) {
                std::fprintf(stderr, "blocked for good after %d steps\n", now);
                std::fflush(stderr);
                TerminateProcess(GetCurrentProcess(), 3);
            }
        }
    }

    std::atomic<int> beats_{0};
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

TEST_F(DirectShowMediaTest, MovingAndSizingWindowsWhileAVideoShowsNeverBlocks) {
    HangWatch watch(20000);
    for (const wchar_t* name : {L"av.avi", L"red.avi"}) {
        SCOPED_TRACE(ToUtf8(name));
        ASSERT_TRUE(Open(name));
        // Paused on the first frame, then playing (from the start again at the end).
        for (int step = 0; step < 400; ++step) {
            if (step >= 50 && media.state() != Playing) {
                media.SeekToStart();
                ASSERT_TRUE(media.Play());
            }
            MoveWindow(parent.window(), 10 + step % 13, 10 + step % 7, 400 + step % 5 * 20,
                       400 + step % 3 * 20, TRUE);
            media.MoveVideo(step % 4, step % 6, 300 + step % 3 * 10, 240);
            PumpMessages(step % 4 == 0 ? 10 : 0);
            watch.Beat();
        }
        media.Close();
    }
}

TEST(DirectShowMediaRenders, AFileWhoseRenderWasGivenUpFailsAtOnceWhileTheRenderRuns) {
    MessageBoxCloser boxes;
    ComApartment com;
    RecordingParent parent;
    auto renders = std::make_shared<TimeLimitedCalls>(kMaxGivenUpRenders);
    DirectShowMedia media(renders);
    ASSERT_TRUE(media.CreateForm(parent.window(), 0, GetModuleHandleW(nullptr)));
    UniqueKernelHandle release(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    HANDLE event = release.get();
    auto stuck = [event] { return WaitForSingleObject(event, INFINITE) == 0 ? S_OK : E_FAIL; };
    // Renders that never end, as a damaged file's may, and the files they hold.
    const std::wstring red = MediaFile(L"red.avi");
    ASSERT_EQ(kCallTimedOut, renders->Call(red, stuck, 0));

    struct Case {
        std::wstring path;
        bool opens;
    } cases[] = {
        {red, false},
        {CharUpperW(std::wstring(red).data()), false},
        {MediaFile(L"av.avi"), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(ToUtf8(c.path));
        EXPECT_EQ(c.opens, media.Open(c.path.c_str()));
        EXPECT_EQ(c.opens ? 0u : static_cast<UINT>(IDS_PLAYBACK_ERROR), media.openFailureMessage());
        EXPECT_EQ(c.opens, media.graph() != nullptr);
        media.Close();
    }
    // With as many given up as may be, no file opens.
    for (std::size_t i = 1; i < kMaxGivenUpRenders; ++i) {
        ASSERT_EQ(kCallTimedOut, renders->Call(L"other " + std::to_wstring(i), stuck, 0));
    }
    EXPECT_FALSE(media.Open(MediaFile(L"av.avi").c_str()));
    EXPECT_EQ(static_cast<UINT>(IDS_PLAYBACK_ERROR), media.openFailureMessage());

    SetEvent(event);
    ASSERT_TRUE(renders->WaitForGivenUp(10000));
    EXPECT_TRUE(media.Open(red.c_str()));
}

TEST(DirectShowMediaLifetime, DeletingAnOpenBackEndReleasesEverything) {
    MessageBoxCloser boxes;
    ComApartment com;
    RecordingParent parent;
    auto media = std::make_unique<DirectShowMedia>();
    ASSERT_TRUE(media->CreateForm(parent.window(), 0, GetModuleHandleW(nullptr)));
    ASSERT_TRUE(media->Open(MediaFile(L"red.avi").c_str()));
    ASSERT_TRUE(media->Play());
    HWND form = media->formWindow();
    media.reset();
    EXPECT_FALSE(IsWindow(form));
    PumpMessages(300);
}

// The threads of this process (the platform's handle and object counters
// answer 0 under Wine; its thread list does not).
int ThreadCount() {
    UniqueFile snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    int count = 0;
    if (!snapshot || !Thread32First(snapshot.get(), &entry)) {
        return -1;
    }
    do {
        count += entry.th32OwnerProcessID == GetCurrentProcessId() ? 1 : 0;
    } while (Thread32Next(snapshot.get(), &entry));
    return count;
}

TEST(DirectShowMediaLifetime, FiftyOpenCloseCyclesLeakNoHandles) {
    MessageBoxCloser boxes;
    ComApartment com;
    RecordingParent parent;
    DirectShowMedia media;
    ASSERT_TRUE(media.CreateForm(parent.window(), 0, GetModuleHandleW(nullptr)));
    const wchar_t* names[] = {L"av.avi", L"tone.wav", L"red.avi", L"tone.mp3", L"video.mpg"};
    auto cycle = [&](int count) {
        for (int i = 0; i < count; ++i) {
            ASSERT_TRUE(media.Open(MediaFile(names[i % 5]).c_str()));
            if (i % 2 == 0) {
                ASSERT_TRUE(media.Play());
            }
            PumpMessages(20);
            media.Close();
        }
        PumpMessages(200);
    };
    // The first cycles load the decoders and start the system's threads.
    cycle(10);
    DWORD handles = 0;
    GetProcessHandleCount(GetCurrentProcess(), &handles);
    DWORD gdi = GdiObjectCount();
    DWORD user = UserObjectCount();
    const int threads = ThreadCount();
    ASSERT_GT(threads, 0);
    cycle(50);
    // No thread stays behind a file played (a clock's, say).
    EXPECT_LE(ThreadCount(), threads + 2);
    DWORD handlesAfter = 0;
    GetProcessHandleCount(GetCurrentProcess(), &handlesAfter);
    EXPECT_LE(handlesAfter, handles + 10);
    EXPECT_LE(GdiObjectCount(), gdi);
    EXPECT_LE(UserObjectCount(), user);
}

}  // namespace

// The process ends at once after the last test, with the tests' result: at a
// normal exit the libraries are unloaded while threads of the platform's
// decoders, left by the many graphs made here, may still run under Wine,
// which crashed the process now and then after every test had passed.
int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    std::fflush(stdout);
    std::fflush(stderr);
    TerminateProcess(GetCurrentProcess(), static_cast<UINT>(result));
    return result;
}

// The rules every back-end shares: level and mute, speeds, the form window.
#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "media/media.h"
#include "media_test_support.h"

namespace {

// A back-end without playback: it records the levels it is asked to apply.
class RecordingMedia : public Media {
public:
    ~RecordingMedia() override { DestroyForm(); }

    bool Open(const wchar_t*) override {
        opened_ = true;
        video_ = 0;
        state_ = Opened;
        ApplyLevel(CurrentLevel());
        return true;
    }
    void Close() override {
        ++closes;
        opened_ = false;
        video_ = -1;
        state_ = Closed;
    }
    bool Play() override { return false; }
    bool Pause() override { return false; }
    bool Stop() override { return false; }
    bool Rewind() override { return false; }
    bool FastForward() override { return false; }
    bool SeekToStart() override { return true; }
    bool SeekToEnd() override { return true; }
    bool GetSourceSize(int&, int&) override { return false; }
    bool GetDestinationSize(int&, int&) override { return false; }
    int GetLength() override { return 0; }
    int GetStart() override { return -1; }
    int GetEnd() override { return -1; }
    int GetPosition() override { return -1; }
    bool SetPosition(int) override { return false; }
    bool HasAudio() override { return false; }

    std::vector<int> levels;
    int closes = 0;

protected:
    const wchar_t* FormClassName() const override { return L"Zephlo Test Form"; }
    bool RegisterFormClass(HINSTANCE instance) override {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = Procedure;
        windowClass.cbWndExtra = sizeof(void*);
        windowClass.hInstance = instance;
        windowClass.lpszClassName = FormClassName();
        RegisterClassW(&windowClass);
        return true;
    }
    bool ApplyLevel(int level) override {
        levels.push_back(level);
        return true;
    }

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_CREATE) {
            StoreInWindow(window, lParam);
            return 0;
        }
        auto* media = static_cast<RecordingMedia*>(FromWindow(window));
        if (message == WM_DESTROY && media != nullptr) {
            media->Close();
            media->formWindow_ = nullptr;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }
};

TEST(MediaLevel, VolumeAndMuteFollowTheSharedRules) {
    RecordingMedia media;
    EXPECT_EQ(1000, media.volume());
    EXPECT_FALSE(media.muted());

    // Nothing is applied with no file open; the values wait for Open.
    EXPECT_TRUE(media.SetVolume(300));
    EXPECT_TRUE(media.SetMute(true));
    EXPECT_TRUE(media.levels.empty());
    media.Open(L"x");
    EXPECT_EQ((std::vector<int>{0}), media.levels);

    // A level above full is refused and changes nothing, muted included.
    EXPECT_FALSE(media.SetVolume(1001));
    EXPECT_EQ(300, media.volume());
    EXPECT_TRUE(media.muted());
    EXPECT_EQ(1u, media.levels.size());

    // Muting again changes nothing; unmuting applies the stored volume.
    EXPECT_TRUE(media.SetMute(true));
    EXPECT_EQ(1u, media.levels.size());
    EXPECT_TRUE(media.SetMute(false));
    EXPECT_EQ(300, media.levels.back());

    // Setting the volume while muted unmutes.
    media.SetMute(true);
    EXPECT_TRUE(media.SetVolume(0));
    EXPECT_FALSE(media.muted());
    EXPECT_EQ(0, media.volume());
    EXPECT_EQ(0, media.levels.back());
    EXPECT_TRUE(media.SetVolume(1000));
    EXPECT_EQ(1000, media.levels.back());

    // A level below zero is taken as silence rather than passed on.
    EXPECT_TRUE(media.SetVolume(-5));
    EXPECT_EQ(0, media.volume());
    EXPECT_EQ(0, media.levels.back());

    // The stored level survives Close and comes back at the next Open.
    media.SetVolume(640);
    media.Close();
    media.levels.clear();
    media.Open(L"x");
    EXPECT_EQ((std::vector<int>{640}), media.levels);
}

TEST(MediaSpeeds, SpeedsBelowOneAreRefused) {
    RecordingMedia media;
    EXPECT_EQ(2000, media.backwardSpeed());
    EXPECT_EQ(2000, media.forwardSpeed());
    struct Case {
        int speed;
        bool accepted;
    };
    const Case cases[] = {{0, false}, {-1000, false}, {1, true}, {4000, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.speed);
        int backward = media.backwardSpeed();
        int forward = media.forwardSpeed();
        EXPECT_EQ(c.accepted, media.SetBackwardSpeed(c.speed));
        EXPECT_EQ(c.accepted, media.SetForwardSpeed(c.speed));
        EXPECT_EQ(c.accepted ? c.speed : backward, media.backwardSpeed());
        EXPECT_EQ(c.accepted ? c.speed : forward, media.forwardSpeed());
    }
}

TEST(MediaForm, TheFormWindowIsCreatedOnceMovedAndDestroyedWithTheObject) {
    RecordingParent parent;
    HWND form = nullptr;
    {
        RecordingMedia media;
        EXPECT_EQ(nullptr, media.formWindow());
        EXPECT_FALSE(media.PrevFrame());
        EXPECT_FALSE(media.NextFrame());
        ASSERT_TRUE(media.CreateForm(parent.window(), 0, GetModuleHandleW(nullptr)));
        form = media.formWindow();
        ASSERT_NE(nullptr, form);
        EXPECT_EQ(parent.window(), GetParent(form));
        LONG style = GetWindowLongW(form, GWL_STYLE);
        EXPECT_EQ(static_cast<LONG>(WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN),
                  style & (WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CAPTION));
        RECT rect{};
        GetWindowRect(form, &rect);
        EXPECT_EQ(0, rect.right - rect.left);

        EXPECT_TRUE(media.CreateForm(parent.window(), 0, GetModuleHandleW(nullptr)));
        EXPECT_EQ(form, media.formWindow()) << "a second call keeps the window";

        media.MoveVideo(10, 20, 200, 100);
        GetWindowRect(form, &rect);
        MapWindowPoints(nullptr, parent.window(), reinterpret_cast<POINT*>(&rect), 2);
        EXPECT_EQ(10, rect.left);
        EXPECT_EQ(20, rect.top);
        EXPECT_EQ(200, rect.right - rect.left);
        EXPECT_EQ(100, rect.bottom - rect.top);

        media.ResizeVideo(64, 48);
        GetWindowRect(form, &rect);
        MapWindowPoints(nullptr, parent.window(), reinterpret_cast<POINT*>(&rect), 2);
        EXPECT_EQ(10, rect.left) << "resizing keeps the position";
        EXPECT_EQ(20, rect.top);
        EXPECT_EQ(64, rect.right - rect.left);
        EXPECT_EQ(48, rect.bottom - rect.top);

        media.Open(L"x");
    }
    EXPECT_FALSE(IsWindow(form));
}

TEST(MediaForm, DestroyingTheFormClosesTheFileThroughTheBackEnd) {
    RecordingParent parent;
    RecordingMedia media;
    ASSERT_TRUE(media.CreateForm(parent.window(), 0, GetModuleHandleW(nullptr)));
    media.Open(L"x");
    media.DestroyForm();
    EXPECT_EQ(nullptr, media.formWindow());
    EXPECT_EQ(1, media.closes);
    EXPECT_EQ(Closed, media.state());
    media.DestroyForm();
    EXPECT_EQ(1, media.closes);
}

}  // namespace

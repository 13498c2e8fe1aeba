// The MCI back-end playing real files (clips whose picture Video for Windows
// decodes itself).
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "media/mci_media.h"
#include "media_test_support.h"
#include "support/test_support.h"

namespace {

constexpr int kFrameMs = 67;  // cram.avi runs at 15 frames a second

class MCIMediaTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(media.CreateForm(parent.window(), 0, GetModuleHandleW(nullptr)));
    }
    bool Open(const wchar_t* name) { return media.Open(MediaFile(name).c_str()); }

    MessageBoxCloser boxes;
    RecordingParent parent;
    MCIMedia media;
};

TEST_F(MCIMediaTest, OpenFindsPictureAndSoundInMilliseconds) {
    struct Facts {
        const wchar_t* name;
        int video;
        int lengthMs;
    };
    const Facts files[] = {{L"cram.avi", 1, 2000}, {L"tone.wav", 0, 3000}};
    for (const Facts& file : files) {
        SCOPED_TRACE(ToUtf8(file.name));
        ASSERT_TRUE(Open(file.name));
        EXPECT_TRUE(media.isOpened());
        EXPECT_EQ(file.video, media.video());
        EXPECT_TRUE(media.HasAudio());
        EXPECT_EQ(0, media.GetStart());
        EXPECT_NEAR(file.lengthMs, media.GetEnd(), 100);
        EXPECT_EQ(0, media.GetPosition());
        int width = 0;
        int height = 0;
        EXPECT_EQ(file.video == 1, media.GetSourceSize(width, height));
        if (file.video == 1) {
            EXPECT_EQ(320, width);
            EXPECT_EQ(240, height);
            RECT form{};
            GetClientRect(media.formWindow(), &form);
            EXPECT_EQ(320, form.right) << "the form takes the picture's natural size";
        }
        media.Close();
        EXPECT_EQ(Closed, media.state());
        EXPECT_EQ(-1, media.GetPosition());
    }
}

TEST_F(MCIMediaTest, PlayingToTheEndReportsPlayingPositionsAndStoppedAtTheEnd) {
    ASSERT_TRUE(Open(L"cram.avi"));
    ASSERT_TRUE(media.Play());
    ASSERT_TRUE(PumpUntil([&] { return media.state() == Playing; }, 5000));
    ASSERT_TRUE(PumpUntil([&] { return media.state() == Stopped; }, 15000));
    // The device stops on the last frame, which starts up to one frame before the end.
    EXPECT_NEAR(media.GetEnd(), media.GetPosition(), kFrameMs);
    std::vector<LPARAM> states = parent.States();
    ASSERT_FALSE(states.empty());
    EXPECT_EQ(Stopped, states.back());
    EXPECT_NE(states.end(), std::find(states.begin(), states.end(), Playing));
    EXPECT_GT(parent.LastPosition(), 0);

    // Stop leaves the position alone when already stopped.
    int end = media.GetPosition();
    ASSERT_TRUE(media.Stop());
    EXPECT_EQ(end, media.GetPosition());
}

TEST_F(MCIMediaTest, FrameStepsStayWithinTheMedia) {
    ASSERT_TRUE(Open(L"cram.avi"));
    EXPECT_TRUE(media.PrevFrame());
    EXPECT_EQ(0, media.GetPosition()) << "no step back from the start";
    EXPECT_TRUE(media.NextFrame());
    EXPECT_GT(media.GetPosition(), 0);
    ASSERT_TRUE(media.SeekToEnd());
    int last = media.GetPosition();
    EXPECT_NEAR(media.GetEnd(), last, kFrameMs);
    EXPECT_TRUE(media.NextFrame());
    EXPECT_LE(media.GetPosition(), media.GetEnd());
    EXPECT_GE(media.GetPosition(), last);
}

TEST_F(MCIMediaTest, AFileTheDevicesCannotOpenLeavesTheObjectClosed) {
    EXPECT_FALSE(Open(L"text.avi"));
    EXPECT_EQ(Closed, media.state());
    EXPECT_FALSE(media.isOpened());
    EXPECT_EQ(-1, media.video());
    ASSERT_TRUE(Open(L"tone.wav")) << "the form stays usable";
}

TEST(MCIMediaLifetime, DeletingAnOpenBackEndRestoresAndDestroysItsWindows) {
    MessageBoxCloser boxes;
    RecordingParent parent;
    auto media = std::make_unique<MCIMedia>();
    ASSERT_TRUE(media->CreateForm(parent.window(), 0, GetModuleHandleW(nullptr)));
    ASSERT_TRUE(media->Open(MediaFile(L"cram.avi").c_str()));
    ASSERT_TRUE(media->Play());
    HWND form = media->formWindow();
    HWND mci = media->mciWindow();
    media.reset();
    EXPECT_FALSE(IsWindow(form));
    EXPECT_FALSE(IsWindow(mci));
}

}  // namespace

// A back-end that plays nothing: the tests drive its state and position and
// it reports to the canvas exactly as a real one does.
#ifndef ZEPHLO_TESTS_MEDIA_WINDOW_FAKE_MEDIA_H
#define ZEPHLO_TESTS_MEDIA_WINDOW_FAKE_MEDIA_H

#include <memory>
#include <string>
#include <vector>

#include "media/media.h"
#include "media/time_limited_call.h"

class FakeMedia : public Media {
public:
    // What the next file opened will look like.
    static bool nextHasVideo;
    static bool nextOpenFails;
    // The back-end most recently made, and every call in order.
    static FakeMedia* latest;
    static std::vector<std::string> calls;
    static int made;
    static int alive;
    // A back-end was deleted while its own report was being handled.
    static bool deletedWhileReporting;

    static std::unique_ptr<Media> Make(int device,
                                       const std::shared_ptr<TimeLimitedCalls>& renders);

    FakeMedia();
    ~FakeMedia() override;

    bool Open(const wchar_t* fileName) override;
    void Close() override;
    bool Play() override;
    bool Pause() override;
    bool Stop() override;
    bool Rewind() override;
    bool FastForward() override;
    bool SeekToStart() override;
    bool SeekToEnd() override;
    bool GetSourceSize(int& width, int& height) override;
    bool GetDestinationSize(int& width, int& height) override;
    int GetLength() override { return opened_ ? end - start : 0; }
    int GetStart() override { return opened_ ? start : -1; }
    int GetEnd() override { return opened_ ? end : -1; }
    int GetPosition() override { return opened_ ? position : -1; }
    bool SetPosition(int value) override;
    bool HasAudio() override { return opened_; }
    void ResizeVideo(int width, int height) override;

    // Playback running into the end of the file.
    void ReachEnd();

    int start = 0;
    int end = 100'000;
    int position = 0;
    int appliedLevel = -1;
    int shownWidth = 0;
    int shownHeight = 0;

protected:
    const wchar_t* FormClassName() const override { return L"Zephlo Test Form"; }
    bool OnBackEndMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    bool ApplyLevel(int level) override;

private:
    bool reporting_ = false;
    void SetState(MediaState state);
};

#endif

#include "fake_media.h"

#include "resources/resource.h"

bool FakeMedia::nextHasVideo = true;
bool FakeMedia::nextOpenFails = false;
FakeMedia* FakeMedia::latest = nullptr;
std::vector<std::string> FakeMedia::calls;
int FakeMedia::made = 0;
int FakeMedia::alive = 0;
bool FakeMedia::deletedWhileReporting = false;

std::unique_ptr<Media> FakeMedia::Make(int, const std::shared_ptr<TimeLimitedCalls>&) {
    return std::make_unique<FakeMedia>();
}

FakeMedia::FakeMedia() {
    latest = this;
    ++made;
    ++alive;
}

FakeMedia::~FakeMedia() {
    if (reporting_) {
        deletedWhileReporting = true;
    }
    --alive;
    DestroyForm();
    if (latest == this) {
        latest = nullptr;
    }
}

bool FakeMedia::OnBackEndMessage(UINT, WPARAM, LPARAM, LRESULT&) {
    return false;
}

void FakeMedia::SetState(MediaState state) {
    state_ = state;
    Notify(kMediaStateChanged, state);
}

bool FakeMedia::Open(const wchar_t*) {
    Close();
    calls.push_back("Open");
    if (nextOpenFails) {
        openFailureMessage_ = IDS_UNSUPPORTED_FORMAT;
        return false;
    }
    openFailureMessage_ = 0;
    opened_ = true;
    state_ = Opened;
    video_ = nextHasVideo ? kVideo : kNoVideo;
    position = start;
    ApplyLevel(CurrentLevel());
    if (video_ == kVideo) {
        ResizeVideo(640, 480);
    }
    return true;
}

void FakeMedia::Close() {
    if (!opened_) {
        return;
    }
    calls.push_back("Close");
    opened_ = false;
    video_ = kNothingOpen;
    state_ = Closed;
}

bool FakeMedia::Play() {
    if (!opened_) {
        return false;
    }
    calls.push_back("Play");
    SetState(Playing);
    return true;
}

bool FakeMedia::Pause() {
    if (state_ == Paused) {
        return Play();
    }
    if (state_ != Playing) {
        return false;
    }
    calls.push_back("Pause");
    SetState(Paused);
    return true;
}

bool FakeMedia::Stop() {
    calls.push_back("Stop");
    position = start;
    SetState(Stopped);
    return true;
}

bool FakeMedia::Rewind() {
    return false;
}

bool FakeMedia::FastForward() {
    return false;
}

bool FakeMedia::SeekToStart() {
    calls.push_back("SeekToStart");
    position = start;
    Notify(kMediaPositionChanged, position);
    return true;
}

bool FakeMedia::SeekToEnd() {
    position = end;
    Notify(kMediaPositionChanged, position);
    return true;
}

bool FakeMedia::SetPosition(int value) {
    calls.push_back("SetPosition " + std::to_string(value));
    position = value;
    Notify(kMediaPositionChanged, position);
    return true;
}

bool FakeMedia::GetSourceSize(int& width, int& height) {
    if (video_ != kVideo) {
        return false;
    }
    width = 640;
    height = 480;
    return true;
}

bool FakeMedia::GetDestinationSize(int& width, int& height) {
    if (video_ != kVideo) {
        return false;
    }
    width = shownWidth;
    height = shownHeight;
    return true;
}

void FakeMedia::ResizeVideo(int width, int height) {
    shownWidth = width;
    shownHeight = height;
    Media::ResizeVideo(width, height);
}

bool FakeMedia::ApplyLevel(int level) {
    appliedLevel = level;
    return true;
}

void FakeMedia::ReachEnd() {
    position = end;
    reporting_ = true;
    SetState(Stopped);
    reporting_ = false;
    // A real back-end goes on with its own work after reporting.
    calls.push_back(opened_ ? "after end, open" : "after end, closed");
}

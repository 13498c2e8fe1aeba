// Work run on a worker thread under a time limit: its result, the wait that
// keeps answering other threads, and work left running past the limit.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <memory>

#include "base/handles.h"
#include "media/time_limited_call.h"
#include "support/test_support.h"

namespace {

constexpr DWORD kLongLimit = 20000;

TEST(CallWithTimeLimit, RunsTheWorkOnAnotherThreadWithComReady) {
    const DWORD caller = GetCurrentThreadId();
    DWORD worker = caller;
    HRESULT result = CallWithTimeLimit(
        [&worker] {
            worker = GetCurrentThreadId();
            // Already initialised as multithreaded: S_FALSE.
            HRESULT com = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
            if (SUCCEEDED(com)) {
                CoUninitialize();
            }
            return com;
        },
        kLongLimit);
    EXPECT_EQ(S_FALSE, result);
    EXPECT_NE(caller, worker);
    EXPECT_EQ(E_ACCESSDENIED, CallWithTimeLimit([] { return E_ACCESSDENIED; }, kLongLimit));
}

TEST(CallWithTimeLimit, MessagesSentMeanwhileAreAnsweredAndPostedOnesWait) {
    UniqueWindow window(CreateWindowExW(0, L"STATIC", L"abc", WS_POPUP, 0, 0, 10, 10, nullptr,
                                        nullptr, GetModuleHandleW(nullptr), nullptr));
    ASSERT_TRUE(window);
    const UINT posted = WM_APP + 7;
    ASSERT_TRUE(PostMessageW(window.get(), posted, 0, 0));
    HWND target = window.get();
    // Without the answers the worker would wait for this thread until the
    // limit and the call would time out.
    HRESULT result = CallWithTimeLimit(
        [target] { return SendMessageW(target, WM_GETTEXTLENGTH, 0, 0) == 3 ? S_OK : E_FAIL; },
        kLongLimit);
    EXPECT_EQ(S_OK, result);
    MSG message;
    EXPECT_TRUE(PeekMessageW(&message, window.get(), posted, posted, PM_REMOVE));
}

TEST(CallWithTimeLimit, WorkPastTheLimitGoesOnAloneAndFreesWhatItHolds) {
    UniqueKernelHandle release(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    ASSERT_TRUE(release);
    auto held = std::make_shared<int>(7);
    HANDLE event = release.get();
    HRESULT result = CallWithTimeLimit(
        [held, event] {
            WaitForSingleObject(event, INFINITE);
            return S_OK;
        },
        50);
    EXPECT_EQ(kCallTimedOut, result);
    EXPECT_EQ(2, held.use_count()) << "the work still holds its copy";
    SetEvent(event);
    EXPECT_TRUE(PumpUntil([&] { return held.use_count() == 1; }, kLongLimit));
}

// Work that waits until the test lets it go.
class HeldWork {
public:
    HeldWork() : release_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
    ~HeldWork() { Release(); }
    HeldWork(const HeldWork&) = delete;
    HeldWork& operator=(const HeldWork&) = delete;

    std::function<HRESULT()> Work() const {
        HANDLE event = release_.get();
        return [event] {
            return WaitForSingleObject(event, INFINITE) == WAIT_OBJECT_0 ? S_OK : E_FAIL;
        };
    }
    void Release() const { SetEvent(release_.get()); }

private:
    UniqueKernelHandle release_;
};

TEST(TimeLimitedCalls, AGivenUpKeyIsRefusedUntilItsWorkEndsAndOnlySoManyRunAtATime) {
    TimeLimitedCalls calls(2);
    HeldWork first;
    HeldWork second;
    EXPECT_EQ(kCallTimedOut, calls.Call(L"C:\\Media\\a.avi", first.Work(), 10));
    EXPECT_EQ(1u, calls.GivenUpCount());
    bool ran = false;
    auto mark = [&ran] {
        ran = true;
        return S_OK;
    };
    struct Case {
        const wchar_t* key;
        HRESULT expected;
    } whileOneRuns[] = {
        {L"C:\\Media\\a.avi", kCallRefused},
        {L"c:\\MEDIA\\A.AVI", kCallRefused},  // the same path in other case
        {L"C:\\Media\\b.avi", S_OK},
    };
    for (const Case& c : whileOneRuns) {
        SCOPED_TRACE(ToUtf8(c.key));
        ran = false;
        EXPECT_EQ(c.expected, calls.Call(c.key, mark, kLongLimit));
        EXPECT_EQ(c.expected == S_OK, ran);
    }
    // A second given-up call reaches the limit: every key is refused.
    EXPECT_EQ(kCallTimedOut, calls.Call(L"C:\\Media\\c.avi", second.Work(), 10));
    EXPECT_EQ(2u, calls.GivenUpCount());
    ran = false;
    EXPECT_EQ(kCallRefused, calls.Call(L"C:\\Media\\d.avi", mark, kLongLimit));
    EXPECT_FALSE(ran);
    EXPECT_FALSE(calls.WaitForGivenUp(50));

    first.Release();
    EXPECT_TRUE(PumpUntil([&] { return calls.GivenUpCount() == 1; }, kLongLimit));
    EXPECT_EQ(S_OK, calls.Call(L"C:\\Media\\a.avi", mark, kLongLimit));
    EXPECT_TRUE(ran);
    second.Release();
    EXPECT_TRUE(calls.WaitForGivenUp(kLongLimit));
    EXPECT_EQ(0u, calls.GivenUpCount());
}

TEST(TimeLimitedCalls, WorkThatEndsInTimeIsNeverCountedAndTheAccountOutlivesItsOwner) {
    HeldWork held;
    {
        TimeLimitedCalls calls(1);
        for (int i = 0; i < 5; ++i) {
            EXPECT_EQ(S_OK, calls.Call(
                                L"same", [] { return S_OK; }, kLongLimit));
        }
        EXPECT_EQ(0u, calls.GivenUpCount());
        EXPECT_TRUE(calls.WaitForGivenUp(0));
        EXPECT_EQ(kCallTimedOut, calls.Call(L"same", held.Work(), 10));
    }
    // The work ends after its account's owner is gone.
    held.Release();
    PumpMessages(200);
}

}  // namespace

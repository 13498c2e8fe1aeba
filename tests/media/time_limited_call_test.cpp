// Work run on a worker thread under a time limit: its result, the wait that
// keeps answering other threads, and work left running past the limit.
#include <gtest/gtest.h>

#include <windows.h>

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

}  // namespace

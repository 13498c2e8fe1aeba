#include "media/time_limited_call.h"

#include <atomic>
#include <new>
#include <utility>

#include "base/handles.h"

namespace {

// Shared by the waiting caller and the worker; whichever lets go last frees it.
struct Call {
    std::function<HRESULT()> work;
    HRESULT result = E_FAIL;
    UniqueKernelHandle done;
    std::atomic<int> holders{2};

    void Release() {
        if (holders.fetch_sub(1) == 1) {
            delete this;
        }
    }
};

DWORD WINAPI RunCall(void* parameter) {
    auto* call = static_cast<Call*>(parameter);
    HRESULT com = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    call->result = call->work();
    // What the work captured (COM objects among it) is let go of here, while
    // COM is still initialised on this thread.
    call->work = nullptr;
    if (SUCCEEDED(com)) {
        CoUninitialize();
    }
    SetEvent(call->done.get());
    call->Release();
    return 0;
}

// Waits for the event, answering sent messages, until the time limit.
bool WaitAnsweringSentMessages(HANDLE event, DWORD timeLimit) {
    const DWORD start = GetTickCount();
    for (;;) {
        MSG message;
        PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        const DWORD elapsed = GetTickCount() - start;
        const DWORD left = elapsed < timeLimit ? timeLimit - elapsed : 0;
        const DWORD woken = MsgWaitForMultipleObjectsEx(1, &event, left, QS_SENDMESSAGE, 0);
        if (woken == WAIT_OBJECT_0) {
            return true;
        }
        if (woken != WAIT_OBJECT_0 + 1) {
            return WaitForSingleObject(event, 0) == WAIT_OBJECT_0;
        }
    }
}

}  // namespace

HRESULT CallWithTimeLimit(std::function<HRESULT()> work, DWORD timeLimit) {
    auto* call = new (std::nothrow) Call;
    if (call != nullptr) {
        call->done.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    }
    if (call == nullptr || !call->done) {
        delete call;
        return work();
    }
    call->work = std::move(work);
    UniqueKernelHandle thread(CreateThread(nullptr, 0, RunCall, call, 0, nullptr));
    if (!thread) {
        HRESULT result = call->work();
        delete call;
        return result;
    }
    const bool finished = WaitAnsweringSentMessages(call->done.get(), timeLimit);
    const HRESULT result = finished ? call->result : kCallTimedOut;
    call->Release();
    return result;
}

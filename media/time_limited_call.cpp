#include "media/time_limited_call.h"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <new>
#include <utility>
#include <vector>

#include "base/handles.h"

struct TimeLimitedCalls::Account {
    std::mutex lock;
    std::size_t maxGivenUp = 0;
    // Keys of the given-up calls still running.
    std::vector<std::wstring> running;
    // Set (auto-reset) whenever a given-up call ends.
    UniqueKernelHandle ended{CreateEventW(nullptr, FALSE, FALSE, nullptr)};
};

namespace {

using Account = TimeLimitedCalls::Account;

bool SameKey(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                                static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

// Shared by the waiting caller and the worker; whichever lets go last frees it.
struct Call {
    std::function<HRESULT()> work;
    HRESULT result = E_FAIL;
    UniqueKernelHandle done;
    std::atomic<int> holders{2};
    // Calls kept account of: the account, the key, and (under the account's
    // lock) whether the work has returned and whether the caller gave up.
    std::shared_ptr<Account> account;
    std::wstring key;
    bool finished = false;
    bool givenUp = false;

    void Release() {
        if (holders.fetch_sub(1) == 1) {
            delete this;
        }
    }
};

void Finish(Call& call) {
    if (!call.account) {
        return;
    }
    Account& account = *call.account;
    std::lock_guard<std::mutex> guard(account.lock);
    call.finished = true;
    if (call.givenUp) {
        auto entry = std::find(account.running.begin(), account.running.end(), call.key);
        if (entry != account.running.end()) {
            account.running.erase(entry);
        }
        SetEvent(account.ended.get());
    }
}

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
    Finish(*call);
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

// The caller's side once the wait is over: true when the work returned in
// time; otherwise a call kept account of is entered as given up.
bool Conclude(Call& call, bool finished) {
    if (finished || !call.account) {
        return finished;
    }
    Account& account = *call.account;
    std::lock_guard<std::mutex> guard(account.lock);
    if (call.finished) {
        return true;
    }
    call.givenUp = true;
    account.running.push_back(call.key);
    return false;
}

HRESULT RunWithTimeLimit(std::function<HRESULT()> work, DWORD timeLimit,
                         std::shared_ptr<Account> account, const std::wstring& key) {
    auto* call = new (std::nothrow) Call;
    if (call != nullptr) {
        call->done.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    }
    if (call == nullptr || !call->done) {
        delete call;
        return work();
    }
    call->work = std::move(work);
    call->account = std::move(account);
    call->key = key;
    UniqueKernelHandle thread(CreateThread(nullptr, 0, RunCall, call, 0, nullptr));
    if (!thread) {
        HRESULT result = call->work();
        delete call;
        return result;
    }
    const bool finished = Conclude(*call, WaitAnsweringSentMessages(call->done.get(), timeLimit));
    const HRESULT result = finished ? call->result : kCallTimedOut;
    call->Release();
    return result;
}

}  // namespace

HRESULT CallWithTimeLimit(std::function<HRESULT()> work, DWORD timeLimit) {
    return RunWithTimeLimit(std::move(work), timeLimit, nullptr, std::wstring());
}

TimeLimitedCalls::TimeLimitedCalls(std::size_t maxGivenUp) : account_(std::make_shared<Account>()) {
    account_->maxGivenUp = maxGivenUp;
}

TimeLimitedCalls::~TimeLimitedCalls() = default;

HRESULT TimeLimitedCalls::Call(const std::wstring& key, std::function<HRESULT()> work,
                               DWORD timeLimit) {
    {
        std::lock_guard<std::mutex> guard(account_->lock);
        const std::vector<std::wstring>& running = account_->running;
        if (running.size() >= account_->maxGivenUp ||
            std::any_of(running.begin(), running.end(),
                        [&key](const std::wstring& other) { return SameKey(key, other); })) {
            return kCallRefused;
        }
    }
    return RunWithTimeLimit(std::move(work), timeLimit, account_, key);
}

std::size_t TimeLimitedCalls::GivenUpCount() const {
    std::lock_guard<std::mutex> guard(account_->lock);
    return account_->running.size();
}

bool TimeLimitedCalls::WaitForGivenUp(DWORD timeLimit) const {
    const DWORD start = GetTickCount();
    for (;;) {
        if (GivenUpCount() == 0) {
            return true;
        }
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= timeLimit ||
            !WaitAnsweringSentMessages(account_->ended.get(), timeLimit - elapsed)) {
            return GivenUpCount() == 0;
        }
    }
}

// Runs a piece of work on a worker thread and waits for it only so long: a
// DirectShow source that never finishes parsing a damaged file must not
// freeze the player.
#ifndef ZEPHLO_MEDIA_TIME_LIMITED_CALL_H
#define ZEPHLO_MEDIA_TIME_LIMITED_CALL_H

#include <windows.h>

#include <cstddef>
#include <functional>
#include <memory>
#include <string>

// The result CallWithTimeLimit gives for work that is still running.
inline const HRESULT kCallTimedOut = HRESULT_FROM_WIN32(ERROR_TIMEOUT);
// The result TimeLimitedCalls::Call gives for work it did not start.
inline const HRESULT kCallRefused = HRESULT_FROM_WIN32(ERROR_BUSY);

// Calls work on a new thread with COM initialised (multithreaded) and waits at
// most timeLimit milliseconds, answering the messages other threads send to
// this one meanwhile (posted messages stay queued). Gives work's result, or
// kCallTimedOut: the work then goes on alone and frees what it captured when
// it returns. When no thread can be started, work runs on this thread.
HRESULT CallWithTimeLimit(std::function<HRESULT()> work, DWORD timeLimit);

// Time-limited calls that keep account of the work given up on: each such
// piece goes on with its thread and whatever it holds (a file, a filter
// graph) until it returns, however long that takes. While a given-up call of
// a key (a file's path, compared without regard to case) still runs, another
// call of that key is refused, and so is every call while `maxGivenUp` of
// them run. The account outlives this object as long as work runs.
class TimeLimitedCalls {
public:
    explicit TimeLimitedCalls(std::size_t maxGivenUp);
    ~TimeLimitedCalls();
    TimeLimitedCalls(const TimeLimitedCalls&) = delete;
    TimeLimitedCalls& operator=(const TimeLimitedCalls&) = delete;

    // As CallWithTimeLimit, or kCallRefused without running work.
    HRESULT Call(const std::wstring& key, std::function<HRESULT()> work, DWORD timeLimit);
    // How many given-up calls still run.
    std::size_t GivenUpCount() const;
    // Waits until no given-up call runs, answering sent messages, at most
    // timeLimit milliseconds; true when none runs.
    bool WaitForGivenUp(DWORD timeLimit) const;

    struct Account;

private:
    std::shared_ptr<Account> account_;
};

#endif

// Runs a piece of work on a worker thread and waits for it only so long: a
// DirectShow source that never finishes parsing a damaged file must not
// freeze the player.
#ifndef ZEPHLO_MEDIA_TIME_LIMITED_CALL_H
#define ZEPHLO_MEDIA_TIME_LIMITED_CALL_H

#include <windows.h>

#include <functional>

// The result CallWithTimeLimit gives for work that is still running.
inline const HRESULT kCallTimedOut = HRESULT_FROM_WIN32(ERROR_TIMEOUT);

// Calls work on a new thread with COM initialised (multithreaded) and waits at
// most timeLimit milliseconds, answering the messages other threads send to
// this one meanwhile (posted messages stay queued). Gives work's result, or
// kCallTimedOut: the work then goes on alone and frees what it captured when
// it returns. When no thread can be started, work runs on this thread.
HRESULT CallWithTimeLimit(std::function<HRESULT()> work, DWORD timeLimit);

#endif

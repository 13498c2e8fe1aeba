// The program as a local COM server of the shell's "open" verb. Explorer
// runs a verb written as a command line once per selected file; a verb that
// names a drop target class instead gets the whole selection in one drop, as
// a data object listing the files (CF_HDROP). COM starts Zephlo.exe with
// "-Embedding" for it; the dropped paths then take the road of several paths
// on one command line.
#ifndef ZEPHLO_APP_DROP_TARGET_H
#define ZEPHLO_APP_DROP_TARGET_H

#include <windows.h>
#include <ole2.h>
#include <wrl/client.h>

#include <memory>
#include <optional>
#include <vector>

#include "base/paths.h"

// {17192C3A-5EAD-45FD-83CC-5DC09D7C6B98}: the installer registers it as a
// local server and names it as the verb's drop target.
inline constexpr CLSID kDropTargetClassId = {
    0x17192c3a, 0x5ead, 0x45fd, {0x83, 0xcc, 0x5d, 0xc0, 0x9d, 0x7c, 0x6b, 0x98}};

// What the class factory and its objects share with their server.
struct DropServerState {
    // The paths of each drop that listed files, in the order of arrival.
    std::vector<PathList> drops;
    // Objects not yet released, and LockServer(TRUE) calls not yet undone.
    int objects = 0;
    int locks = 0;

    bool InUse() const { return objects > 0 || locks > 0; }
};

// The class factory of kDropTargetClassId. Its objects implement IDropTarget:
// DragEnter and DragOver answer DROPEFFECT_COPY when the data lists files and
// DROPEFFECT_NONE otherwise; Drop records the files' paths in `state`, in
// the list's order, leaving out entries too long to be a path (as the
// command line does).
Microsoft::WRL::ComPtr<IClassFactory> MakeDropTargetFactory(std::shared_ptr<DropServerState> state);

// For a start with "-Embedding", on a thread with COM initialised: offers the
// class factory for one activation, dispatches messages until a drop has
// arrived and the caller has let go of the object (or until `dropTimeout`
// passes without a drop), and withdraws it. The first drop's paths, or
// nothing when none came.
std::optional<PathList> ServeOneDrop(DWORD dropTimeout);

#endif

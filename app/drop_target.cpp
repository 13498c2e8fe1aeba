#include "app/drop_target.h"

#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <new>
#include <utility>

using Microsoft::WRL::ComPtr;

namespace {

// How long the caller may keep the object after its drop before the server
// goes on without waiting for the release.
constexpr DWORD kReleaseGrace = 5000;

FORMATETC FileListFormat() {
    return {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
}

bool ListsFiles(IDataObject* data) {
    FORMATETC format = FileListFormat();
    return data != nullptr && data->QueryGetData(&format) == S_OK;
}

// A medium received from a data object, released once.
class ReceivedMedium {
public:
    ReceivedMedium() = default;
    ~ReceivedMedium() {
        if (received_) {
            ReleaseStgMedium(&medium_);
        }
    }
    ReceivedMedium(const ReceivedMedium&) = delete;
    ReceivedMedium& operator=(const ReceivedMedium&) = delete;

    bool Receive(IDataObject* data, FORMATETC format) {
        received_ = SUCCEEDED(data->GetData(&format, &medium_));
        return received_;
    }
    const STGMEDIUM& get() const { return medium_; }

private:
    STGMEDIUM medium_{};
    bool received_ = false;
};

// The block comes from another process: its list must start inside it,
// hold at least one name and end there with an empty name, or reading it
// would run past its end (the platform's reader takes the first name for
// granted and looks past an empty list's end).
bool IsWholeFileList(HGLOBAL block) {
    const SIZE_T size = GlobalSize(block);
    const auto* bytes = static_cast<const unsigned char*>(GlobalLock(block));
    if (bytes == nullptr) {
        return false;
    }
    bool whole = false;
    DROPFILES header;
    if (size >= sizeof header) {
        std::memcpy(&header, bytes, sizeof header);
        const SIZE_T unit = header.fWide ? sizeof(wchar_t) : 1;
        // An empty name ends the list: a zero character right after another
        // one. A zero at the start is an empty list.
        bool afterZero = false;
        for (SIZE_T at = header.pFiles;
             !whole && at >= sizeof header && at < size && size - at >= unit; at += unit) {
            bool zero = std::all_of(bytes + at, bytes + at + unit,
                                    [](unsigned char byte) { return byte == 0; });
            if (zero && at == header.pFiles) {
                break;
            }
            whole = zero && afterZero;
            afterZero = zero;
        }
    }
    GlobalUnlock(block);
    return whole;
}

// The files a data object lists; entries too long to be a path are left out.
PathList ListedPaths(IDataObject* data) {
    ReceivedMedium medium;
    if (data == nullptr || !medium.Receive(data, FileListFormat()) ||
        medium.get().tymed != TYMED_HGLOBAL || medium.get().hGlobal == nullptr ||
        !IsWholeFileList(medium.get().hGlobal)) {
        return {};
    }
    PathList paths = DroppedPaths(static_cast<HDROP>(medium.get().hGlobal));
    paths.erase(std::remove(paths.begin(), paths.end(), std::wstring()), paths.end());
    return paths;
}

// Both classes count their own references; they are made and used on the
// thread of the server's single-threaded apartment. Only their own Release
// deletes them, as their own type: the interfaces' destructors, which are not
// virtual, are never used.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
template <typename Interface, const IID& kInterfaceId, typename Final>
class ComObject : public Interface {
public:
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
        if (object == nullptr) {
            return E_POINTER;
        }
        if (iid == IID_IUnknown || iid == kInterfaceId) {
            *object = static_cast<Interface*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++references_; }
    STDMETHODIMP_(ULONG) Release() override {
        ULONG left = --references_;
        if (left == 0) {
            delete static_cast<Final*>(this);
        }
        return left;
    }

protected:
    ComObject() = default;
    ~ComObject() = default;

private:
    ULONG references_ = 1;
};

class DropTarget final : public ComObject<IDropTarget, IID_IDropTarget, DropTarget> {
public:
    explicit DropTarget(std::shared_ptr<DropServerState> state) : state_(std::move(state)) {
        ++state_->objects;
    }
    DropTarget(const DropTarget&) = delete;
    DropTarget& operator=(const DropTarget&) = delete;

    STDMETHODIMP DragEnter(IDataObject* data, DWORD, POINTL, DWORD* effect) override {
        if (effect == nullptr) {
            return E_INVALIDARG;
        }
        offered_ = ListsFiles(data);
        *effect = offered_ ? DROPEFFECT_COPY : DROPEFFECT_NONE;
        return S_OK;
    }
    STDMETHODIMP DragOver(DWORD, POINTL, DWORD* effect) override {
        if (effect == nullptr) {
            return E_INVALIDARG;
        }
        *effect = offered_ ? DROPEFFECT_COPY : DROPEFFECT_NONE;
        return S_OK;
    }
    STDMETHODIMP DragLeave() override {
        offered_ = false;
        return S_OK;
    }
    // The paths are only recorded here: the caller waits for the return,
    // and the server opens them once it has it.
    STDMETHODIMP Drop(IDataObject* data, DWORD, POINTL, DWORD* effect) override {
        if (effect == nullptr) {
            return E_INVALIDARG;
        }
        offered_ = false;
        PathList paths = ListedPaths(data);
        if (paths.empty()) {
            *effect = DROPEFFECT_NONE;
            return S_OK;
        }
        state_->drops.push_back(std::move(paths));
        *effect = DROPEFFECT_COPY;
        return S_OK;
    }

private:
    ~DropTarget() { --state_->objects; }

    friend class ComObject<IDropTarget, IID_IDropTarget, DropTarget>;

    std::shared_ptr<DropServerState> state_;
    bool offered_ = false;
};

class DropTargetFactory final
    : public ComObject<IClassFactory, IID_IClassFactory, DropTargetFactory> {
public:
    explicit DropTargetFactory(std::shared_ptr<DropServerState> state) : state_(std::move(state)) {}
    DropTargetFactory(const DropTargetFactory&) = delete;
    DropTargetFactory& operator=(const DropTargetFactory&) = delete;

    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
        if (object == nullptr) {
            return E_POINTER;
        }
        *object = nullptr;
        if (outer != nullptr) {
            return CLASS_E_NOAGGREGATION;
        }
        auto* target = new (std::nothrow) DropTarget(state_);
        if (target == nullptr) {
            return E_OUTOFMEMORY;
        }
        HRESULT result = target->QueryInterface(iid, object);
        target->Release();
        return result;
    }
    STDMETHODIMP LockServer(BOOL lock) override {
        if (lock) {
            ++state_->locks;
        } else if (state_->locks > 0) {
            --state_->locks;
        }
        return S_OK;
    }

private:
    ~DropTargetFactory() = default;
    friend class ComObject<IClassFactory, IID_IClassFactory, DropTargetFactory>;

    std::shared_ptr<DropServerState> state_;
};
#pragma GCC diagnostic pop

// Dispatches the thread's messages (COM's calls into the apartment among
// them) until `done` holds or `timeout` milliseconds from `start` have passed.
template <typename Condition>
void DispatchUntil(Condition done, DWORD start, DWORD timeout) {
    while (!done()) {
        DWORD elapsed = GetTickCount() - start;
        if (elapsed >= timeout) {
            return;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, timeout - elapsed, QS_ALLINPUT);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
}

}  // namespace

ComPtr<IClassFactory> MakeDropTargetFactory(std::shared_ptr<DropServerState> state) {
    ComPtr<IClassFactory> factory;
    factory.Attach(new (std::nothrow) DropTargetFactory(std::move(state)));
    return factory;
}

std::optional<PathList> ServeOneDrop(DWORD dropTimeout) {
    auto state = std::make_shared<DropServerState>();
    ComPtr<IClassFactory> factory = MakeDropTargetFactory(state);
    DWORD registration = 0;
    if (!factory ||
        FAILED(CoRegisterClassObject(kDropTargetClassId, factory.Get(), CLSCTX_LOCAL_SERVER,
                                     REGCLS_SINGLEUSE, &registration))) {
        return std::nullopt;
    }
    DispatchUntil([&] { return !state->drops.empty(); }, GetTickCount(), dropTimeout);
    if (!state->drops.empty()) {
        DispatchUntil([&] { return !state->InUse(); }, GetTickCount(), kReleaseGrace);
    }
    CoRevokeClassObject(registration);
    if (state->drops.empty()) {
        return std::nullopt;
    }
    return std::move(state->drops.front());
}

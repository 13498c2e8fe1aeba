#include "support/file_list_data.h"

#include <shlobj.h>

#include <cstring>
#include <new>
#include <optional>
#include <utility>

using Microsoft::WRL::ComPtr;

namespace {

// Global memory owned until handed to a receiver.
class GlobalMemory {
public:
    explicit GlobalMemory(std::size_t size) : memory_(GlobalAlloc(GMEM_MOVEABLE, size)) {}
    ~GlobalMemory() {
        if (memory_ != nullptr) {
            GlobalFree(memory_);
        }
    }
    GlobalMemory(const GlobalMemory&) = delete;
    GlobalMemory& operator=(const GlobalMemory&) = delete;

    bool Fill(const std::string& bytes) {
        void* at = memory_ != nullptr ? GlobalLock(memory_) : nullptr;
        if (at == nullptr) {
            return false;
        }
        std::memcpy(at, bytes.data(), bytes.size());
        GlobalUnlock(memory_);
        return true;
    }
    HGLOBAL release() { return std::exchange(memory_, nullptr); }

private:
    HGLOBAL memory_;
};

std::string Narrow(const std::wstring& text) {
    int size = WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), nullptr,
                                   0, nullptr, nullptr);
    std::string result(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), result.data(), size,
                        nullptr, nullptr);
    return result;
}

// DROPFILES, then each path and its terminator, then one more terminator.
std::string FileListBytes(const std::vector<std::wstring>& paths, bool wide) {
    DROPFILES header = {};
    header.pFiles = sizeof header;
    header.fWide = wide ? TRUE : FALSE;
    std::string bytes(reinterpret_cast<const char*>(&header), sizeof header);
    for (const std::wstring& path : paths) {
        if (wide) {
            bytes.append(reinterpret_cast<const char*>(path.c_str()),
                         (path.size() + 1) * sizeof(wchar_t));
        } else {
            bytes += Narrow(path);
            bytes += '\0';
        }
    }
    bytes.append(wide ? sizeof(wchar_t) : 1, '\0');
    return bytes;
}

// Deleted only by its own Release, as its own type.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
class FileListData final : public IDataObject {
public:
    explicit FileListData(std::optional<std::string> fileList) : fileList_(std::move(fileList)) {}
    FileListData(const FileListData&) = delete;
    FileListData& operator=(const FileListData&) = delete;

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
        if (object == nullptr) {
            return E_POINTER;
        }
        if (iid == IID_IUnknown || iid == IID_IDataObject) {
            *object = static_cast<IDataObject*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return InterlockedIncrement(&references_); }
    STDMETHODIMP_(ULONG) Release() override {
        LONG left = InterlockedDecrement(&references_);
        if (left == 0) {
            delete this;
        }
        return static_cast<ULONG>(left);
    }

    STDMETHODIMP GetData(FORMATETC* format, STGMEDIUM* medium) override {
        if (format == nullptr || medium == nullptr) {
            return E_INVALIDARG;
        }
        HRESULT offered = QueryGetData(format);
        if (offered != S_OK) {
            return offered;
        }
        GlobalMemory memory(fileList_->size());
        if (!memory.Fill(*fileList_)) {
            return E_OUTOFMEMORY;
        }
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = memory.release();
        medium->pUnkForRelease = nullptr;
        return S_OK;
    }
    STDMETHODIMP GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    STDMETHODIMP QueryGetData(FORMATETC* format) override {
        if (format == nullptr) {
            return E_INVALIDARG;
        }
        if (!fileList_ || format->cfFormat != CF_HDROP || format->dwAspect != DVASPECT_CONTENT) {
            return DV_E_FORMATETC;
        }
        return (format->tymed & TYMED_HGLOBAL) != 0 ? S_OK : DV_E_TYMED;
    }
    STDMETHODIMP GetCanonicalFormatEtc(FORMATETC*, FORMATETC* result) override {
        if (result != nullptr) {
            result->ptd = nullptr;
        }
        return E_NOTIMPL;
    }
    STDMETHODIMP SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP EnumFormatEtc(DWORD direction, IEnumFORMATETC** formats) override {
        if (formats == nullptr) {
            return E_INVALIDARG;
        }
        *formats = nullptr;
        if (direction != DATADIR_GET) {
            return E_NOTIMPL;
        }
        FORMATETC fileList = {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
        return SHCreateStdEnumFmtEtc(fileList_ ? 1 : 0, &fileList, formats);
    }
    STDMETHODIMP DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    STDMETHODIMP DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    STDMETHODIMP EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

private:
    ~FileListData() = default;

    std::optional<std::string> fileList_;
    LONG references_ = 1;
};
#pragma GCC diagnostic pop

ComPtr<IDataObject> Wrap(FileListData* data) {
    ComPtr<IDataObject> result;
    result.Attach(data);
    return result;
}

}  // namespace

ComPtr<IDataObject> MakeFileListData(const std::vector<std::wstring>& paths, bool wide) {
    return Wrap(new FileListData(FileListBytes(paths, wide)));
}

ComPtr<IDataObject> MakeRawFileListData(const std::string& block) {
    return Wrap(new FileListData(block));
}

ComPtr<IDataObject> MakeDataWithoutFiles() {
    return Wrap(new FileListData(std::nullopt));
}

#include "chm_storage.h"

namespace {

// The InfoTech storage system's factory. Its header is not part of MinGW; the
// methods are declared in their order up to the one used.
constexpr CLSID kClsidItStorage = {
    0x5d02926a, 0x212e, 0x11d0, {0x9d, 0xf9, 0x00, 0xa0, 0xc9, 0x22, 0xe6, 0xec}};
constexpr IID kIidItStorage = {
    0x88cc31de, 0x27ab, 0x11d0, {0x9d, 0xf9, 0x00, 0xa0, 0xc9, 0x22, 0xe6, 0xec}};

}  // namespace

// Declared outside the unnamed namespace: the implementation lives in the
// system library, and the compiler must not take this program's classes for
// all there are. A COM interface is released, never deleted, so its
// destructor need not be virtual.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
struct IITStorage : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE StgCreateDocfile(const WCHAR* name, DWORD mode,
                                                       DWORD reserved, IStorage** storage) = 0;
    virtual HRESULT STDMETHODCALLTYPE StgCreateDocfileOnILockBytes(ILockBytes* bytes, DWORD mode,
                                                                   DWORD reserved,
                                                                   IStorage** storage) = 0;
    virtual HRESULT STDMETHODCALLTYPE StgIsStorageFile(const WCHAR* name) = 0;
    virtual HRESULT STDMETHODCALLTYPE StgIsStorageILockBytes(ILockBytes* bytes) = 0;
    virtual HRESULT STDMETHODCALLTYPE StgOpenStorage(const WCHAR* name, IStorage* priority,
                                                     DWORD mode, SNB exclude, DWORD reserved,
                                                     IStorage** storage) = 0;

protected:
    ~IITStorage() = default;
};
#pragma GCC diagnostic pop

bool ChmStorage::Open(const std::wstring& path) {
    Microsoft::WRL::ComPtr<IITStorage> system;
    if (FAILED(CoCreateInstance(kClsidItStorage, nullptr, CLSCTX_INPROC_SERVER, kIidItStorage,
                                reinterpret_cast<void**>(system.GetAddressOf())))) {
        return false;
    }
    return SUCCEEDED(system->StgOpenStorage(path.c_str(), nullptr,
                                            STGM_READ | STGM_SHARE_DENY_WRITE, nullptr, 0,
                                            root_.ReleaseAndGetAddressOf()));
}

bool ChmStorage::Read(const std::wstring& name, std::string& bytes) const {
    bytes.clear();
    Microsoft::WRL::ComPtr<IStream> stream;
    if (!root_ || FAILED(root_->OpenStream(name.c_str(), nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE,
                                           0, &stream))) {
        return false;
    }
    char buffer[4096];
    ULONG count = 0;
    while (SUCCEEDED(stream->Read(buffer, sizeof buffer, &count)) && count > 0) {
        bytes.append(buffer, count);
    }
    return true;
}

bool DecodeCodePage932(const std::string& bytes, std::wstring& text) {
    text.clear();
    if (bytes.empty()) {
        return true;
    }
    int size = static_cast<int>(bytes.size());
    int length = MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, bytes.data(), size, nullptr, 0);
    if (length <= 0) {
        return false;
    }
    text.resize(static_cast<std::size_t>(length));
    return MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, bytes.data(), size, &text[0], length) ==
           length;
}

#include "settings/theme_plugins.h"

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cwchar>

#include "base/paths.h"

namespace {

// Images per set, in the order of the sets.
constexpr int kImageCounts[kThemeImageSetCount] = {10, 9, 9};
// Largest width and height of one image: a toolbar of larger buttons is no
// toolbar, and a figure from a faulty plug-in must not size the lists.
constexpr int kMaxImageSize = 256;

constexpr std::size_t kMaxNameLength = 63;
constexpr std::size_t kMaxNoticeLength = 127;
constexpr std::size_t kMaxDescriptionLength = 127;

// At most `limit` characters of a plug-in's string; empty for none. Reads no
// further than the limit, so a string without its terminator does no harm.
std::wstring CopyLimited(const wchar_t* text, std::size_t limit) {
    if (text == nullptr) {
        return {};
    }
    std::size_t length = 0;
    while (length < limit && text[length] != L'\0') {
        ++length;
    }
    return std::wstring(text, length);
}

ThemeDetails CopyThemeInfo(const ThemeInfo& info) {
    return {info.flags, CopyLimited(info.name, kMaxNameLength),
            CopyLimited(info.notice, kMaxNoticeLength),
            CopyLimited(info.description, kMaxDescriptionLength)};
}

// A library loaded with the system's critical-error boxes held back, so that
// a file that is no library (or a damaged one) fails without a word.
HMODULE LoadLibraryQuietly(const std::wstring& path) {
    DWORD previousMode = 0;
    BOOL modeSet =
        SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &previousMode);
    HMODULE module = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (modeSet) {
        SetThreadErrorMode(previousMode, nullptr);
    }
    return module;
}

// One strip of a set as an image list of `count` images; null when the
// strip is missing or does not hold exactly that many images of a usable
// height.
UniqueImageList LoadStrip(HMODULE module, int id, const ToolbarInfo& info, int count) {
    UINT flags = LR_CREATEDIBSECTION;
    if ((info.flags & kToolbarMap3DColours) != 0) {
        flags |= LR_LOADMAP3DCOLORS;
    }
    UniqueImageList list(ImageList_LoadImageW(module, MAKEINTRESOURCEW(id), info.width, 1,
                                              info.mask, IMAGE_BITMAP, flags));
    int width = 0;
    int height = 0;
    if (!ImageListSize(list.get(), width, height) || height < 1 || height > kMaxImageSize ||
        ImageList_GetImageCount(list.get()) != count) {
        return UniqueImageList();
    }
    return list;
}

// A hot or disabled strip is kept only when its images match the normal ones.
UniqueImageList LoadVariant(HMODULE module, int set, ThemeImageVariant variant,
                            const ToolbarInfo& info, HIMAGELIST normal) {
    UniqueImageList list = LoadStrip(module, ThemeBitmapId(set, variant), info, kImageCounts[set]);
    int width = 0;
    int height = 0;
    int normalWidth = 0;
    int normalHeight = 0;
    if (!ImageListSize(list.get(), width, height) ||
        !ImageListSize(normal, normalWidth, normalHeight) || width != normalWidth ||
        height != normalHeight) {
        return UniqueImageList();
    }
    return list;
}

bool LessByName(const std::wstring& a, const std::wstring& b) {
    return lstrcmpiW(a.c_str(), b.c_str()) < 0;
}

}  // namespace

bool IsPlainFileName(const std::wstring& name) {
    if (name.empty() || name.size() >= kMaxPath || name.find(L"..") != std::wstring::npos ||
        name.back() == L'.' || name.back() == L' ') {
        return false;
    }
    return std::none_of(name.begin(), name.end(), [](wchar_t c) {
        return c < 0x20 || std::wcschr(L"\\/:*?\"<>|", c) != nullptr;
    });
}

bool LoadThemePlugin(PluginRecord& record, const std::wstring& path) {
    if (path.empty() || path.size() >= kMaxPath) {
        return false;
    }
    UniqueModule module(LoadLibraryQuietly(path));
    if (!module) {
        return false;
    }
    auto getVersion = GetProcedure<ThemeGetVersionFn>(module.get(), kThemeGetVersionExport);
    auto getInfo = GetProcedure<ThemeGetInfoFn>(module.get(), kThemeGetInfoExport);
    if (getVersion == nullptr || getInfo == nullptr || getVersion() != kThemeInterfaceVersion) {
        return false;
    }
    ThemeInfo info{};
    getInfo(&info);
    record.module = std::move(module);
    record.path = path;
    record.info = info;
    record.details = CopyThemeInfo(info);
    return true;
}

bool LoadToolbarImageSet(const PluginRecord& record, int set, ToolbarImageSet& out) {
    out = ToolbarImageSet();
    HMODULE module = record.module.get();
    if (module == nullptr || set < 0 || set >= kThemeImageSetCount) {
        return false;
    }
    auto getToolbarInfo = GetProcedure<ThemeGetToolbarInfoFn>(module, kThemeGetToolbarInfoExport);
    ToolbarInfo info{};
    info.index = set;
    if (getToolbarInfo == nullptr || getToolbarInfo(&info) == 0 || info.width < 1 ||
        info.width > kMaxImageSize) {
        return false;
    }
    out.normal = LoadStrip(module, ThemeBitmapId(set, kThemeNormalImages), info, kImageCounts[set]);
    if (!out.normal) {
        return false;
    }
    if ((info.flags & kToolbarHasHotImages) != 0) {
        out.hot = LoadVariant(module, set, kThemeHotImages, info, out.normal.get());
    }
    if ((info.flags & kToolbarHasDisabledImages) != 0) {
        out.disabled = LoadVariant(module, set, kThemeDisabledImages, info, out.normal.get());
    }
    return true;
}

ThemePictures LoadThemePictures(const PluginRecord& record) {
    ThemePictures pictures;
    const unsigned flags = record.info.flags;
    for (int set = 0; set < kThemeImageSetCount; ++set) {
        if ((flags & ThemeHasImageSet(set)) != 0) {
            LoadToolbarImageSet(record, set, pictures.sets[set]);
        }
    }
    if ((flags & kThemeHasIdlePicture) != 0 && record.module) {
        pictures.idlePicture.reset(
            LoadBitmapW(record.module.get(), MAKEINTRESOURCEW(IDB_THEME_IDLE_PICTURE)));
    }
    return pictures;
}

bool EnumerateThemePlugins(const std::wstring& folder, PluginList& list) {
    list.clear();
    std::wstring pattern = PathJoin(folder, L"*.zpres");
    if (pattern.size() >= kMaxPath) {
        return false;
    }
    WIN32_FIND_DATAW data;
    UniqueFind find(FindFirstFileW(pattern.c_str(), &data));
    if (!find) {
        return GetLastError() == ERROR_FILE_NOT_FOUND;
    }
    PathList paths;
    do {
        // The system also matches short names: "x.zpresx" may answer "*.zpres".
        std::wstring path = PathJoin(folder, data.cFileName);
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 && path.size() < kMaxPath &&
            HasExtension(path, L".zpres")) {
            paths.push_back(std::move(path));
        }
    } while (FindNextFileW(find.get(), &data));
    std::sort(paths.begin(), paths.end(), LessByName);
    for (const std::wstring& path : paths) {
        PluginRecord record;
        if (LoadThemePlugin(record, path)) {
            list.push_back(std::move(record));
        }
    }
    return true;
}

ThemePictures LoadStartupTheme(const std::wstring& themesFolder, const std::wstring& pluginName) {
    PluginRecord record;
    if (!IsPlainFileName(pluginName) ||
        !LoadThemePlugin(record, PathJoin(themesFolder, pluginName))) {
        return {};
    }
    return LoadThemePictures(record);
}

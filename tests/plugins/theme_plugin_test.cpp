#include "plugins/theme_plugin_interface.h"

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <climits>
#include <cwchar>
#include <ostream>
#include <string>
#include <vector>

#include "base/handles.h"
#include "support/test_support.h"

namespace {

// Per set: the bitmap id of its strip and the strip's number of images.
constexpr int kStripIds[kThemeImageSetCount] = {2, 5, 8};
constexpr int kImageCounts[kThemeImageSetCount] = {10, 9, 9};

struct Library {
    const char* name;  // also the file's
    const wchar_t* description;
    unsigned toolbarFlags;
    int imageSize;  // width and height of one image
    WORD bitsPerPixel;
    SIZE strips[kThemeImageSetCount];
};

const Library kLibraries[] = {
    {"Classic", L"Classical icons", kToolbarMap3DColours, 16, 4, {{160, 15}, {144, 16}, {144, 15}}},
    {"Small", L"Small icons", 0, 8, 4, {{80, 8}, {72, 8}, {72, 8}}},
    {"Glossy", L"Glossy like icons", 0, 16, 8, {{160, 16}, {144, 16}, {144, 16}}},
};

void PrintTo(const Library& library, std::ostream* out) {
    *out << library.name;
}

struct Exports {
    ThemeGetVersionFn getVersion;
    ThemeGetInfoFn getInfo;
    ThemeGetToolbarInfoFn getToolbarInfo;
};

UniqueModule LoadPlugin(const std::wstring& folder, const char* file) {
    std::wstring path = BuildFolder() + folder + FromUtf8(file) + L".zpres";
    return UniqueModule(LoadLibraryW(path.c_str()));
}

Exports FindExports(HMODULE module) {
    return {GetProcedure<ThemeGetVersionFn>(module, kThemeGetVersionExport),
            GetProcedure<ThemeGetInfoFn>(module, kThemeGetInfoExport),
            GetProcedure<ThemeGetToolbarInfoFn>(module, kThemeGetToolbarInfoExport)};
}

const BITMAPINFOHEADER* FindBitmap(HMODULE module, int id) {
    HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(id), RT_BITMAP);
    if (resource == nullptr) {
        return nullptr;
    }
    return static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(module, resource)));
}

// The colour of pixel (x, y), counted from the top, of a bottom-up palette
// bitmap of 4 or 8 bits per pixel.
COLORREF PixelColour(const BITMAPINFOHEADER& header, int x, int y) {
    DWORD colours = header.biClrUsed != 0 ? header.biClrUsed : 1u << header.biBitCount;
    const auto* palette =
        reinterpret_cast<const RGBQUAD*>(reinterpret_cast<const BYTE*>(&header) + header.biSize);
    const auto* bits = reinterpret_cast<const BYTE*>(palette + colours);
    int stride = (header.biWidth * header.biBitCount + 31) / 32 * 4;
    const BYTE* row = bits + (header.biHeight - 1 - y) * stride;
    int index = header.biBitCount == 8 ? row[x] : (row[x / 2] >> (x % 2 == 0 ? 4 : 0)) & 15;
    return RGB(palette[index].rgbRed, palette[index].rgbGreen, palette[index].rgbBlue);
}

struct MemoryDcTraits {
    using Handle = HDC;
    static HDC Invalid() { return nullptr; }
    static void Close(HDC dc) { DeleteDC(dc); }
};

// Image `index` of the list drawn over `background`, read back top row first.
std::vector<COLORREF> DrawImage(HIMAGELIST images, int index, int width, int height,
                                COLORREF background) {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    UniqueBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    UniqueHandle<MemoryDcTraits> dc(CreateCompatibleDC(nullptr));
    UniqueBrush brush(CreateSolidBrush(background));
    std::vector<COLORREF> pixels;
    if (!bitmap || !dc || !brush) {
        return pixels;
    }
    ScopedSelectObject select(dc.get(), bitmap.get());
    RECT all{0, 0, width, height};
    FillRect(dc.get(), &all, brush.get());
    ImageList_Draw(images, index, dc.get(), 0, 0, ILD_NORMAL);
    GdiFlush();
    const auto* quads = static_cast<const RGBQUAD*>(bits);
    for (int i = 0; i < width * height; ++i) {
        pixels.push_back(RGB(quads[i].rgbRed, quads[i].rgbGreen, quads[i].rgbBlue));
    }
    return pixels;
}

class ThemePluginTest : public testing::TestWithParam<Library> {
protected:
    void SetUp() override {
        module_ = LoadPlugin(L"\\Themes\\", GetParam().name);
        ASSERT_TRUE(module_);
        exports_ = FindExports(module_.get());
        ASSERT_NE(exports_.getVersion, nullptr);
        ASSERT_NE(exports_.getInfo, nullptr);
        ASSERT_NE(exports_.getToolbarInfo, nullptr);
    }

    UniqueModule module_;
    Exports exports_{};
};

TEST_P(ThemePluginTest, AnswersVersionAndTheSameStaticStrings) {
    const Library& library = GetParam();
    EXPECT_EQ(exports_.getVersion(), 0);

    ThemeInfo first{};
    ThemeInfo second{};
    EXPECT_EQ(exports_.getInfo(&first), &first);
    EXPECT_EQ(exports_.getInfo(&second), &second);
    EXPECT_EQ(first.flags, 14u);
    EXPECT_EQ(first.name, FromUtf8(library.name));
    EXPECT_STREQ(first.description, library.description);
    ASSERT_NE(first.notice, nullptr);
    EXPECT_NE(std::wcsstr(first.notice, L"Zephlo"), nullptr);
    EXPECT_LE(std::wcslen(first.notice), 127u);
    EXPECT_EQ(first.name, second.name);
    EXPECT_EQ(first.notice, second.notice);
    EXPECT_EQ(first.description, second.description);
}

TEST_P(ThemePluginTest, DescribesSetsZeroToTwoAndLeavesOtherIndexesAlone) {
    const Library& library = GetParam();
    for (int set = 0; set < kThemeImageSetCount; ++set) {
        ToolbarInfo info{set, 0xDEAD, -1, -1, 0};
        EXPECT_EQ(exports_.getToolbarInfo(&info), 1) << set;
        EXPECT_EQ(info.index, set);
        EXPECT_EQ(info.flags, library.toolbarFlags) << set;
        EXPECT_EQ(info.width, library.imageSize) << set;
        EXPECT_EQ(info.height, library.imageSize) << set;
        EXPECT_EQ(info.mask, RGB(255, 0, 255)) << set;
    }
    for (int index : {3, -1, INT_MIN}) {
        ToolbarInfo info{index, 0x5A5A, 77, 88, 0x123456};
        EXPECT_EQ(exports_.getToolbarInfo(&info), 0) << index;
        EXPECT_EQ(info.index, index);
        EXPECT_EQ(info.flags, 0x5A5Au);
        EXPECT_EQ(info.width, 77);
        EXPECT_EQ(info.height, 88);
        EXPECT_EQ(info.mask, 0x123456u);
    }
}

// Every strip is a palette bitmap of its size and depth holding exactly its
// number of images at the library's width, none of them empty, on the mask
// colour; the library has no bitmap its flags do not announce. Loaded into an
// image list as the program loads it, each image draws its own colours with
// the mask colour left out (which depends on the strip's palette layout).
TEST_P(ThemePluginTest, StripsHoldTheirImages) {
    const Library& library = GetParam();
    HMODULE module = module_.get();
    EXPECT_EQ(FindBitmap(module, IDB_THEME_IDLE_PICTURE), nullptr);
    for (int set = 0; set < kThemeImageSetCount; ++set) {
        const int id = kStripIds[set];
        const int count = kImageCounts[set];
        SCOPED_TRACE(id);
        ToolbarInfo info{set, 0, 0, 0, 0};
        ASSERT_EQ(exports_.getToolbarInfo(&info), 1);
        EXPECT_EQ(FindBitmap(module, id + kThemeHotImages) != nullptr,
                  (info.flags & kToolbarHasHotImages) != 0);
        EXPECT_EQ(FindBitmap(module, id + kThemeDisabledImages) != nullptr,
                  (info.flags & kToolbarHasDisabledImages) != 0);

        const BITMAPINFOHEADER* header = FindBitmap(module, id);
        ASSERT_NE(header, nullptr);
        EXPECT_EQ(header->biWidth, library.strips[set].cx);
        EXPECT_EQ(header->biHeight, library.strips[set].cy);
        EXPECT_EQ(header->biBitCount, library.bitsPerPixel);
        EXPECT_EQ(header->biCompression, static_cast<DWORD>(BI_RGB));
        ASSERT_EQ(header->biWidth, count * info.width);

        // Without the system's 3D colours, so that the strip's own colours come back.
        UniqueImageList images(ImageList_LoadImageW(module, MAKEINTRESOURCEW(id), info.width, 1,
                                                    info.mask, IMAGE_BITMAP, LR_CREATEDIBSECTION));
        ASSERT_TRUE(images);
        EXPECT_EQ(ImageList_GetImageCount(images.get()), count);
        int width = 0;
        int height = 0;
        ImageList_GetIconSize(images.get(), &width, &height);
        ASSERT_EQ(width, info.width);
        ASSERT_EQ(height, library.strips[set].cy);

        const COLORREF background = RGB(1, 2, 3);
        int masked = 0;
        for (int image = 0; image < count; ++image) {
            std::vector<COLORREF> drawn = DrawImage(images.get(), image, width, height, background);
            ASSERT_EQ(drawn.size(), static_cast<std::size_t>(width * height));
            int shown = 0;
            int wrong = 0;
            for (int y = 0; y < height; ++y) {
                for (int x = 0; x < width; ++x) {
                    COLORREF colour = PixelColour(*header, image * width + x, y);
                    bool mask = colour == info.mask;
                    masked += mask ? 1 : 0;
                    shown += mask ? 0 : 1;
                    wrong += drawn[y * width + x] != (mask ? background : colour) ? 1 : 0;
                }
            }
            EXPECT_GT(shown, 0) << image;
            EXPECT_EQ(wrong, 0) << image;
        }
        EXPECT_GT(masked, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Themes, ThemePluginTest, testing::ValuesIn(kLibraries),
                         [](const testing::TestParamInfo<Library>& param) {
                             return std::string(param.param.name);
                         });

// The plug-ins the host's tests load: each differs from a good one in one way.
TEST(TestThemePlugins, DifferInTheirOneWay) {
    struct Case {
        const char* file;
        int version;
        bool toolbarInfo;
        int width;
        unsigned flags;
        bool playlistStrip;
    };
    const Case cases[] = {
        {"Version1", 1, true, 16, 14, true},       {"NoToolbarInfo", 0, false, 16, 14, true},
        {"ZeroWidth", 0, true, 0, 14, true},       {"MissingBitmap", 0, true, 16, 14, false},
        {"MainToolbarOnly", 0, true, 16, 2, true}, {"WrongCount", 0, true, 32, 14, true},
        {"IdlePicture", 0, true, 16, 15, true},    {"HotAndDisabled", 0, true, 16, 14, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        UniqueModule module = LoadPlugin(L"\\tests\\plugins\\", c.file);
        ASSERT_TRUE(module);
        Exports exports = FindExports(module.get());
        ASSERT_NE(exports.getVersion, nullptr);
        ASSERT_NE(exports.getInfo, nullptr);
        EXPECT_EQ(exports.getVersion(), c.version);
        ThemeInfo info{};
        exports.getInfo(&info);
        EXPECT_EQ(info.flags, c.flags);
        EXPECT_EQ(exports.getToolbarInfo != nullptr, c.toolbarInfo);
        if (exports.getToolbarInfo != nullptr) {
            ToolbarInfo toolbar{2, 0, -1, 0, 0};
            EXPECT_EQ(exports.getToolbarInfo(&toolbar), 1);
            EXPECT_EQ(toolbar.width, c.width);
        }
        EXPECT_NE(FindBitmap(module.get(), IDB_THEME_MAIN_TOOLBAR), nullptr);
        EXPECT_EQ(FindBitmap(module.get(), IDB_THEME_PLAYLIST_TOOLBAR) != nullptr, c.playlistStrip);
        EXPECT_EQ(FindBitmap(module.get(), IDB_THEME_IDLE_PICTURE) != nullptr,
                  (c.flags & kThemeHasIdlePicture) != 0);
    }
}

}  // namespace

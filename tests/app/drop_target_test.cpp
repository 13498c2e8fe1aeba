// The shell verb's drop target, in this process through its class factory:
// what each kind of data makes of a drop, the factory's COM rules and the
// counts the server waits on; and the server's one-drop wait, reached across
// apartments as COM reaches it from another process.
#include "app/drop_target.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <thread>

#include "support/file_list_data.h"
#include "support/test_support.h"

using Microsoft::WRL::ComPtr;

namespace {

ComPtr<IDropTarget> MakeTarget(IClassFactory* factory) {
    ComPtr<IDropTarget> target;
    EXPECT_EQ(factory->CreateInstance(nullptr, IID_PPV_ARGS(&target)), S_OK);
    return target;
}

const std::wstring kTooLong = L"C:\\" + std::wstring(300, L'x') + L".wav";

// A DROPFILES header naming where the names start, then `names` as given;
// cut to `size` bytes when that is given.
std::string Block(DWORD namesAt, const std::wstring& names, std::size_t size = 0) {
    DROPFILES header = {};
    header.pFiles = namesAt;
    header.fWide = TRUE;
    std::string bytes(reinterpret_cast<const char*>(&header), sizeof header);
    bytes.append(reinterpret_cast<const char*>(names.data()), names.size() * sizeof(wchar_t));
    if (size != 0) {
        bytes.resize(size);
    }
    return bytes;
}

constexpr DWORD kNamesAt = sizeof(DROPFILES);

enum class Data { kWideList, kAnsiList, kBlock, kNoList };

struct DropCase {
    const char* name;
    Data data;
    PathList listed;
    DWORD effect;      // DragEnter, DragOver and Drop
    PathList dropped;  // what the server receives; none when empty
    std::string block = {};
};

ComPtr<IDataObject> MakeData(const DropCase& c) {
    switch (c.data) {
        case Data::kWideList:
        case Data::kAnsiList:
            return MakeFileListData(c.listed, c.data == Data::kWideList);
        case Data::kBlock:
            return MakeRawFileListData(c.block);
        case Data::kNoList:
            break;
    }
    return MakeDataWithoutFiles();
}

class DropTargetDrop : public testing::TestWithParam<DropCase> {};

TEST_P(DropTargetDrop, AnswersAndRecordsTheListedFilesInOrder) {
    const DropCase& c = GetParam();
    ComApartment com;
    auto state = std::make_shared<DropServerState>();
    ComPtr<IClassFactory> factory = MakeDropTargetFactory(state);
    ASSERT_TRUE(factory);
    ComPtr<IDropTarget> target = MakeTarget(factory.Get());
    ASSERT_TRUE(target);
    ComPtr<IDataObject> data = MakeData(c);

    DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
    EXPECT_EQ(target->DragEnter(data.Get(), MK_LBUTTON, {10, 10}, &effect), S_OK);
    EXPECT_EQ(effect, c.effect);
    effect = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
    EXPECT_EQ(target->DragOver(MK_LBUTTON, {12, 12}, &effect), S_OK);
    EXPECT_EQ(effect, c.effect);
    EXPECT_TRUE(state->drops.empty());

    effect = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
    EXPECT_EQ(target->Drop(data.Get(), 0, {12, 12}, &effect), S_OK);
    if (c.dropped.empty()) {
        EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
        EXPECT_TRUE(state->drops.empty());
    } else {
        EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY));
        ASSERT_EQ(state->drops.size(), 1u);
        EXPECT_EQ(state->drops[0], c.dropped);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Data, DropTargetDrop,
    testing::Values(
        DropCase{"SeveralFilesWithJapaneseNames",
                 Data::kWideList,
                 {L"C:\\音楽\\二曲目.mp3", L"C:\\音楽\\a.wav", L"D:\\ビデオ\\テスト 1.avi"},
                 DROPEFFECT_COPY,
                 {L"C:\\音楽\\二曲目.mp3", L"C:\\音楽\\a.wav", L"D:\\ビデオ\\テスト 1.avi"}},
        // Older sources list the files in the ANSI code page.
        DropCase{"AnsiList",
                 Data::kAnsiList,
                 {L"C:\\音楽\\曲.mp3", L"C:\\b.wav"},
                 DROPEFFECT_COPY,
                 {L"C:\\音楽\\曲.mp3", L"C:\\b.wav"}},
        DropCase{"OneFile", Data::kWideList, {L"C:\\a.wav"}, DROPEFFECT_COPY, {L"C:\\a.wav"}},
        // As on the command line, an entry too long for a path is left out.
        DropCase{"EntryTooLongForAPath",
                 Data::kWideList,
                 {L"C:\\a.wav", kTooLong, L"C:\\b.wav"},
                 DROPEFFECT_COPY,
                 {L"C:\\a.wav", L"C:\\b.wav"}},
        DropCase{"EmptyList", Data::kWideList, {}, DROPEFFECT_COPY, {}},
        DropCase{"BlockAsListed",
                 Data::kBlock,
                 {},
                 DROPEFFECT_COPY,
                 {L"C:\\a.wav", L"C:\\b.wav"},
                 Block(kNamesAt, std::wstring(L"C:\\a.wav\0C:\\b.wav\0\0", 20))},
        // Blocks from another process that would make a reader run past
        // their end are refused whole.
        DropCase{"ListWithoutItsEnd",
                 Data::kBlock,
                 {},
                 DROPEFFECT_COPY,
                 {},
                 Block(kNamesAt, std::wstring(L"C:\\a.wav\0C:\\b.wav", 17))},
        DropCase{"NamesBeyondTheBlock",
                 Data::kBlock,
                 {},
                 DROPEFFECT_COPY,
                 {},
                 Block(0x7FFFFFF0, std::wstring(L"C:\\a.wav\0\0", 10))},
        DropCase{"NamesInsideTheHeader",
                 Data::kBlock,
                 {},
                 DROPEFFECT_COPY,
                 {},
                 Block(4, std::wstring(L"C:\\a.wav\0\0", 10))},
        DropCase{"BlockShorterThanItsHeader",
                 Data::kBlock,
                 {},
                 DROPEFFECT_COPY,
                 {},
                 Block(kNamesAt, L"", 8)},
        DropCase{"EmptyListAtTheBlocksEnd",
                 Data::kBlock,
                 {},
                 DROPEFFECT_COPY,
                 {},
                 Block(kNamesAt, std::wstring(L"\0", 1))},
        DropCase{"NoFileList", Data::kNoList, {}, DROPEFFECT_NONE, {}}),
    [](const testing::TestParamInfo<DropCase>& row) { return row.param.name; });

TEST(DropTarget, RecordsEachDropAndForgetsTheOfferOnLeave) {
    ComApartment com;
    auto state = std::make_shared<DropServerState>();
    ComPtr<IClassFactory> factory = MakeDropTargetFactory(state);
    ComPtr<IDropTarget> target = MakeTarget(factory.Get());
    ComPtr<IDataObject> files = MakeFileListData({L"C:\\a.wav"});

    DWORD effect = DROPEFFECT_COPY;
    EXPECT_EQ(target->DragEnter(files.Get(), 0, {}, &effect), S_OK);
    EXPECT_EQ(target->DragLeave(), S_OK);
    EXPECT_EQ(target->DragOver(0, {}, &effect), S_OK);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));

    // A drop without DragEnter first still reads its data.
    EXPECT_EQ(target->Drop(files.Get(), 0, {}, &effect), S_OK);
    EXPECT_EQ(target->Drop(MakeFileListData({L"C:\\b.wav", L"C:\\c.wav"}).Get(), 0, {}, &effect),
              S_OK);
    EXPECT_EQ(state->drops, (std::vector<PathList>{{L"C:\\a.wav"}, {L"C:\\b.wav", L"C:\\c.wav"}}));

    EXPECT_EQ(target->DragEnter(files.Get(), 0, {}, nullptr), E_INVALIDARG);
    EXPECT_EQ(target->Drop(files.Get(), 0, {}, nullptr), E_INVALIDARG);
    effect = DROPEFFECT_COPY;
    EXPECT_EQ(target->Drop(nullptr, 0, {}, &effect), S_OK);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
    EXPECT_EQ(state->drops.size(), 2u);
}

TEST(DropTargetFactory, FollowsComRulesAndCountsObjectsAndLocks) {
    ComApartment com;
    auto state = std::make_shared<DropServerState>();
    ComPtr<IClassFactory> factory = MakeDropTargetFactory(state);

    ComPtr<IUnknown> outer;
    factory.As(&outer);
    void* object = reinterpret_cast<void*>(1);
    EXPECT_EQ(factory->CreateInstance(outer.Get(), IID_IDropTarget, &object),
              CLASS_E_NOAGGREGATION);
    EXPECT_EQ(object, nullptr);
    object = reinterpret_cast<void*>(1);
    EXPECT_EQ(factory->CreateInstance(nullptr, IID_IDataObject, &object), E_NOINTERFACE);
    EXPECT_EQ(object, nullptr);
    EXPECT_EQ(factory->CreateInstance(nullptr, IID_IDropTarget, nullptr), E_POINTER);
    EXPECT_EQ(state->objects, 0);
    EXPECT_FALSE(state->InUse());

    ComPtr<IUnknown> first;
    ASSERT_EQ(factory->CreateInstance(nullptr, IID_PPV_ARGS(&first)), S_OK);
    ComPtr<IDropTarget> asTarget;
    EXPECT_EQ(first.As(&asTarget), S_OK);
    ComPtr<IDropTarget> second = MakeTarget(factory.Get());
    EXPECT_EQ(state->objects, 2);
    first.Reset();
    EXPECT_EQ(state->objects, 2);  // still held as a drop target
    asTarget.Reset();
    EXPECT_EQ(state->objects, 1);
    second.Reset();
    EXPECT_EQ(state->objects, 0);

    EXPECT_EQ(factory->LockServer(FALSE), S_OK);  // nothing to undo
    EXPECT_FALSE(state->InUse());
    EXPECT_EQ(factory->LockServer(TRUE), S_OK);
    EXPECT_TRUE(state->InUse());
    EXPECT_EQ(factory->LockServer(FALSE), S_OK);
    EXPECT_FALSE(state->InUse());
}

// The caller of another apartment, as COM's caller from another process: it
// creates the object by class id for a local server and drops the files.
HRESULT DropFromOtherApartment(const PathList& paths, DWORD& effect) {
    ComApartment com(COINIT_MULTITHREADED);
    ComPtr<IDropTarget> target;
    HRESULT result =
        CoCreateInstance(kDropTargetClassId, nullptr, CLSCTX_LOCAL_SERVER, IID_PPV_ARGS(&target));
    if (FAILED(result)) {
        return result;
    }
    ComPtr<IDataObject> data = MakeFileListData(paths);
    effect = DROPEFFECT_COPY;
    result = target->DragEnter(data.Get(), 0, {}, &effect);
    if (FAILED(result) || effect != DROPEFFECT_COPY) {
        return FAILED(result) ? result : E_FAIL;
    }
    return target->Drop(data.Get(), 0, {}, &effect);
}

TEST(ServeOneDrop, ReturnsTheFirstDropOnceTheCallerLetsGoAndWithdrawsTheClass) {
    ComApartment com;
    const PathList paths = {L"C:\\音楽\\b 二.wav", L"C:\\音楽\\a.wav", L"C:\\c.mp3"};
    HRESULT dropped = E_PENDING;
    DWORD effect = DROPEFFECT_NONE;
    std::thread caller([&] {
        // Until the server has registered the class, creating it fails.
        DWORD start = GetTickCount();
        while (FAILED(dropped = DropFromOtherApartment(paths, effect)) &&
               GetTickCount() - start < 10000) {
            Sleep(10);
        }
    });
    std::optional<PathList> received = ServeOneDrop(20000);
    caller.join();
    EXPECT_EQ(dropped, S_OK);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY));
    ASSERT_TRUE(received.has_value());
    EXPECT_EQ(*received, paths);

    // Withdrawn: no object of the class is to be had any more.
    ComPtr<IDropTarget> target;
    EXPECT_TRUE(FAILED(
        CoCreateInstance(kDropTargetClassId, nullptr, CLSCTX_LOCAL_SERVER, IID_PPV_ARGS(&target))));
}

TEST(ServeOneDrop, GivesUpWhenNoDropComesInTime) {
    ComApartment com;
    DWORD start = GetTickCount();
    EXPECT_FALSE(ServeOneDrop(300).has_value());
    DWORD elapsed = GetTickCount() - start;
    EXPECT_GE(elapsed, 250u);
    EXPECT_LT(elapsed, 5000u);
}

}  // namespace

// History lists: item texts, lists read from a settings file and paths added
// one after another. Besides crashes it checks that an item's text gives back
// its path, that a list never holds more than its limit, nor a path of 260
// characters or more, nor the same path twice, that the last path added is
// the first item, and that a list saved and read again is the same list.
#include <algorithm>
#include <string>
#include <vector>

#include "base/paths.h"
#include "files/history_list.h"
#include "fuzz_check.h"
#include "win32_shim.h"

namespace {

std::vector<std::wstring> Paths(const HistoryList& list) {
    std::vector<std::wstring> paths;
    for (int i = 0; i < list.Count(); ++i) {
        paths.push_back(list.HistoryPath(i));
    }
    return paths;
}

void CheckList(const HistoryList& list) {
    FUZZ_CHECK(list.Count() <= list.maxCount() && list.maxCount() <= kMaxHistoryCount);
    const std::vector<std::wstring> paths = Paths(list);
    for (std::size_t i = 0; i < paths.size(); ++i) {
        FUZZ_CHECK(!paths[i].empty() && paths[i].size() < kMaxPath);
        for (std::size_t j = 0; j < i; ++j) {
            FUZZ_CHECK(lstrcmpiW(paths[i].c_str(), paths[j].c_str()) != 0);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ShimReset();
    FuzzInput input(data, size);
    const int limit = input.Byte() % 40;
    const std::string bytes = input.Rest();

    // Item texts.
    std::wstring text = ShimWide(bytes).substr(0, kMaxPath - 1);
    text = text.substr(0, text.find(L'\0'));
    for (int position : {0, 9, 10, kMaxHistoryCount - 1}) {
        const std::wstring item = HistoryItemText(position, text);
        FUZZ_CHECK(item.size() <= static_cast<std::size_t>(kMaxHistoryItemText));
        FUZZ_CHECK(HistoryPathOfItemText(item) == text);
    }
    FUZZ_CHECK(UnescapeAmpersands(EscapeAmpersands(text)) == text);

    // A list read from a settings file, saved and read again.
    const std::wstring stored = L"C:\\Work\\Zephlo.ini";
    ShimSetFile(stored, bytes);
    HistoryList list(200);
    list.Attach(CreatePopupMenu());
    list.SetHistoryLimit(limit);
    list.LoadHistory(stored, kFileHistorySection, kFileHistoryPrefix);
    FUZZ_CHECK(list.Count() <= list.maxCount());
    for (const std::wstring& path : Paths(list)) {
        FUZZ_CHECK(!path.empty() && path.size() < kMaxPath);
    }
    const std::wstring saved = L"C:\\Work\\saved.ini";
    FUZZ_CHECK(list.SaveHistory(saved, kFileHistorySection, kFileHistoryPrefix));
    HistoryList again(200);
    again.Attach(CreatePopupMenu());
    again.SetHistoryLimit(limit);
    again.LoadHistory(saved, kFileHistorySection, kFileHistoryPrefix);
    FUZZ_CHECK(Paths(again) == Paths(list));

    // The input's lines added one after another.
    HistoryList added(236);
    added.Attach(CreatePopupMenu());
    added.SetHistoryLimit(limit);
    // Paths hold no NUL: it ends a line here.
    std::wstring lines = ShimWide(bytes);
    std::replace(lines.begin(), lines.end(), L'\0', L'\n');
    for (std::size_t start = 0; start <= lines.size();) {
        std::size_t end = lines.find(L'\n', start);
        end = end == std::wstring::npos ? lines.size() : end;
        const std::wstring path = lines.substr(start, end - start);
        added.AddToHistory(path);
        CheckList(added);
        if (limit > 0 && !path.empty() && path.size() < kMaxPath) {
            // The first item re-added keeps its letter case.
            FUZZ_CHECK(lstrcmpiW(added.HistoryPath(0).c_str(), path.c_str()) == 0);
        }
        start = end + 1;
    }
    return 0;
}

#include "files/history_list.h"

#include <algorithm>
#include <vector>

#include "base/paths.h"
#include "settings/settings_file.h"

namespace {

// "&0: " and its like.
constexpr std::size_t kPrefixLength = 4;

}  // namespace

wchar_t HistoryMnemonic(int position) {
    return position < 10 ? static_cast<wchar_t>(L'0' + position)
                         : static_cast<wchar_t>(L'A' + position - 10);
}

std::wstring EscapeAmpersands(const std::wstring& path) {
    std::wstring text;
    text.reserve(path.size() + 8);
    for (wchar_t c : path) {
        text += c;
        if (c == L'&') {
            text += L'&';
        }
    }
    return text;
}

std::wstring UnescapeAmpersands(const std::wstring& text) {
    std::wstring path;
    path.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        path += text[i];
        if (text[i] == L'&' && i + 1 < text.size() && text[i + 1] == L'&') {
            ++i;
        }
    }
    return path;
}

std::wstring HistoryItemText(int position, const std::wstring& path) {
    std::wstring text = L"&";
    text += HistoryMnemonic(position);
    text += L": ";
    return text + EscapeAmpersands(path);
}

std::wstring HistoryPathOfItemText(const std::wstring& text) {
    return text.size() <= kPrefixLength ? std::wstring()
                                        : UnescapeAmpersands(text.substr(kPrefixLength));
}

void HistoryList::Attach(HMENU popupMenu, HMENU parentMenu, int parentPosition) {
    popupMenu_ = popupMenu;
    parentMenu_ = parentMenu;
    parentPosition_ = parentPosition;
}

int HistoryList::Count() const {
    if (popupMenu_ == nullptr) {
        return 0;
    }
    return std::max(GetMenuItemCount(popupMenu_), 0);
}

bool HistoryList::OwnsCommand(UINT id, int& position) const {
    if (id < firstId_ || id >= firstId_ + kMaxHistoryCount) {
        return false;
    }
    position = static_cast<int>(id - firstId_);
    return true;
}

std::wstring HistoryList::ItemText(int position) const {
    wchar_t buffer[kMaxHistoryItemText + 1];
    int length = GetMenuStringW(popupMenu_, static_cast<UINT>(position), buffer,
                                kMaxHistoryItemText + 1, MF_BYPOSITION);
    return std::wstring(buffer, static_cast<std::size_t>(std::max(length, 0)));
}

// Gives the item at position the path, mnemonic and id of position numberedAs.
void HistoryList::SetItem(int position, int numberedAs, const std::wstring& path) {
    ModifyMenuW(popupMenu_, static_cast<UINT>(position), MF_BYPOSITION | MF_STRING,
                firstId_ + static_cast<UINT>(numberedAs),
                HistoryItemText(numberedAs, path).c_str());
}

void HistoryList::EnableParent(bool enable) const {
    if (parentMenu_ != nullptr) {
        EnableMenuItem(parentMenu_, static_cast<UINT>(parentPosition_),
                       MF_BYPOSITION | (enable ? MF_ENABLED : MF_GRAYED));
    }
}

void HistoryList::AddToHistory(const std::wstring& path) {
    if (maxCount_ <= 0 || popupMenu_ == nullptr || path.empty() || path.size() >= kMaxPath) {
        return;
    }
    if (Count() == 0) {
        EnableParent(true);
    }
    std::wstring escaped = EscapeAmpersands(path);
    for (int position = 0; position < Count();) {
        std::wstring text = ItemText(position);
        std::wstring escapedPath = text.size() > kPrefixLength ? text.substr(kPrefixLength) : L"";
        if (lstrcmpiW(escapedPath.c_str(), escaped.c_str()) != 0) {
            SetItem(position, position + 1, HistoryPathOfItemText(text));
            ++position;
        } else if (position == 0) {
            return;
        } else {
            DeleteMenu(popupMenu_, static_cast<UINT>(position), MF_BYPOSITION);
        }
    }
    while (Count() >= maxCount_) {
        DeleteMenu(popupMenu_, static_cast<UINT>(maxCount_ - 1), MF_BYPOSITION);
    }
    InsertMenuW(popupMenu_, 0, MF_BYPOSITION | MF_STRING, firstId_,
                HistoryItemText(0, path).c_str());
}

std::wstring HistoryList::HistoryPath(int position) const {
    if (position < 0 || position >= Count()) {
        return {};
    }
    return HistoryPathOfItemText(ItemText(position));
}

void HistoryList::RemoveFromHistory(int position) {
    if (position < 0 || position >= Count()) {
        return;
    }
    DeleteMenu(popupMenu_, static_cast<UINT>(position), MF_BYPOSITION);
    if (Count() == 0) {
        EnableParent(false);
        return;
    }
    for (int i = position; i < Count(); ++i) {
        SetItem(i, i, HistoryPathOfItemText(ItemText(i)));
    }
}

void HistoryList::ClearHistory() {
    while (Count() > 0) {
        DeleteMenu(popupMenu_, 0, MF_BYPOSITION);
    }
    EnableParent(false);
}

void HistoryList::SetHistoryLimit(int limit) {
    maxCount_ = std::clamp(limit, 0, kMaxHistoryCount);
    if (maxCount_ == 0) {
        ClearHistory();
        return;
    }
    while (Count() > maxCount_) {
        DeleteMenu(popupMenu_, static_cast<UINT>(maxCount_), MF_BYPOSITION);
    }
}

void HistoryList::LoadHistory(const std::wstring& settingsPath, const wchar_t* section,
                              const wchar_t* prefix) {
    if (maxCount_ <= 0 || popupMenu_ == nullptr) {
        return;
    }
    SettingsFile file(settingsPath, section, SettingsFile::kRead);
    file.Preload();
    int count = 0;
    std::wstring countKey = std::wstring(prefix) + L"Count";
    if (!file.ReadIntSetting(countKey.c_str(), count) || count <= 0) {
        return;
    }
    ClearHistory();
    int wanted = std::min(count, maxCount_);
    for (int i = 0; i < wanted; ++i) {
        std::wstring key = std::wstring(prefix) + std::to_wstring(i);
        std::wstring path;
        if (!file.ReadString(key.c_str(), path, kMaxPath) || path.empty()) {
            break;
        }
        AppendMenuW(popupMenu_, MF_STRING, firstId_ + static_cast<UINT>(i),
                    HistoryItemText(i, path).c_str());
    }
    EnableParent(Count() > 0);
}

bool HistoryList::SaveHistory(const std::wstring& settingsPath, const wchar_t* section,
                              const wchar_t* prefix) const {
    // Keys of an earlier, longer list stay; the count tells readers where to stop.
    SettingsFile file(settingsPath, section, SettingsFile::kWrite);
    IniSectionBuilder entries(file.ReadSection());
    int count = Count();
    entries.SetInt(std::wstring(prefix) + L"Count", count);
    for (int i = 0; i < count; ++i) {
        entries.Set(std::wstring(prefix) + std::to_wstring(i), HistoryPath(i));
    }
    return file.WriteSection(entries.entries());
}

#include "settings/key_bindings.h"

#include <utility>
#include <vector>

#include "base/text.h"
#include "resources/resource.h"
#include "settings/settings_file.h"

namespace {

constexpr wchar_t kSection[] = L"Accelerators";
constexpr wchar_t kCountKey[] = L"AccelCount";
// Menu texts are read into a buffer of 128 characters.
constexpr int kMenuTextLength = 127;

KeyBinding Ctrl(std::uint8_t key) {
    return KeyBinding{kCtrl, key};
}
KeyBinding Alt(std::uint8_t key) {
    return KeyBinding{kAlt, key};
}
KeyBinding Plain(std::uint8_t key) {
    return KeyBinding{0, key};
}

KeyBinding ReadBinding(const SettingsFile& file, const wchar_t* name) {
    int numbers[2] = {0, 0};
    int count = 2;
    if (!file.ReadIntListSetting(name, numbers, count)) {
        return {};
    }
    return KeyBindingFromNumbers(numbers, count);
}

// The per-command rule over the whole table.
KeyBindingSet ReadStoredBindings(const SettingsFile& file, const CommandTable& commands) {
    KeyBindingSet bindings{};
    for (std::size_t row = 0; row < kCommandRowCount; ++row) {
        if (!IsHeading(commands[row])) {
            bindings[row] = ReadBinding(file, commands[row].name);
        }
    }
    return bindings;
}

}  // namespace

const std::array<KeyName, kKeyNameCount> KeyNameTable = {{
    {0x08, L"BS"},   {0x09, L"Tab"},    {0x0D, L"Enter"}, {0x1B, L"Esc"},  {0x20, L"Space"},
    {0x21, L"PgUp"}, {0x22, L"PgDown"}, {0x23, L"End"},   {0x24, L"Home"}, {0x25, L"←"},
    {0x26, L"↑"},    {0x27, L"→"},      {0x28, L"↓"},     {0x2D, L"Ins"},  {0x2E, L"Del"},
    {0x30, L"0"},    {0x31, L"1"},      {0x32, L"2"},     {0x33, L"3"},    {0x34, L"4"},
    {0x35, L"5"},    {0x36, L"6"},      {0x37, L"7"},     {0x38, L"8"},    {0x39, L"9"},
    {0x41, L"A"},    {0x42, L"B"},      {0x43, L"C"},     {0x44, L"D"},    {0x45, L"E"},
    {0x46, L"F"},    {0x47, L"G"},      {0x48, L"H"},     {0x49, L"I"},    {0x4A, L"J"},
    {0x4B, L"K"},    {0x4C, L"L"},      {0x4D, L"M"},     {0x4E, L"N"},    {0x4F, L"O"},
    {0x50, L"P"},    {0x51, L"Q"},      {0x52, L"R"},     {0x53, L"S"},    {0x54, L"T"},
    {0x55, L"U"},    {0x56, L"V"},      {0x57, L"W"},     {0x58, L"X"},    {0x59, L"Y"},
    {0x5A, L"Z"},    {0x60, L"Num0"},   {0x61, L"Num1"},  {0x62, L"Num2"}, {0x63, L"Num3"},
    {0x64, L"Num4"}, {0x65, L"Num5"},   {0x66, L"Num6"},  {0x67, L"Num7"}, {0x68, L"Num8"},
    {0x69, L"Num9"}, {0x6A, L"Num*"},   {0x6B, L"Num+"},  {0x6D, L"Num-"}, {0x6E, L"Num."},
    {0x6F, L"Num/"}, {0x70, L"F1"},     {0x71, L"F2"},    {0x72, L"F3"},   {0x73, L"F4"},
    {0x74, L"F5"},   {0x75, L"F6"},     {0x76, L"F7"},    {0x77, L"F8"},   {0x78, L"F9"},
    {0x79, L"F10"},  {0x7A, L"F11"},    {0x7B, L"F12"},
}};

const std::array<DefaultKey, kDefaultKeyCount> DefaultKeyTable = {{
    {CMD_OPEN, Ctrl('O')},
    {CMD_CLOSE, Ctrl('W')},
    {CMD_PREV_FILE, Alt(VK_LEFT)},
    {CMD_NEXT_FILE, Alt(VK_RIGHT)},
    {CMD_REFRESH, Plain(VK_F5)},
    {CMD_PLAY_PAUSE, Plain(VK_SPACE)},
    {CMD_STOP, Plain(VK_DECIMAL)},
    {CMD_BACKWARD, Ctrl(VK_LEFT)},
    {CMD_FORWARD, Ctrl(VK_RIGHT)},
    {CMD_HOME, Ctrl(VK_HOME)},
    {CMD_END, Ctrl(VK_END)},
    {CMD_REPEAT, Ctrl('R')},
    {CMD_VOLUME_UP, Ctrl(VK_UP)},
    {CMD_VOLUME_DOWN, Ctrl(VK_DOWN)},
    {CMD_MUTE, Ctrl('M')},
    {CMD_ZOOM_IN, Ctrl(VK_PRIOR)},
    {CMD_ZOOM_OUT, Ctrl(VK_NEXT)},
    {CMD_ZOOM_50, Ctrl('H')},
    {CMD_ZOOM_100, Ctrl('R')},
    {CMD_ZOOM_200, Ctrl('D')},
    {CMD_FULL_SCREEN, Alt(VK_RETURN)},
    {CMD_ALWAYS_ON_TOP, Ctrl('T')},
    {CMD_PLAYLIST, Ctrl('P')},
    {CMD_HELP, Plain(VK_F1)},
}};

int FindCommandRow(const CommandTable& commands, UINT id) {
    for (std::size_t row = 0; row < commands.size(); ++row) {
        if (!IsHeading(commands[row]) && commands[row].id == id) {
            return static_cast<int>(row);
        }
    }
    return -1;
}

int FindCommandRowByName(const CommandTable& commands, const wchar_t* name) {
    if (name == nullptr || *name == L'\0') {
        return -1;
    }
    for (std::size_t row = 0; row < commands.size(); ++row) {
        if (!IsHeading(commands[row]) && lstrcmpiW(commands[row].name, name) == 0) {
            return static_cast<int>(row);
        }
    }
    return -1;
}

UINT LabelStringId(const CommandRow& row) {
    return IsHeading(row) ? IDS_CATEGORY_FIRST + row.id : row.id + IDS_LABEL_OFFSET;
}

const wchar_t* KeyNameOf(std::uint8_t key) {
    int index = KeyNameIndex(key);
    return index < 0 ? nullptr : KeyNameTable[static_cast<std::size_t>(index)].name;
}

int KeyNameIndex(std::uint8_t key) {
    if (key == 0) {
        return -1;
    }
    for (std::size_t i = 0; i < KeyNameTable.size(); ++i) {
        if (KeyNameTable[i].key == key) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

std::wstring ShortcutText(KeyBinding binding) {
    std::wstring text;
    if (binding.key == 0) {
        return text;
    }
    if (binding.modifiers & kShift) {
        text += L"Shift+";
    }
    if (binding.modifiers & kCtrl) {
        text += L"Ctrl+";
    }
    if (binding.modifiers & kAlt) {
        text += L"Alt+";
    }
    if (const wchar_t* name = KeyNameOf(binding.key)) {
        text += name;
    }
    return text;
}

bool ComposeMenuKeyText(const std::wstring& text, KeyBinding binding, std::wstring& result) {
    std::size_t tab = text.find(L'\t');
    if (binding.key == 0 && tab == std::wstring::npos) {
        return false;
    }
    result = text.substr(0, tab);
    if (binding.key != 0) {
        result += L'\t';
        result += ShortcutText(binding);
    }
    return true;
}

KeyBinding KeyBindingFromNumbers(const int* numbers, int count) {
    KeyBinding binding;
    if (count >= 1) {
        binding.key = static_cast<std::uint8_t>(static_cast<unsigned>(numbers[0]) & 0xFF);
    }
    if (count >= 2) {
        binding.modifiers =
            static_cast<std::uint8_t>(static_cast<unsigned>(numbers[1]) & kModifierMask);
    }
    return binding;
}

KeyBindingSet DefaultKeyBindings(const CommandTable& commands) {
    KeyBindingSet bindings{};
    for (const DefaultKey& entry : DefaultKeyTable) {
        int row = FindCommandRow(commands, entry.id);
        if (row >= 0) {
            bindings[static_cast<std::size_t>(row)] = entry.binding;
        }
    }
    return bindings;
}

std::string FormatKeyFileText(const CommandTable& commands, const KeyBindingSet& bindings) {
    std::wstring text = L"[Accelerators]\r\n";
    for (std::size_t row = 0; row < kCommandRowCount; ++row) {
        const CommandRow& command = commands[row];
        if (IsHeading(command) || bindings[row].key == 0) {
            continue;
        }
        text +=
            FormatText(L"%s=%d,%d\r\n", command.name, bindings[row].key, bindings[row].modifiers);
    }
    int size = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr,
                                   0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
    if (size > 0) {
        WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &bytes[0], size,
                            nullptr, nullptr);
    }
    return bytes;
}

bool WriteKeyFile(const std::wstring& path, const CommandTable& commands,
                  const KeyBindingSet& bindings) {
    std::string bytes = FormatKeyFileText(commands, bindings);
    UniqueFile file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return false;
    }
    DWORD written = 0;
    return WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                     nullptr) != 0 &&
           written == bytes.size();
}

KeyBindingSet ReadKeyFile(const std::wstring& path, const CommandTable& commands) {
    SettingsFile file(path, kSection, SettingsFile::kRead);
    file.Preload();
    int count = 0;
    if (file.ReadIntSetting(kCountKey, count) && count < 0) {
        return DefaultKeyBindings(commands);
    }
    return ReadStoredBindings(file, commands);
}

int FindBindingOwner(const CommandTable& commands, const KeyBindingSet& bindings,
                     KeyBinding binding, std::size_t exceptRow) {
    if (binding.key == 0) {
        return -1;
    }
    for (std::size_t row = 0; row < kCommandRowCount; ++row) {
        if (row != exceptRow && !IsHeading(commands[row]) && bindings[row] == binding) {
            return static_cast<int>(row);
        }
    }
    return -1;
}

KeyAssignment::KeyAssignment(const CommandTable& commands)
    : commands_(commands), makeTable_([](ACCEL* records, int count) {
          return CreateAcceleratorTableW(records, count);
      }) {}

void KeyAssignment::SetTableMaker(TableMaker maker) {
    makeTable_ = std::move(maker);
}

void KeyAssignment::SetBindings(const KeyBindingSet& bindings, bool areDefault) {
    for (std::size_t row = 0; row < kCommandRowCount; ++row) {
        bindings_[row] = IsHeading(commands_[row]) ? KeyBinding{} : bindings[row];
    }
    areDefault_ = areDefault;
}

bool KeyAssignment::BuildAcceleratorTable(UniqueAccelerators& table) const {
    std::vector<ACCEL> records;
    for (std::size_t row = 0; row < kCommandRowCount; ++row) {
        KeyBinding binding = bindings_[row];
        if (IsHeading(commands_[row]) || binding.key == 0) {
            continue;
        }
        BYTE flags = FVIRTKEY;
        if (binding.modifiers & kShift) {
            flags |= FSHIFT;
        }
        if (binding.modifiers & kCtrl) {
            flags |= FCONTROL;
        }
        if (binding.modifiers & kAlt) {
            flags |= FALT;
        }
        records.push_back(ACCEL{flags, binding.key, commands_[row].id});
    }
    if (records.empty()) {
        table.reset();
        return true;
    }
    HACCEL handle = makeTable_(records.data(), static_cast<int>(records.size()));
    if (handle == nullptr) {
        return false;
    }
    table.reset(handle);
    return true;
}

void KeyAssignment::ReplaceAccelerators(UniqueAccelerators table) {
    accelerators_ = std::move(table);
}

void KeyAssignment::UpdateMenuKeyText(std::size_t row, HMENU menu) const {
    if (row >= kCommandRowCount || IsHeading(commands_[row])) {
        return;
    }
    UINT id = commands_[row].id;
    UINT state = GetMenuState(menu, id, MF_BYCOMMAND);
    if (state == static_cast<UINT>(-1)) {
        return;
    }
    wchar_t buffer[kMenuTextLength + 1] = {};
    GetMenuStringW(menu, id, buffer, kMenuTextLength + 1, MF_BYCOMMAND);
    std::wstring text;
    if (!ComposeMenuKeyText(buffer, bindings_[row], text)) {
        return;
    }
    // The state answer also carries the item's type bits (radio mark, menu
    // breaks): they are kept, while the item stays a plain text item.
    UINT flags = (state & ~static_cast<UINT>(MF_BITMAP | MF_OWNERDRAW | MF_POPUP | MF_SEPARATOR)) |
                 MF_BYCOMMAND | MF_STRING;
    ModifyMenuW(menu, id, flags, id, text.c_str());
}

void KeyAssignment::UpdateMenuKeyTexts(HMENU menu) const {
    int count = GetMenuItemCount(menu);
    for (int position = 0; position < count; ++position) {
        if (HMENU submenu = GetSubMenu(menu, position)) {
            UpdateMenuKeyTexts(submenu);
            continue;
        }
        if (GetMenuState(menu, static_cast<UINT>(position), MF_BYPOSITION) & MF_SEPARATOR) {
            continue;
        }
        int row = FindCommandRow(commands_, GetMenuItemID(menu, position));
        if (row >= 0) {
            UpdateMenuKeyText(static_cast<std::size_t>(row), menu);
        }
    }
}

ApplyResult KeyAssignment::Apply(const KeyBindingSet& bindings, bool areDefault, HMENU mainMenu) {
    bool changed = false;
    for (std::size_t row = 0; row < kCommandRowCount; ++row) {
        if (IsHeading(commands_[row]) || bindings_[row] == bindings[row]) {
            continue;
        }
        bindings_[row] = bindings[row];
        UpdateMenuKeyText(row, mainMenu);
        changed = true;
    }
    if (!changed) {
        return ApplyResult::Unchanged;
    }
    // The flag describes the rows whatever becomes of the table: left saying
    // "built-in" after a failed table, it would have the new rows dropped at exit.
    areDefault_ = areDefault;
    UniqueAccelerators table;
    if (!BuildAcceleratorTable(table)) {
        return ApplyResult::TableFailed;
    }
    ReplaceAccelerators(std::move(table));
    return ApplyResult::Applied;
}

bool KeyAssignment::Load(const std::wstring& settingsPath, HMENU mainMenu) {
    SetBindings(DefaultKeyBindings(commands_), true);
    {
        SettingsFile file(settingsPath, kSection, SettingsFile::kRead);
        file.Preload();
        int count = 0;
        if (file.ReadIntSetting(kCountKey, count) && count >= 0) {
            SetBindings(ReadStoredBindings(file, commands_), false);
        }
    }
    UniqueAccelerators table;
    if (!BuildAcceleratorTable(table)) {
        return false;
    }
    ReplaceAccelerators(std::move(table));
    for (std::size_t row = 0; row < kCommandRowCount; ++row) {
        if (!IsHeading(commands_[row]) && bindings_[row].key != 0) {
            UpdateMenuKeyText(row, mainMenu);
        }
    }
    return true;
}

void KeyAssignment::Save(const std::wstring& settingsPath) {
    ReplaceAccelerators(UniqueAccelerators());
    // The section is replaced whole, in one write.
    IniSectionBuilder section;
    if (areDefault_) {
        section.SetInt(kCountKey, -1);
    } else {
        int count = 0;
        for (std::size_t row = 0; row < kCommandRowCount; ++row) {
            if (!IsHeading(commands_[row]) && bindings_[row].key != 0) {
                ++count;
            }
        }
        section.SetInt(kCountKey, count);
        for (std::size_t row = 0; row < kCommandRowCount; ++row) {
            KeyBinding binding = bindings_[row];
            if (!IsHeading(commands_[row]) && binding.key != 0) {
                section.Set(commands_[row].name,
                            FormatText(L"%d,%d", binding.key, binding.modifiers));
            }
        }
    }
    SettingsFile(settingsPath, kSection, SettingsFile::kWrite).WriteSection(section.entries());
}

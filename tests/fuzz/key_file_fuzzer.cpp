// Key definition files and the [Accelerators] section of the settings file.
// Besides crashes it checks that headings never get a key and modifiers stay
// within Shift, Ctrl and Alt, and that bindings written either way (a key
// file, or the settings file with or without the built-in set) read back the
// same.
#include <string>

#include "app/command_table.h"
#include "fuzz_check.h"
#include "settings/key_bindings.h"
#include "win32_shim.h"

namespace {

void CheckBindings(const KeyBindingSet& bindings) {
    for (std::size_t row = 0; row < kCommandRowCount; ++row) {
        FUZZ_CHECK((bindings[row].modifiers & ~kModifierMask) == 0);
        if (IsHeading(kCommandTable[row])) {
            FUZZ_CHECK(bindings[row].key == 0 && bindings[row].modifiers == 0);
        }
    }
}

// The same shortcuts: a binding without a key is none, whatever modifiers
// its stored numbers gave it.
bool SameShortcuts(const KeyBindingSet& a, const KeyBindingSet& b) {
    for (std::size_t row = 0; row < kCommandRowCount; ++row) {
        if (a[row].key != b[row].key || (a[row].key != 0 && a[row].modifiers != b[row].modifiers)) {
            return false;
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ShimReset();
    FuzzInput input(data, size);
    const bool areDefault = (input.Byte() & 1) != 0;
    const std::wstring keyFile = L"C:\\Work\\keys.zpkey";
    ShimSetFile(keyFile, input.Rest());
    const KeyBindingSet read = ReadKeyFile(keyFile, kCommandTable);
    CheckBindings(read);

    const std::wstring written = L"C:\\Work\\written.zpkey";
    ShimSetFile(written, FormatKeyFileText(kCommandTable, read));
    FUZZ_CHECK(SameShortcuts(ReadKeyFile(written, kCommandTable), read));

    KeyAssignment keys(kCommandTable);
    keys.SetBindings(read, areDefault);
    const std::wstring settings = L"C:\\Work\\Zephlo.ini";
    keys.Save(settings);
    FUZZ_CHECK(SameShortcuts(ReadKeyFile(settings, kCommandTable),
                             areDefault ? DefaultKeyBindings(kCommandTable) : read));
    return 0;
}

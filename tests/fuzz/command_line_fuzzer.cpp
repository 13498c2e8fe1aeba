// The program's command line. Besides crashes it checks that every path is a
// possible path (not empty, shorter than 260 characters, no option), that the
// arguments written back (quoted where they may be) split the same way, and
// that the paths made absolute stay within 260 characters.
#include <string>

#include "app/command_line.h"
#include "fuzz_check.h"
#include "win32_shim.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ShimReset();
    FuzzInput input(data, size);
    const std::uint8_t folder = input.Byte();
    ShimSetWorkingFolder(folder & 1 ? L"C:\\Users\\ユーザー\\Music"
                                    : L"D:\\" + std::wstring(folder % 200, L'x'));
    const std::wstring text = Utf16Units(input.Rest(), true);

    const CommandLine split = SplitCommandLine(text.c_str());
    std::wstring again;
    for (const std::wstring& path : split.paths) {
        FUZZ_CHECK(!path.empty() && path.size() < kMaxPath);
        FUZZ_CHECK(path[0] != L'-' && path[0] != L'/');
        // Quoted unless it holds a quote, which then cannot be first.
        const bool quoted = path.find(L'"') == std::wstring::npos;
        FUZZ_CHECK(quoted || (path[0] != L'"' && path.find(L' ') == std::wstring::npos));
        again += quoted ? L"\"" + path + L"\" " : path + L" ";
    }
    again += split.fullScreen ? L"-f " : L"";
    again += split.maximize ? L"/M" : L"";
    const CommandLine back = SplitCommandLine(again.c_str());
    FUZZ_CHECK(back.paths == split.paths);
    FUZZ_CHECK(back.fullScreen == split.fullScreen && back.maximize == split.maximize);

    const CommandLine read = ReadCommandLine(text.c_str());
    FUZZ_CHECK(read.paths.size() <= split.paths.size());
    for (const std::wstring& path : read.paths) {
        FUZZ_CHECK(!path.empty() && path.size() < kMaxPath);
        FUZZ_CHECK((path.size() >= 3 && path[1] == L':' && path[2] == L'\\') ||
                   path.compare(0, 2, L"\\\\") == 0);
    }
    return 0;
}

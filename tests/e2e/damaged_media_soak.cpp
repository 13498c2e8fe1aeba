// Soak of damaged media (not part of the test run; scripts/soak-damaged-media.sh
// runs it): every file of a folder is handed to one running player, which
// plays what it opens (PlayOnOpen), one after another in a shuffled order,
// by drops and now and then by a second start. Every message box is
// answered; after each file the player must live and its main window answer.
// At the end the player must close with exit code 0, its settings written.
// A player that stops answering has its threads' backtraces written by
// winedbg and is replaced.
//
// Usage: damaged_media_soak FOLDER [REPETITIONS] [BACKTRACE_LOG]
// Exit code 0 when no hang, crash or bad exit was seen.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "e2e/player.h"

namespace {

constexpr char kIni[] =
    "[Settings]\r\nKeepSingleTask=yes\r\nPlayOnOpen=yes\r\nRestorePlaylist=no\r\n";
// A render is given up on after 10 s; a file's outcome shows well within this.
constexpr DWORD kOutcomeTimeout = 40000;
// How long a main window may take to answer before the player counts as hung.
constexpr UINT kAnswerTimeout = 10000;

struct Tally {
    int handedOver = 0;
    int opened = 0;
    int refused = 0;
    int hangs = 0;
    int crashes = 0;
    int badExits = 0;
    int settingsMissing = 0;
    std::map<std::wstring, int> messages;
};

std::vector<std::wstring> FilesOf(const std::wstring& folder) {
    std::vector<std::wstring> files;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) {
        return files;
    }
    do {
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
            files.push_back(folder + L"\\" + data.cFileName);
        }
    } while (FindNextFileW(find, &data));
    FindClose(find);
    std::sort(files.begin(), files.end());
    return files;
}

bool Answers(HWND window) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_BLOCK, kAnswerTimeout, &result) != 0;
}

// Backtraces of every thread of the process, by winedbg, appended to the log.
void WriteBacktraces(DWORD processId, const std::wstring& log) {
    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    std::wstring script = std::wstring(folder) + L"zephlo-soak-winedbg.txt";
    char commands[128];
    std::snprintf(commands, sizeof commands, "attach 0x%lx\nbt all\ndetach\nquit\n",
                  static_cast<unsigned long>(processId));
    WriteBytes(script, commands);
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE out = CreateFileW(log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                             &inherit, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = out;
    startup.hStdError = out;
    std::wstring commandLine = L"winedbg --file \"" + script + L"\"";
    PROCESS_INFORMATION info = {};
    if (CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                       &startup, &info)) {
        WaitForSingleObject(info.hProcess, 120000);
        CloseHandle(info.hThread);
        CloseHandle(info.hProcess);
    }
    if (out != INVALID_HANDLE_VALUE) {
        CloseHandle(out);
    }
}

// Answers the player's message boxes; true when one was answered.
bool AnswerBoxes(const Player& player, Tally& tally) {
    bool answered = false;
    while (HWND box = player.WaitForMessageBox(0)) {
        std::wstring text = Player::MessageBoxText(box);
        ++tally.messages[text];
        Player::PressButton(box, IDOK);
        PumpUntil([&] { return !IsWindow(box) || !IsWindowVisible(box); }, 5000);
        answered = true;
    }
    return answered;
}

// Hands one file over and waits for its outcome: the file shown in the title
// (opened), or a message box answered (refused). False when the player hung.
bool HandOver(Player& player, HWND window, const std::wstring& file, bool secondStart,
              Tally& tally) {
    ++tally.handedOver;
    HANDLE second = nullptr;
    if (secondStart) {
        second = StartProgram(player.programFolder(), L"\"" + file + L"\"");
    } else {
        player.DropFiles(window, {file});
    }
    const std::wstring title = L"Zephlo - " + file.substr(file.rfind(L'\\') + 1);
    bool opened = false;
    bool refused = false;
    PumpUntil(
        [&] {
            refused = AnswerBoxes(player, tally) || refused;
            opened = Player::WindowText(window) == title;
            return opened || refused || !player.running();
        },
        kOutcomeTimeout);
    if (second != nullptr && WaitAndClose(second, 30000) != 0) {
        std::fprintf(stderr, "soak: the second start for %ls did not end with 0\n", file.c_str());
        ++tally.badExits;
    }
    tally.opened += opened ? 1 : 0;
    tally.refused += refused ? 1 : 0;
    if (!player.running()) {
        return true;
    }
    // A while of playing (or of the message box's aftermath), boxes answered.
    PumpUntil([&] { return AnswerBoxes(player, tally) && false; }, 300);
    return Answers(window);
}

struct Run {
    std::unique_ptr<Player> player;
    HWND window = nullptr;
};

bool StartPlayer(Run& run) {
    run.player = std::make_unique<Player>();
    run.window = nullptr;
    if (!run.player->WriteSharedIni(kIni) || !run.player->Start()) {
        return false;
    }
    run.window = run.player->WaitForMainWindow(30000);
    return run.window != nullptr;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: damaged_media_soak FOLDER [REPETITIONS] [BACKTRACE_LOG]\n");
        return 2;
    }
    const std::vector<std::wstring> files = FilesOf(argv[1]);
    const int repetitions = argc > 2 ? _wtoi(argv[2]) : 1;
    const std::wstring log = argc > 3 ? argv[3] : L"soak-backtraces.txt";
    Tally tally;
    const DWORD start = GetTickCount();
    for (int repetition = 1; repetition <= repetitions; ++repetition) {
        std::vector<std::wstring> order = files;
        std::shuffle(order.begin(), order.end(), std::mt19937(static_cast<unsigned>(repetition)));
        Run run;
        if (!StartPlayer(run)) {
            std::fprintf(stderr, "soak: the player did not start\n");
            return 1;
        }
        for (std::size_t i = 0; i < order.size(); ++i) {
            const std::wstring& file = order[i];
            const bool answered = HandOver(*run.player, run.window, file, i % 10 == 9, tally);
            if (!run.player->running()) {
                ++tally.crashes;
                std::fprintf(stderr, "soak: the player ended (code %lu) after %ls\n",
                             static_cast<unsigned long>(run.player->WaitForExit(0)), file.c_str());
            } else if (!answered) {
                ++tally.hangs;
                std::fprintf(stderr, "soak: the player stopped answering after %ls\n",
                             file.c_str());
                WriteBacktraces(run.player->processId(), log);
            } else {
                continue;
            }
            if (!StartPlayer(run)) {
                std::fprintf(stderr, "soak: the player did not start again\n");
                return 1;
            }
        }
        AnswerBoxes(*run.player, tally);
        const DWORD code = run.player->Close(30000);
        if (code != 0) {
            ++tally.badExits;
            std::fprintf(stderr, "soak: repetition %d: the player ended with %lu\n", repetition,
                         static_cast<unsigned long>(code));
        }
        const std::wstring ini = run.player->sharedIniPath();
        if (ReadIni(ini, L"Settings", L"ZoomRate") == L"<absent>" ||
            ReadIni(ini, L"RecentFileList", L"FileCount") == L"<absent>") {
            ++tally.settingsMissing;
            std::fprintf(stderr, "soak: repetition %d: the settings were not written\n",
                         repetition);
        }
        std::printf("soak: repetition %d of %d done (%zu files)\n", repetition, repetitions,
                    order.size());
        std::fflush(stdout);
    }
    std::printf(
        "soak: %d files handed over (%zu files x %d), %d opened, %d refused with a message; "
        "%d hangs, %d crashes, %d bad exits, %d runs without settings written; %lu s\n",
        tally.handedOver, files.size(), repetitions, tally.opened, tally.refused, tally.hangs,
        tally.crashes, tally.badExits, tally.settingsMissing,
        static_cast<unsigned long>((GetTickCount() - start) / 1000));
    for (const auto& [text, count] : tally.messages) {
        std::printf("soak: message %dx: %s\n", count, ToUtf8(text).c_str());
    }
    return tally.hangs + tally.crashes + tally.badExits + tally.settingsMissing == 0 ? 0 : 1;
}

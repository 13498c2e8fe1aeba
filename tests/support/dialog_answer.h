// Answers the modal dialog boxes a call shows (message boxes, file dialogs,
// the colour chooser) from inside the test: a thread timer, served by the
// dialogs' own message loops, finds each new dialog once it shows and runs
// the next answer on it, also when that dialog shows over the one being
// answered. An answer that leaves its dialog open has it cancelled.
#ifndef ZEPHLO_TESTS_SUPPORT_DIALOG_ANSWER_H
#define ZEPHLO_TESTS_SUPPORT_DIALOG_ANSWER_H

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace dialog_answer {

using Answer = std::function<void(HWND dialog)>;

// Runs `action`, which returns once the dialogs it shows are closed, with
// the answers run in turn on the dialogs as they show. Returns how many
// dialogs were answered.
int Run(const std::function<void()>& action, const std::vector<Answer>& answers);

// Presses a button of a dialog (IDOK, IDCANCEL, IDYES, ...); returns once
// the dialog has handled it.
void Press(HWND dialog, int button);
// The texts of a message box: its caption and its message.
std::wstring Caption(HWND dialog);
std::wstring MessageText(HWND dialog);

}  // namespace dialog_answer

#endif

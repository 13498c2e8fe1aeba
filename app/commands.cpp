#include "app/commands.h"

#include "resources/resource.h"

void ExecuteCommand(HWND window, int id, HWND, int) {
    switch (id) {
        case CMD_EXIT:
            SendMessageW(window, WM_CLOSE, 0, 0);
            break;
        default:
            break;
    }
}

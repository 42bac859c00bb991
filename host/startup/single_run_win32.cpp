#include "host/startup/single_run_win32.h"

#include <windows.h>

#include "host/startup/command_line.h"

namespace {

HANDLE Mark = nullptr;

}  // namespace

bool TakeSingleRunMark() {
    Mark = CreateMutexW(nullptr, TRUE, HostMutexName);
    return Mark != nullptr && GetLastError() != ERROR_ALREADY_EXISTS;
}

void ReleaseSingleRunMark() {
    if (!Mark) return;
    ReleaseMutex(Mark);
    CloseHandle(Mark);
    Mark = nullptr;
}

// Both programs follow the display's state and their session's: the notices
// are asked for once per window and read into AwayReasons.
#pragma once
#include <windows.h>

#include "handover/power_notices.h"

// Asks the system to send the window the display's state
// (WM_POWERBROADCAST) and its session's changes (WM_WTSSESSION_CHANGE).
void ListenForPowerAndSession(HWND window);

// Stops the session notices before the window goes.
void StopListeningForSession(HWND window);

// Records a WM_POWERBROADCAST's wParam and lParam.
void RecordPowerMessage(AwayReasons& reasons, WPARAM event, LPARAM lParam);

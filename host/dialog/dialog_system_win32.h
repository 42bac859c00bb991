// What the settings dialog asks of the system whose effect a test cannot see
// afterwards: the file chooser, answered by a person, and the web page,
// opened in a browser. An interface, like every way to the system a test
// replaces (see README, "Stand-ins"): a test puts a recorder in its place.
#pragma once
#include <windows.h>

#include <commdlg.h>
#include <shellapi.h>

struct DialogSystem {
    virtual ~DialogSystem() = default;
    virtual BOOL OpenFileName(OPENFILENAMEW* request) = 0;
    virtual HINSTANCE OpenWebPage(HWND owner, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters, LPCWSTR folder,
                                  INT show) = 0;
};

// The system's own, unless a test has put another in its place.
extern DialogSystem* DialogCalls;

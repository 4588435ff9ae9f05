// The stand-in's window records: one plain record per handle in a static table, and window classes.
// Internal to compat/; the host and tests reach windows through compat_host.h and the Win32 calls.
#pragma once
#include <string>
#include <vector>
#include "windows.h"

struct CompatWindowClass {
    std::string name;           // compared case-insensitively, as Win32 does for class lookups
    WNDPROC proc = nullptr;     // default procedure of windows created with this class
    HCURSOR cursor = nullptr;   // class cursor (GCLP_HCURSOR), shared by every window of the class
};

struct CompatWindow {
    bool live = false;
    int classIndex = -1;        // index into the class table
    HWND parent = nullptr;
    HWND owner = nullptr;       // owner of a top-level window (dialogs)
    std::string text;
    int id = 0;                 // control id (GWL_ID)
    DWORD style = 0;
    DWORD exStyle = 0;
    bool enabled = true;
    UINT checkState = BST_UNCHECKED;
    int scrollMin = 0;
    int scrollMax = 100;
    int scrollPos = 0;
    WNDPROC proc = nullptr;     // current window procedure (subclassing replaces it)
    WNDPROC createdProc = nullptr; // the procedure it was created with
    DLGPROC dialogProc = nullptr;
    LONG_PTR userData = 0;
    int x = 0, y = 0;           // position in the parent's client area, pixels
    int width = 0, height = 0;  // client size in pixels
    bool isDialog = false;
    bool dialogEnded = false;
    INT_PTR dialogResult = 0;
    bool invalid = false;       // has an update region waiting for WM_PAINT
    bool eraseBackground = false;
    RECT updateRect = {0, 0, 0, 0}; // bounding box of the update region while invalid, client pixels
    std::vector<HWND> children; // in creation (z and tab) order
};

// Class table
int compatFindClass(const char *name);                       // -1 when not registered
int compatRegisterClass(const char *name, WNDPROC proc);     // returns the class index; re-registering updates proc
CompatWindowClass *compatClassOf(HWND window);
CompatWindowClass *compatClassAt(int index);                 // null for an index not in the table

// Window table
CompatWindow *compatWindow(HWND window);                     // null for a stale or foreign handle
std::vector<HWND> compatLiveWindowHandles();                 // in creation order
bool compatIsHostWindow(HWND window);                        // live, and neither a dialog nor inside one

// Per-area resets that compatReset() runs, each owned by the file of its area.
void compatResetKernel();   // memory, clock (kernel.cpp)
void compatResetFaults();   // the fault table (faults.cpp)
void compatResetProfile();  // profile directory (profile.cpp)
void compatResetWindows();  // windows, classes, focus (windows.cpp)
void compatResetMessageBoxes(); // responder and count (message_box.cpp)

// The host's user of the review dialog: what the dialog shows when it opens (a transcript event and a
// report picture), the scripted actions sent to it as window messages, the fallback answer and the
// person at the terminal. review_driver.cpp is shared by both builds; each platform half
// (app/native/, app/windows/) learns that a dialog is open, lets paints through and reads the view.
#pragma once
#include <cstdint>
#include <string>
#include <vector>
#include "box_script.h"
#include "plugin/platform.h"
#include "plugin_table.h"
#include "review_script.h"
#include "ui/review.h"

// Sets the script of the reviews to come (group n for review n) and the fallback for reviews the
// script leaves open; resets the review count. Owns copies of both.
void reviewDriverConfigure(const std::vector<ReviewActions> &script, const BoxScript &fallback);

// The selection the plug-in is about to run over: where drags to sample positions find their columns.
void reviewDriverSelection(uint32_t selStart, uint32_t sampleCount);

// A dialog just opened and has been painted: records what it shows (and its report picture) and
// takes up the review's actions from the start. Touches the driver's current review.
void reviewDialogOpened(HWND dialog);

// Runs the current review's actions from where they stopped, letting paints through after each. Result:
// a pause in ms (above 0) when a wait asks for one, 0 once a button has been pressed, -1 when the
// actions ran out and a person is to answer.
int32_t reviewDialogContinue(HWND dialog);

// A person at the terminal answers the open dialog: its state and the choices on standard error,
// answers or actions read from standard input until a button is pressed (end of input presses Stop
// Here).
void reviewAskAtTerminal(HWND dialog);

// The button the driver pressed in the current review, or 2 (Close) when it pressed none.
int32_t reviewPressedButton();

// The dialog ended with result: writes the review's transcript event and report entry.
void reviewDialogClosed(int32_t result);

// ---- Platform halves (app/native/review_driver_native.cpp, app/windows/review_driver_windows.cpp)

// Makes every review dialog of the plug-in reach this driver, and gives the module instance to hand
// XfmSetup for the dialog form (the loaded module on Windows, a token the stand-in accepts natively).
HINSTANCE reviewDriverInstall(const PluginTable &table);

// Delivers the paints the dialog's windows are waiting for, so the view shows the latest settings.
void reviewPlatformSettle(HWND dialog);

// The plug-in's request of the open review dialog (its creation parameter), null when unknown.
const ReviewRequest *reviewPlatformRequest();

// The view's pixels as painted, row-major COLORREF values (0x00BBGGRR). Returns true with the size.
bool reviewPlatformViewPixels(HWND view, std::vector<uint32_t> *pixels, int32_t *width, int32_t *height);

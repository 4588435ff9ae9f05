// Internal seams of the review dialog and its waveform view (item 1028): the module state they share
// and the procedures and handlers each side calls. Product code outside ui/ uses review.h instead.
#pragma once
#include <cstdint>
#include "plot_context.h"
#include "plugin/platform.h"
#include "review.h"

// The open dialog's request; set when the dialog initialises, cleared when the dialog has ended
// (review_dialog.cpp), null between reviews.
extern ReviewRequest *activeRequest;
// Item 1028's procedure before waveViewProc was installed; null while not installed.
extern WNDPROC viewOldProc;
// Nonzero while waveViewProc is installed on item 1028.
extern int32_t viewSubclassed;
// 0 no drag, 1 start marker, 2 end marker being dragged (wave_view.cpp).
extern int32_t dragMarker;
// Nonzero while the sizing cursor is the one last set for the view.
extern int32_t sizingCursorShown;

// The dialog procedure: handles WM_INITDIALOG, WM_COMMAND, WM_HSCROLL and WM_VSCROLL and returns
// TRUE for them, FALSE for everything else. Touches activeRequest and the request's ClickParams.
INT_PTR CALLBACK reviewDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// Reads the fields and check boxes back into activeRequest's params with their clamps, removes the
// view procedure and ends the dialog with code.
void readBackAndEnd(HWND dialog, int32_t code);
// With autoZoom on, stores the zoom the candidate's window calls for and moves the zoom bar.
void applyAutoZoom(HWND dialog, ReviewRequest &request);
// Installs waveViewProc on item 1028, keeping the old procedure in viewOldProc. 1 = done, 0 = no item
// or no procedure to chain to.
int32_t subclassView(HWND dialog);
// Gives item 1028 its old procedure back and resets the shared push-button class cursor to the arrow.
// Nothing when the view is not subclassed. Clears viewOldProc and viewSubclassed.
void restoreView(HWND dialog);

// The view's procedure: the old procedure first, then mouse handling and painting while a request is
// active. Returns the old procedure's result.
LRESULT CALLBACK waveViewProc(HWND view, UINT message, WPARAM wParam, LPARAM lParam);
// Draws the whole view through GetDC: background, centre line, bars, markers, waveform, preview.
// Writes startMarkerX and endMarkerX, 0 both when it cannot draw (and the preview may pull the span
// inside the buffer).
void paintWaveView(HWND view);
// Cursor and drag handling for one mouse message at column x. Touches dragMarker, sizingCursorShown,
// the span of the params, and the mouse capture.
void handleViewMouse(HWND view, UINT message, int32_t x);
// Marker hit by column x from the last paint's columns: 0, 1 (start, wins ties) or 2 (end).
int32_t hitTestMarker(int32_t x);
// Invalidates, with erasing, the strip of columns from the nearer of samples a and b minus 2 to the
// farther plus 3, over the whole height.
void invalidateMarkerStrip(HWND view, const PlotContext &plot, int32_t a, int32_t b);
// Makes cursor the view's class cursor (shared by all push buttons) and the current cursor.
void setViewCursor(HWND view, HCURSOR cursor);
// The view's module state back to its load-time values (tests).
void resetViewState();
// The stretch of activeRequest at the params' ptsAround, and the view's client rectangle.
PlotContext viewContext(HWND view, HDC dc);

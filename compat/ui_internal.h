// Seams between the stand-in's dialog, control, paint, cursor and GDI files. Internal to compat/.
#pragma once
#include "window_table.h"

// The predefined control classes "Button", "Edit", "Static", "ScrollBar" and the dialog class
// "#32770", registered on first use with the arrow as class cursor (controls.cpp).
void compatRegisterDialogClasses();
// The class name of a dialog template class ordinal, or null for an unknown one.
const char *compatControlClassName(uint16_t ordinal);
// The dialog window procedure: the dialog's DLGPROC first, then the platform's defaults (dialogs.cpp).
LRESULT CALLBACK compatDialogWindowProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Drops a destroyed window's canvas; its unreleased device contexts stay counted as live (gdi.cpp).
void compatForgetWindowGdi(HWND window);

// Per-file resets that compatReset runs (reset.cpp).
void compatResetDialogs();
void compatResetPaint();
void compatResetCursors();
void compatResetGdi();

// The single table of dialog 105 "Possible click": header and items in template order. The resource
// script ui/vantrope.rc encodes the same values; a unit test keeps the two in step.
#include "dialog_template.h"
#include "dialog_ids.h"

enum : uint32_t {
    NO_ID = 0xFFFFFFFFu,
    PUSH_BUTTON = 0x50010000u,   // child, visible, tab stop
    EDIT_FIELD = 0x50810080u,    // bordered, automatic horizontal scroll, tab stop
    CHECK_BOX = 0x50010003u,     // automatic check box, tab stop
    GROUP_BOX = 0x50000007u,
    LABEL_RIGHT = 0x50020002u,   // right-aligned, group start
    LABEL_CENTRE = 0x50020001u,  // centred, group start
    BAR_HORIZONTAL = 0x50000000u,
    BAR_VERTICAL = 0x50000001u,
    VIEW_BUTTON = 0x5000800Bu,   // owner-draw flat push button, no tab stop
    STATIC_EDGE = 0x00020000u
};

const DialogTemplateHeader reviewDialogHeader = {
    IDD_REVIEW, 1033, 1, 0xFFFF, 0, 0, 0x80C808C0u, REVIEW_DIALOG_ITEM_COUNT,
    0, 0, 286, 215, "Possible click", 8, 0, 0, 1, "MS Sans Serif",
};

const DialogItemTemplate reviewDialogItems[REVIEW_DIALOG_ITEM_COUNT] = {
    {ID_STOP_HERE, DIALOG_CLASS_BUTTON, "Stop Here", 2, 197, 41, 14, PUSH_BUTTON, 0, 0},
    {ID_REPAIR, DIALOG_CLASS_BUTTON, "&Repair", 47, 197, 35, 14, PUSH_BUTTON, 0, 0},
    {ID_FIND_NEXT, DIALOG_CLASS_BUTTON, "Find &Next", 83, 197, 38, 14, PUSH_BUTTON, 0, 0},
    {ID_GO_BACK, DIALOG_CLASS_BUTTON, "Go Back", 122, 197, 38, 14, PUSH_BUTTON, 0, 0},
    {ID_CLOSE, DIALOG_CLASS_BUTTON, "Close", 255, 197, 27, 14, PUSH_BUTTON, 0, 0},
    {IDC_C1, DIALOG_CLASS_EDIT, "", 23, 155, 20, 12, EDIT_FIELD, 0, 0},
    {IDC_D1, DIALOG_CLASS_EDIT, "", 73, 155, 23, 12, EDIT_FIELD, 0, 0},
    {IDC_C2, DIALOG_CLASS_EDIT, "", 120, 155, 20, 12, EDIT_FIELD, 0, 0},
    {IDC_ZOOM_BAR, DIALOG_CLASS_SCROLLBAR, "", 272, 2, 10, 113, BAR_VERTICAL, 0, 0},
    {IDC_WAVE_VIEW, DIALOG_CLASS_BUTTON, "", 2, 2, 268, 113, VIEW_BUTTON, STATIC_EDGE, 0},
    {IDC_MESSAGE, DIALOG_CLASS_STATIC, "", 2, 130, 280, 16, LABEL_CENTRE, 0, 0},
    {NO_ID, DIALOG_CLASS_BUTTON, "", 2, 147, 280, 46, GROUP_BOX, 0, 0},
    {NO_ID, DIALOG_CLASS_STATIC, "C1:", 6, 157, 14, 10, LABEL_RIGHT, 0, 0},
    {NO_ID, DIALOG_CLASS_STATIC, "Dist1:", 50, 157, 20, 10, LABEL_RIGHT, 0, 0},
    {NO_ID, DIALOG_CLASS_STATIC, "C2:", 103, 157, 14, 10, LABEL_RIGHT, 0, 0},
    {ID_AUTO_REPAIR, DIALOG_CLASS_BUTTON, "AutoRepair", 208, 197, 42, 14, PUSH_BUTTON, 0, 0},
    {IDC_BLEND_BAR, DIALOG_CLASS_SCROLLBAR, "", 42, 180, 61, 9, BAR_HORIZONTAL, 0, 0},
    {NO_ID, DIALOG_CLASS_STATIC, "Bezier <--> Line", 45, 171, 56, 8, LABEL_CENTRE, 0, 0},
    {IDC_MULTIPASS, DIALOG_CLASS_BUTTON, "Multipass", 221, 157, 54, 9, CHECK_BOX, 0, 0},
    {IDC_WIDTH_BAR, DIALOG_CLASS_SCROLLBAR, "", 2, 117, 268, 9, BAR_HORIZONTAL, 0, 0},
    {ID_SKIP, DIALOG_CLASS_BUTTON, "&Skip", 160, 197, 39, 14, PUSH_BUTTON, 0, 0},
    {IDC_AUTOZOOM, DIALOG_CLASS_BUTTON, "Autozoom", 221, 168, 49, 9, CHECK_BOX, 0, 0},
    {IDC_RANGE_DIALOG, DIALOG_CLASS_BUTTON, "Range Dialog", 221, 179, 58, 9, CHECK_BOX, 0, 0},
    {NO_ID, DIALOG_CLASS_BUTTON, "Base Freq. Ver.", 150, 153, 64, 36, GROUP_BOX, 0, 0},
    {IDC_USE_BASE_FREQ, DIALOG_CLASS_BUTTON, "Use", 156, 162, 29, 10, CHECK_BOX, 0, 0},
    {IDC_SEVERITY, DIALOG_CLASS_EDIT, "", 186, 172, 22, 14, EDIT_FIELD, 0, 0},
    {NO_ID, DIALOG_CLASS_STATIC, "Severity:", 155, 175, 28, 8, LABEL_RIGHT, 0, 0},
};

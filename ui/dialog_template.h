// The review dialog's template as one plain table: the header and its 27 items in template (tab and
// z) order. The resource script encodes exactly this table, the stand-in builds the dialog's controls
// from it, and the tests compare both against it. Plain fixed-width types only, so that any program,
// native or i686, can include it.
#pragma once
#include <cstdint>

enum {
    DIALOG_CLASS_BUTTON = 0x0080,    // predefined class ordinals of the extended template
    DIALOG_CLASS_EDIT = 0x0081,
    DIALOG_CLASS_STATIC = 0x0082,
    DIALOG_CLASS_SCROLLBAR = 0x0084,
    REVIEW_DIALOG_ITEM_COUNT = 27
};

struct DialogItemTemplate {
    uint32_t id;            // control id; -1 is stored as 0xFFFFFFFF
    uint16_t classOrdinal;  // DIALOG_CLASS_* ordinal
    const char *text;       // item text, "" when empty
    int16_t x, y;           // position, dialog units
    int16_t cx, cy;         // size, dialog units
    uint32_t style;         // window style as stored (WS_CHILD | WS_VISIBLE included)
    uint32_t exStyle;       // extended style, 0 except the view's static edge
    uint32_t helpId;        // always 0
};

struct DialogTemplateHeader {
    uint16_t resourceId;    // resource id of the template (105)
    uint16_t language;      // language id of the resource (1033, US English)
    uint16_t version;       // extended template version, 1
    uint16_t signature;     // extended template signature, 0xFFFF
    uint32_t helpId;        // 0
    uint32_t exStyle;       // 0
    uint32_t style;         // 0x80C808C0
    uint16_t itemCount;     // 27
    int16_t x, y;           // position, dialog units
    int16_t cx, cy;         // size, dialog units (286 x 215)
    const char *caption;    // "Possible click"
    uint16_t pointSize;     // font size in points, 8
    uint16_t weight;        // font weight as stored, 0
    uint8_t italic;         // 0
    uint8_t charset;        // 1
    const char *typeface;   // "MS Sans Serif"
};

// The template header of dialog 105.
extern const DialogTemplateHeader reviewDialogHeader;
// The items of dialog 105, REVIEW_DIALOG_ITEM_COUNT of them, in template order.
extern const DialogItemTemplate reviewDialogItems[REVIEW_DIALOG_ITEM_COUNT];

// The native half of the review driver: the stand-in hands every review dialog, open and painted, to
// driveReviewDialog; paints are delivered by the stand-in's pump and the view's pixels come from its
// canvas. No state beyond what the stand-in keeps.
#include "app/review_driver.h"
#include "compat_host.h"
#include "ui/review_view.h"

// The stand-in's DialogBoxParamA builds template 105 for any non-null instance; the plug-in only
// passes the value on.
static const uintptr_t STAND_IN_INSTANCE = 0x00400000u;

static void driveReviewDialog(HWND dialog, void *context)
{
    (void)context;
    reviewDialogOpened(dialog);
    int32_t pause;
    while ((pause = reviewDialogContinue(dialog)) > 0)
        Sleep((DWORD)pause);
    if (pause < 0)
        reviewAskAtTerminal(dialog);
    reviewDialogClosed(reviewPressedButton());
}

HINSTANCE reviewDriverInstall(const PluginTable &table)
{
    compatSetDialogDriver(driveReviewDialog, nullptr);
    return table.instance ? table.instance : reinterpret_cast<HINSTANCE>(STAND_IN_INSTANCE);
}

void reviewPlatformSettle(HWND dialog)
{
    (void)dialog;
    compatPumpPaints();
}

bool reviewPlatformViewPixels(HWND view, std::vector<uint32_t> *pixels, int32_t *width, int32_t *height)
{
    int w = 0, h = 0;
    if (!view || !compatCanvasPixels(view, *pixels, w, h))
        return false;
    *width = w;
    *height = h;
    return true;
}

// The plug-in's dialog procedure keeps the request it was created with.
const ReviewRequest *reviewPlatformRequest() { return activeRequest; }

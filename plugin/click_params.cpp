// The module's ClickParams record and its load-time values.
#include "click_params.h"

ClickParams initialClickParams()
{
    ClickParams p = {};
    p.c1 = 4;
    p.d1 = 600;
    p.c2 = 9;
    p.zoom = 1;
    p.lineBezier = 0;
    p.multipass = 0;
    p.autoZoom = 0;
    p.rangeDialog = 0;
    p.useBaseFreqVer = 1;
    p.baseFreqVerS = 1;
    p.ptsAround = 95;
    p.wave = nullptr;
    return p;
}

ClickParams clickParams = initialClickParams();

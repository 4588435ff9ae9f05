// Restores the plug-in's statics to their load-time values: ClickParams (ptsAround 95), the host
// record, the SkipList, the range table, the repair's bridges, the review's, the view's and the
// steering's state; module_reset.cpp lists the few it leaves alone and why. For tests only: it is
// compiled into the native library and not into the DLL.
#pragma once

void resetModuleState();

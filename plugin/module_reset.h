// Restores every static of the plug-in to its load-time value: ClickParams (ptsAround 95), the host
// record, the SkipList, the review's, the view's and the steering's state. For tests only: it is
// compiled into the native library and not into the DLL.
#pragma once

void resetModuleState();

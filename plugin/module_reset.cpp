// Reset of all plug-in module state, for tests (native build only). This is the index of the
// plug-in's statics: each is either reset below or named here with the reason it is left alone.
//   Left alone:
//   - the range table's lastVersion (analysis/range_table.cpp): versions only grow, across resets too,
//     so that nothing remembered about an earlier buffer can be taken for the present one;
//   - lastCollection, leftChain and rightChain (analysis/extremum_list.cpp) and lastWindow
//     (analysis/range_table.cpp): every entry is keyed on a range table version, and since versions
//     never repeat no entry made before a reset can match after it;
//   - walkTimes and walkTimeCount (repair/curve_bridge.cpp): filled once by the same additions every
//     time, so a reset could only make the next repair fill them again with the same values;
//   - the constant tables (settingKeys, reviewDialogHeader, reviewDialogItems), which are not state.
#include "module_reset.h"
#include <cstring>
#include "click_params.h"
#include "host/navigation.h"
#include "module_state.h"
#include "repair/repair.h"
#include "search/skip_list.h"
#include "ui/review.h"
#include "xfm_types.h"

void resetModuleState()
{
    clickParams = initialClickParams();                 // plugin/click_params.cpp
    hostWindow = nullptr;                               // plugin/module_state.cpp
    hostInstance = nullptr;
    hostKind = HOST_NONE;
    memset(textBuffer, 0, sizeof textBuffer);
    resetSkipList();                                    // search/skip_list.cpp: skipEntries, skipCount
    reviewOverride = nullptr;                           // ui/review.cpp
    memset(lineBridge, 0, sizeof lineBridge);           // repair/repair_span.cpp
    memset(curveBridge, 0, sizeof curveBridge);
    resetReviewState();                                 // ui/: activeRequest, viewOldProc, viewSubclassed,
                                                        // dragMarker, sizingCursorShown
    resetNavigationState();                             // host/navigation.cpp: navPosition, navTimer
}

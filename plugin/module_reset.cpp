// Reset of all plug-in module state, for tests (native build only).
#include "module_reset.h"
#include <cstring>
#include "click_params.h"
#include "host/navigation.h"
#include "module_state.h"
#include "search/review_hook.h"
#include "search/skip_list.h"
#include "ui/review.h"
#include "xfm_types.h"

void resetModuleState()
{
    clickParams = initialClickParams();
    hostWindow = nullptr;
    hostInstance = nullptr;
    hostKind = HOST_NONE;
    memset(textBuffer, 0, sizeof textBuffer);
    resetSkipList();
    reviewOverride = nullptr;
    resetReviewState();
    resetNavigationState();
}

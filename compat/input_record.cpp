// The recorder of what the stand-in's input calls hand across the host boundary: clipboard texts,
// posted commands and key events, raw as they were made; the host writes them into its transcript.
// Owns the observer and the input log.
#include "compat_host.h"
#include "input_queue.h"

static CompatInputObserver observer = nullptr;
static void *observerContext = nullptr;
static std::vector<CompatInputEvent> inputLog;

void compatResetInputRecord()
{
    observer = nullptr;
    observerContext = nullptr;
    inputLog.clear();
}

void compatSetInputObserver(CompatInputObserver o, void *context)
{
    observer = o;
    observerContext = context;
}

const std::vector<CompatInputEvent> &compatInputLog() { return inputLog; }

void compatRecordInput(const CompatInputEvent &event)
{
    inputLog.push_back(event);
    if (observer)
        observer(event, observerContext);
}

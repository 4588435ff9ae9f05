// Batch runs are the Linux build's: the Windows build refuses several files with one line.
#include "app/batch.h"

bool platformBatchAvailable(std::string *reason)
{
    *reason = "several files in one command (a batch) need the Linux build of vantrope";
    return false;
}

int64_t platformStartRun(const std::vector<std::string> &args, const std::string &logPath, std::string *error)
{
    (void)args;
    (void)logPath;
    platformBatchAvailable(error);
    return 0;
}

int64_t platformWaitRun(int32_t *status)
{
    (void)status;
    return 0;
}

void platformInterruptRun(int64_t run, int32_t signalNumber)
{
    (void)run;
    (void)signalNumber;
}

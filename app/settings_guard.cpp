// The settings file kept around runs of a plug-in that has not loaded it yet, and put back through a
// temporary file renamed into place, so that an interrupt never leaves it half written.
#include "settings_guard.h"
#include <cstdio>
#include <fstream>
#include <sstream>
#include "audio_file.h"
#include "host_session.h"
#include "interrupts.h"

static bool guarding = false;   // a run is under guard
static bool existed = false;    // the file existed before it
static std::string keptPath;
static std::string keptBytes;

bool readSettingsFile(const std::string &path, std::string *bytes)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::ostringstream content;
    content << in.rdbuf();
    *bytes = content.str();
    return true;
}

void settingsGuardBeforeRun(const std::string &path)
{
    guarding = !sessionPluginHasRead();
    keptPath = path;
    keptBytes.clear();
    existed = guarding && readSettingsFile(path, &keptBytes);
}

bool writeSettingsFile(const std::string &path, const std::string &bytes, std::string *error)
{
    error->clear();
    std::string temporary = path + ".vantrope-part";
    int32_t phase = interruptsPhase();
    interruptsGuardTemporary(temporary);
    interruptsEnter(PHASE_WRITING);
    FILE *file = fopen(temporary.c_str(), "wb");
    bool ok = file && fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    ok = file && fclose(file) == 0 && ok;
    ok = ok && replaceFile(temporary, path, error);
    if (!ok)
        remove(temporary.c_str());
    interruptsEnter(phase);
    if (!ok && error->empty())
        *error = path + ": cannot write the settings";
    return ok;
}

static bool putBack(std::string *error)
{
    if (writeSettingsFile(keptPath, keptBytes, error))
        return true;
    *error = keptPath + ": cannot put the saved settings back" + (error->empty() ? "" : ": " + *error);
    return false;
}

bool settingsGuardAfterRun(std::string *error)
{
    bool restore = guarding && existed && !sessionPluginHasRead();
    guarding = false;
    if (!restore)
        return true;
    std::string now;
    if (readSettingsFile(keptPath, &now) && now == keptBytes)
        return true;
    return putBack(error);
}

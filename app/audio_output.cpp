// Writing the host's output: a file through a temporary file beside it, renamed over it when complete,
// with interrupts guarded so that neither a partial file nor the temporary one is ever left; a device,
// a FIFO or standard output straight through.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include "audio_file.h"
#include "interrupts.h"

static std::string temporaryBeside(const std::string &path) { return path + ".vantrope-part"; }

bool probeAudioOutput(const OutputTarget &target, std::string *error)
{
    if (target.kind != OUTPUT_NEW_FILE && target.kind != OUTPUT_REPLACE_FILE)
        return true;
    std::string temporary = temporaryBeside(target.path);
    // Guarded like the write itself, so an interrupt never leaves the probe behind.
    int32_t phase = interruptsPhase();
    interruptsGuardTemporary(temporary);
    interruptsEnter(PHASE_WRITING);
    remove(temporary.c_str());
    FILE *file = fopen(temporary.c_str(), "wb");
    if (!file)
        *error = strerror(errno);
    else
        fclose(file);
    remove(temporary.c_str());
    interruptsEnter(phase);
    return file != nullptr;
}

bool writeAudioOutput(const OutputTarget &target, const HostAudio &audio, std::string *error)
{
    bool isFile = target.kind == OUTPUT_NEW_FILE || target.kind == OUTPUT_REPLACE_FILE;
    std::string temporary = isFile ? temporaryBeside(target.path) : "";
    interruptsGuardTemporary(temporary);
    interruptsEnter(PHASE_WRITING);
    bool ok;
    if (!isFile) {
        ok = writeAudioStream(target.path, audio, error);
    } else {
        remove(temporary.c_str());
        std::string model = target.kind == OUTPUT_REPLACE_FILE ? target.path : "";
        ok = writeAudioFile(temporary, audio, model, error) && !interruptSignal();
        // The rename is the one step that makes OUT the new file. An interrupt that ended the program
        // there could not tell whether it had happened and would call a written OUT unwritten; during
        // it an interrupt is only noted, and the caller's line then says which of the two OUT is.
        if (ok) {
            interruptsEnter(PHASE_REPLACING);
            ok = replaceFile(temporary, target.path, error);
        }
        if (!ok)
            remove(temporary.c_str());
    }
    interruptsEnter(ok ? PHASE_FINISHED : PHASE_PREPARING);
    return ok;
}

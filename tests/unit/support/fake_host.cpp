// The fake host behind XfmWave's callbacks for unit tests.
#include "fake_host.h"
#include <sys/stat.h>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include "plugin/module_reset.h"

static FakeHost host;

FakeHost &fakeHost() { return host; }

static int32_t XFM_STDCALL fakeRead(void *buffer, uint32_t offset, uint32_t bytes)
{
    host.events.push_back("read " + std::to_string(offset) + " " + std::to_string(bytes));
    // The stand-in's fault table counts the host's reads too, so that a sweep can fail any of them.
    if (host.failRead || compatCallFails(COMPAT_READ_SAMPLES))
        return 0x00010000 | 1;
    const uint8_t *source = reinterpret_cast<const uint8_t *>(host.recording.data());
    size_t available = host.recording.size() * 2;
    for (uint32_t i = 0; i < bytes; i++)
        ((uint8_t *)buffer)[i] = (offset + (size_t)i < available) ? source[offset + i] : 0;
    return 0x7FFF0000; // only the low 16 bits tell failure
}

static int32_t XFM_STDCALL fakeWrite(void *buffer, uint32_t offset, uint32_t bytes)
{
    host.events.push_back("write " + std::to_string(offset) + " " + std::to_string(bytes));
    uint8_t *target = reinterpret_cast<uint8_t *>(host.recording.data());
    size_t available = host.recording.size() * 2;
    for (uint32_t i = 0; i < bytes && offset + (size_t)i < available; i++)
        target[offset + i] = ((const uint8_t *)buffer)[i];
    const int16_t *samples = (const int16_t *)buffer;
    host.writes.push_back(std::vector<int16_t>(samples, samples + bytes / 2));
    return 0;
}

static int32_t progressCalls = 0;

static int32_t XFM_STDCALL fakeProgress(int32_t index, int32_t count)
{
    host.events.push_back("progress " + std::to_string(index) + " " + std::to_string(count));
    if (host.cancelAtProgressCall && ++progressCalls == host.cancelAtProgressCall)
        host.cancelFlag = 1;
    return 0;
}

static int32_t XFM_STDCALL fakeStatus(const char *text, int32_t zero)
{
    host.events.push_back(std::string("status ") + text + (zero ? " !" : ""));
    return 0;
}

static int32_t XFM_CDECL fakeFinish(XfmWave *wave)
{
    host.events.push_back(wave == &host.wave ? "finish" : "finish ?");
    if (host.cancelInFinish)
        host.cancelFlag = 1;
    return 0;
}

static int fakeMessageBox(HWND owner, const char *text, const char *title, UINT flags, void *)
{
    int answer = IDOK;
    UINT type = flags & MB_TYPEMASK;
    if (type == MB_YESNO || type == MB_YESNOCANCEL) {
        answer = host.defaultAnswer;
        if (!host.answers.empty()) {
            answer = host.answers.front();
            host.answers.pop_front();
        }
    }
    host.boxes.push_back({owner, text, title, flags, answer});
    return answer;
}

void setUpFakeHost(const std::vector<int16_t> &recording, uint32_t selStart, uint32_t selEnd)
{
    host.recording = recording;
    host.wave = XfmWave();
    host.wave.channels = 1;
    host.wave.bitsPerSample = 16;
    host.wave.bytesPerFrame = 2;
    host.wave.sampleRate = 44100;
    host.wave.selStart = selStart;
    host.wave.selEnd = selEnd;
    host.wave.readSamples = fakeRead;
    host.wave.writeSamples = fakeWrite;
    host.wave.cancelFlag = &host.cancelFlag;
    host.wave.progress = fakeProgress;
    host.wave.setStatus = fakeStatus;
    host.wave.finish = fakeFinish;
    host.cancelFlag = 0;
    host.cancelAtProgressCall = 0;
    host.cancelInFinish = 0;
    host.failRead = false;
    host.events.clear();
    host.writes.clear();
    host.boxes.clear();
    host.answers.clear();
    host.defaultAnswer = IDNO;
    progressCalls = 0;
}

std::vector<int16_t> selectionAfterRun()
{
    return std::vector<int16_t>(host.recording.begin() + host.wave.selStart,
                                host.recording.begin() + host.wave.selEnd + 1);
}

int countEvents(const std::string &prefix)
{
    int n = 0;
    for (const std::string &e : host.events)
        if (e.compare(0, prefix.size(), prefix) == 0)
            n++;
    return n;
}

std::string inputEventText(const CompatInputEvent &event)
{
    switch (event.kind) {
    case COMPAT_INPUT_CLIPBOARD:
        return "clipboard " + event.text;
    case COMPAT_INPUT_POST:
        return "post " + std::to_string(event.command);
    case COMPAT_INPUT_KEY:
        return "key " + std::to_string(event.vk) + " " + std::to_string(event.scan) + (event.up ? " up" : " down");
    }
    return "?";
}

std::vector<std::string> inputLogText()
{
    std::vector<std::string> lines;
    for (const CompatInputEvent &event : compatInputLog())
        lines.push_back(inputEventText(event));
    return lines;
}

// Everything live that neither the host owns nor the test leaves on purpose is a leak.
void PluginTest::expectNothingLive(const char *when) const
{
    const CompatLiveCounts &allowed = allowedLive;
    const CompatLiveCounts live = compatLiveCounts();
    const int clipboardBlock = compatClipboardHasText() ? 1 : 0;
    EXPECT_EQ(live.globalBlocks - clipboardBlock, allowed.globalBlocks) << "global memory blocks " << when;
    EXPECT_EQ(live.pens, allowed.pens) << "pens " << when;
    EXPECT_EQ(live.deviceContexts, allowed.deviceContexts) << "device contexts " << when;
    EXPECT_EQ(live.records, allowed.records) << "drawing and device-context records " << when;
    EXPECT_EQ(live.timers, allowed.timers) << "timers " << when;
    EXPECT_EQ(live.capture, allowed.capture) << "the mouse capture " << when;
    EXPECT_EQ(live.subclassed, allowed.subclassed) << "subclassed windows " << when;
    EXPECT_EQ(live.windows - live.hostWindows, allowed.windows) << "windows the host does not own " << when;
    EXPECT_EQ(live.canvases - live.hostCanvases, allowed.canvases) << "canvases of windows the host does not own "
                                                                  << when;
}

void PluginTest::SetUp()
{
    char pattern[] = "/tmp/vantrope-test-XXXXXX";
    profileDir = mkdtemp(pattern);
    allowedLive = {};
    compatReset();
    resetForRun();
}

void PluginTest::resetForRun()
{
    expectNothingLive("left by the run before");
    compatReset();
    resetModuleState();
    compatSetProfileDirectory(profileDir);
    compatSetMessageBoxResponder(fakeMessageBox, nullptr);
    setUpFakeHost(std::vector<int16_t>(100, 0), 0, 99);
}

void PluginTest::TearDown()
{
    expectNothingLive("left at the end of the test");
    std::string command = "rm -rf '" + profileDir + "'";
    if (system(command.c_str()) != 0)
        ADD_FAILURE() << "could not remove " << profileDir;
}

std::string PluginTest::readIni() const
{
    std::ifstream in(iniPath(), std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void PluginTest::writeIni(const std::string &text) const
{
    std::ofstream out(iniPath(), std::ios::binary);
    out << text;
}

// The built-in presets and the host's table of the settings keys: each preset sets all eleven keys
// with values a review keeps as they are, and the host reads a settings file exactly as the plug-in
// loads it.
#include <gtest/gtest.h>
#include <climits>
#include "app/presets.h"
#include "plugin/click_params.h"
#include "plugin/settings.h"
#include "support/fake_host.h"

TEST(Presets, EachSetsEveryKeyWithValuesAReviewKeeps)
{
    ASSERT_GE(presetFileCount, 3);
    for (int32_t i = 0; i < presetFileCount; i++) {
        const PresetFile &preset = presetFiles[i];
        SettingsValues values = defaultSettingsValues();
        bool given[SETTINGS_KEY_COUNT];
        EXPECT_EQ(presetValues(preset, &values, given), SETTINGS_KEY_COUNT) << preset.name;
        std::string error;
        EXPECT_EQ(checkReviewStable(values, &error), 1) << preset.name << ": " << error;
        for (int32_t k = 0; k < SETTINGS_KEY_COUNT; k++) {
            EXPECT_GE(values.value[k], settingsKey(k).setLow) << preset.name << " " << settingsKey(k).name;
            EXPECT_LE(values.value[k], settingsKey(k).setHigh) << preset.name << " " << settingsKey(k).name;
        }
        EXPECT_FALSE(presetSummary(preset).empty()) << preset.name;
        EXPECT_NE(presetFigures(preset).find("% of clicks fixed"), std::string::npos) << preset.name;
        EXPECT_EQ(presetMatching(values), preset.name);
    }
}

class SettingsKeys : public PluginTest {};

// Odd texts, extreme values and missing keys, loaded by the plug-in and read by the host.
TEST_F(SettingsKeys, TheHostReadsTheFileAsThePluginLoadsIt)
{
    const char *const files[] = {
        "",
        ("[Coeffs]\r\nC1=-5\r\nD1= 12abc\r\nC2=99999999999\r\nZoom=0\r\nLineBezier=13\r\nPtsAround=10\r\n"
         "StartOver=7\r\nAutoZoom=-1\r\nRangeDialog=x\r\nUseBaseFreqVer=0\r\nBaseFreqVerS=-3\r\n"),
        "[coeffs]\r\nzoom=13\r\nptsaround=500\r\nc2=+6\r\n",
    };
    for (const char *file : files) {
        writeIni(file);
        loadSettings();
        const ClickParams &p = clickParams;
        const int32_t plugin[SETTINGS_KEY_COUNT] = {p.c1, p.d1, p.c2, p.zoom, p.lineBezier, p.ptsAround,
                                                    (int32_t)p.multipass, (int32_t)p.autoZoom, (int32_t)p.rangeDialog,
                                                    (int32_t)p.useBaseFreqVer, p.baseFreqVerS};
        for (int32_t k = 0; k < SETTINGS_KEY_COUNT; k++) {
            char text[64] = "";
            GetPrivateProfileStringA(SETTINGS_SECTION, settingsKey(k).name,
                                     std::to_string(settingsKey(k).fallback).c_str(), text, sizeof text,
                                     iniPath().c_str());
            EXPECT_EQ(loadedSettingValue(k, parseSettingText(text)), plugin[k]) << settingsKey(k).name << " in " << file;
        }
    }
}

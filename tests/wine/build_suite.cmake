# The Wine suite of one Windows build: wine_arch (i686 or x86_64) and windows_dir, its build tree. Included
# once per build from tests/wine/CMakeLists.txt.
set(windows_plugin ${windows_dir}/Vantrope.xfm)
set(windows_app ${windows_dir}/app/vantrope.exe)
# Programs under Wine see the Unix root as drive Z:.
string(REPLACE "/" "\\" windows_plugin_path "Z:${windows_plugin}")
set(wine_env
  VANTROPE_WINE_ARCH=${wine_arch}
  VANTROPE_WINE_STATE=${CMAKE_CURRENT_BINARY_DIR}/wine-prefix-${wine_arch}.path
  VANTROPE_NATIVE_APP=$<TARGET_FILE:vantrope>
  VANTROPE_WINDOWS_APP=${windows_app})

# The built files, read on disk without running them: every machine checks them, whatever it can execute.
if(wine_arch STREQUAL "i686")
  add_test(NAME wine.i686.exports COMMAND python3 ${wine_dir}/check_exports.py ${windows_plugin})
else()
  add_test(NAME wine.x86_64.exports COMMAND python3 ${wine_dir}/check_exports.py --x86-64 ${windows_plugin})
endif()
set_tests_properties(wine.${wine_arch}.exports PROPERTIES LABELS "wine;wine_${wine_arch}" TIMEOUT 60)
resource_check_test(wine.${wine_arch}.resources ${windows_plugin} "wine;wine_${wine_arch}")

add_test(NAME wine.${wine_arch}.prefix COMMAND ${wine_dir}/if_runnable.sh ${wine_dir}/run_wine.sh setup)
add_test(NAME wine.${wine_arch}.prefix_cleanup COMMAND ${wine_dir}/if_runnable.sh ${wine_dir}/run_wine.sh cleanup)
set_tests_properties(wine.${wine_arch}.prefix PROPERTIES FIXTURES_SETUP vantrope_wine_prefix_${wine_arch} TIMEOUT 240)
set_tests_properties(wine.${wine_arch}.prefix_cleanup PROPERTIES
  FIXTURES_CLEANUP vantrope_wine_prefix_${wine_arch} TIMEOUT 60)
set_tests_properties(wine.${wine_arch}.prefix wine.${wine_arch}.prefix_cleanup PROPERTIES
  LABELS "wine;wine_${wine_arch}" SKIP_RETURN_CODE 77 RESOURCE_LOCK vantrope_wine_${wine_arch}
  ENVIRONMENT "${wine_env}")

wine_test(probe 120 ${wine_dir}/run_wine.sh run 90 ${windows_dir}/tests/wine/probe/probe.exe ${windows_plugin_path})

wine_test(app.too_short_first_run 300
  ${compare} --check too-short-run --settings initial --exit 0 gen:1:1000 --start 100f --end 140f)
# The too-short run saves the start-up values of a module that never loaded the settings; the host
# keeps the user's saved file as it was, in both builds.
wine_test(app.too_short_keeps_saved_settings 300 ${compare} --check too-short-run --ini ${wine_dir}/saved_settings.ini
  --settings unchanged --exit 0 gen:1:1000 --start 100f --end 140f)
# An existing OUT is replaced only with -y (the same option in both builds), and left alone without it.
wine_test(app.existing_out_refused 300 ${compare} --out-exists --exit 2 gen:1:4410)
wine_test(app.existing_out_replaced 300 ${compare} --out-exists --exit 0 gen:1:4410 -y)
wine_test(app.stereo_selection 300
  ${compare} --check stereo-run --settings none --exit 1 gen:2:4410 --all-channels)
# Each channel of a stereo file in turn, and one channel alone: mono selections inside interleaved audio.
wine_test(app.channel_by_channel 300 ${compare} --exit 0 gen:2:4410)
wine_test(app.second_channel 300 ${compare} --exit 0 gen:2:4410 --channel 2 --start 1000f --end 3999f)
# 24-bit audio is presented as 16-bit samples and only the repaired ones are written back: the same
# transcript and the same 24-bit file from both builds.
wine_test(app.twenty_four_bit_audio 300 ${compare} --exit 0 gen:2:6000:24 --auto)
wine_test(app.eight_bit_audio 300
  ${compare} --check wrong-depth-run --settings none --exit 1 gen:1:4410:8)
wine_test(app.shortest_scanned_selection 300
  ${compare} --check shortest-scan-run --exit 0 gen:1:1000 --start 100f --end 141f)

example_run(auto --auto)
example_run(answers --answers repair,stop,auto)
# A preset reaches the plug-in through a private copy of the settings (the Windows build redirects the
# plug-in's profile calls), and the saved file stays byte for byte; --save-settings writes the run's
# values into it in both builds; --list prints the same candidates and spans.
example_run(preset_keeps_saved_settings --preset balanced --auto)
example_run(set_and_save --set C1=8,LineBezier=12 --save-settings --auto)
example_run(list --list --preset thorough)

include(${wine_dir}/steering.cmake)
wine_test(contract 120 ${wine_dir}/run_wine.sh run 90 ${windows_dir}/tests/wine/probe/contract.exe)
include(${wine_dir}/dialog.cmake)

# Steering of a host frame under Wine: a run that ends with "Stop Here" on a file with one click, in a
# host framed "COOL2000SS", one framed "COOL96" and one framed by a class of its own; natively and under
# Wine, with the same transcript. Included from tests/wine/build_suite.cmake (wine_test, compare, click_wav).

# steering_run(NAME CHECK ARGS...): one stopped run on the click file with the review's question box.
function(steering_run name check)
  wine_test(app.steer_${name} 300 ${compare} --check ${check} --exit 0 ${click_wav} --no-dialog --answers stop ${ARGN})
  set_property(TEST wine.${wine_arch}.app.steer_${name} APPEND PROPERTY FIXTURES_REQUIRED vantrope_click_wav)
endfunction()
steering_run(cool2000ss steered-2055-run --frame-class COOL2000SS)
steering_run(cool96 steered-3147-run --frame-class COOL96)
steering_run(other_frame unsteered-run)

# The review dialog under Wine: dialog 105 read back from the built plug-in and compared with the shared
# item table; scripted sessions in the dialog (fields, boxes, bars, a dragged marker, each button) with
# the same transcript and audio natively and under Wine; the view as real GDI paints it against the
# stand-in's canvas, with a screenshot of the open dialog kept in the build tree.
set(template_check ${windows_dir}/tests/wine/dialog/template_check.exe)
wine_test(dialog_template 60 ${wine_dir}/run_wine.sh run 30 ${template_check} ${windows_plugin_path})

# Scripts in files: a ';' would split a CMake argument. Under Wine the same absolute path names the
# file on drive Z:.
example_run(dialog_session --script ${wine_dir}/dialog/session.script)
example_run(dialog_script_runs_out --review "press:next/press:repair" --answers skip,auto)
example_run(dialog_auto --auto --script ${wine_dir}/dialog/auto.script)
# Go Back is disabled at the first candidate: both builds press Stop Here instead.
example_run(dialog_disabled_button --answers back)
example_run(question_form --no-dialog --answers repair,stop,auto)

wine_test(dialog_view 120 ${wine_dir}/dialog/compare_views.sh ${example} ${CMAKE_CURRENT_BINARY_DIR}/dialog-view-${wine_arch})
set_property(TEST wine.${wine_arch}.dialog_view APPEND PROPERTY FIXTURES_REQUIRED vantrope_example)

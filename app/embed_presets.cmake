# Turns the preset files into a C++ source, so that the program carries the very files that are
# installed and shipped: cmake -DPRESET_DIR=... -DOUTPUT=... -P embed_presets.cmake
file(GLOB files "${PRESET_DIR}/*.ini")
list(SORT files)
set(entries "")
set(count 0)
foreach(file IN LISTS files)
  get_filename_component(name "${file}" NAME_WE)
  file(READ "${file}" text)
  string(APPEND entries "    {\"${name}\", R\"vantrope_preset(${text})vantrope_preset\"},\n")
  math(EXPR count "${count} + 1")
endforeach()
if(count EQUAL 0)
  message(FATAL_ERROR "no preset files in ${PRESET_DIR}")
endif()
file(WRITE "${OUTPUT}.part" "// Generated from presets/*.ini by app/embed_presets.cmake; edit those files instead.
#include \"app/presets.h\"

const PresetFile presetFiles[] = {
${entries}};
const int32_t presetFileCount = ${count};
")
file(COPY_FILE "${OUTPUT}.part" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.part")

# The native resource check of a built plug-in: dialog 105 and the toolbar bitmap read straight from the
# PE file, so the i686 Vantrope.xfm is checked even where Wine cannot run 32-bit code. Included by the
# native build's Wine suite; resource_check_test(NAME DLL_PATH [LABELS]) registers one plug-in file.
include_guard(GLOBAL)
if(WIN32 OR CMAKE_CROSSCOMPILING)
  message(FATAL_ERROR "resource_check.cmake belongs to the native build: the check runs on the build machine")
endif()

add_executable(resource_check
  ${CMAKE_CURRENT_LIST_DIR}/resource_check.cpp
  ${CMAKE_CURRENT_LIST_DIR}/pe_resources.cpp
  ${CMAKE_CURRENT_LIST_DIR}/template_compare.cpp
  ${CMAKE_SOURCE_DIR}/ui/dialog_template.cpp)
target_include_directories(resource_check PRIVATE ${CMAKE_SOURCE_DIR})

# LABELS is one argument; quote a list ("wine;unit").
function(resource_check_test name dll_path)
  add_test(NAME ${name} COMMAND resource_check ${dll_path} ${CMAKE_SOURCE_DIR}/ui/toolbar_icon.bmp)
  set_tests_properties(${name} PROPERTIES TIMEOUT 60)
  if(ARGC GREATER 2)
    set_tests_properties(${name} PROPERTIES LABELS "${ARGV2}")
  endif()
endfunction()

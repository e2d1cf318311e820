# SPDX-License-Identifier: GPL-3.0-or-later
# Fails when a source file includes across the layers the wrong way. The layers, lowest first:
#   text <- settings <- stats <- data <- sim <- sweep, report (the domain: no toolkit header at
#   all; the statistics know nothing of the run, the run nothing of the sweep or the report)
#   text <- toolkit <- resources, app <- the window's tools; settings <- resources (the settings' captions)
#   domain <- report (the run's report and JSON) <- app, batch
#   domain <- batch <- the command-line tools (no window: no app, resources or toolkit)
# and Qt only in toolkit/qt, main.cpp, the GUI tools and the Qt tests.
# Run: cmake -DROOT=<source dir> -P check-layers.cmake

cmake_minimum_required(VERSION 3.25)

if(NOT ROOT)
  message(FATAL_ERROR "check-layers: ROOT not set")
endif()

set(domain data settings stats sim sweep)
# Folders of src/ that each folder may include from (its own included).
set(allowed_text text)
set(allowed_toolkit text toolkit)
set(allowed_toolkit/headless text toolkit toolkit/headless)
set(allowed_toolkit/qt text toolkit toolkit/qt)
set(allowed_settings text settings)
set(allowed_stats text settings stats)
set(allowed_data text settings stats data)
set(allowed_sim text settings stats data sim)
set(allowed_sweep text settings stats data sim sweep)
set(allowed_report text ${domain} report)
set(allowed_resources text toolkit settings resources)
set(allowed_app text toolkit ${domain} report resources app)
set(allowed_batch text ${domain} report batch)
set(allowed_main text toolkit toolkit/qt ${domain} resources app)
set(allowed_tools text toolkit toolkit/headless toolkit/qt ${domain} report resources app batch)
set(allowed_cli_tools text ${domain} report batch)
set(allowed_tests text toolkit toolkit/headless toolkit/qt ${domain} report resources app batch)

# The tools that show or script the window; every other tool is a command-line tool.
set(window_tools_regex "^tools/(ScenarioMain|Screenshots|AutoBenchmark|LoadBenchmark|[A-Za-z]*Qt[A-Za-z]*)\\.(cpp|h)$")

# Files where Qt headers may appear.
set(qt_files_regex "^(src/toolkit/qt/|src/main\\.cpp$|tools/(Screenshots|AutoBenchmark|[A-Za-z]*Qt[A-Za-z]*)\\.(cpp|h)$|tests/qt/)")

# The folder of src/ a project include names: the longest known prefix.
function(include_folder header out)
  foreach(prefix toolkit/headless toolkit/qt text toolkit data settings stats sim sweep report resources app batch)
    string(LENGTH "${prefix}/" n)
    string(SUBSTRING "${header}" 0 ${n} head)
    if(head STREQUAL "${prefix}/")
      set(${out} ${prefix} PARENT_SCOPE)
      return()
    endif()
  endforeach()
  set(${out} "" PARENT_SCOPE)
endfunction()

# The layer a file belongs to.
function(file_layer rel out)
  if(rel STREQUAL "src/main.cpp")
    set(${out} main PARENT_SCOPE)
  elseif(rel MATCHES "^src/(toolkit/headless|toolkit/qt)/")
    set(${out} ${CMAKE_MATCH_1} PARENT_SCOPE)
  elseif(rel MATCHES "^src/([a-z]+)/")
    set(${out} ${CMAKE_MATCH_1} PARENT_SCOPE)
  elseif(rel MATCHES "${window_tools_regex}")
    set(${out} tools PARENT_SCOPE)
  elseif(rel MATCHES "^tools/")
    set(${out} cli_tools PARENT_SCOPE)
  elseif(rel MATCHES "^tests/")
    set(${out} tests PARENT_SCOPE)
  else()
    set(${out} "" PARENT_SCOPE)
  endif()
endfunction()

file(GLOB_RECURSE files RELATIVE ${ROOT}
  ${ROOT}/src/*.h ${ROOT}/src/*.cpp ${ROOT}/tools/*.h ${ROOT}/tools/*.cpp ${ROOT}/tests/*.h ${ROOT}/tests/*.cpp)
set(violations 0)
foreach(rel IN LISTS files)
  file_layer("${rel}" layer)
  if(NOT layer)
    continue()
  endif()
  file(STRINGS ${ROOT}/${rel} includes REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<]")
  foreach(line IN LISTS includes)
    if(line MATCHES "#[ \t]*include[ \t]*<(Q[A-Za-z]*|Qt[A-Za-z]*/[^>]*)>")
      if(NOT rel MATCHES "${qt_files_regex}")
        message(SEND_ERROR "${rel}: Qt header <${CMAKE_MATCH_1}> outside the Qt front end")
        math(EXPR violations "${violations} + 1")
      endif()
      continue()
    endif()
    if(NOT line MATCHES "#[ \t]*include[ \t]*\"([^\"]+)\"")
      continue()
    endif()
    include_folder("${CMAKE_MATCH_1}" target)
    if(NOT target)
      continue()   # a header beside the file (tools/, tests/support/) or outside src/
    endif()
    if(NOT target IN_LIST allowed_${layer})
      message(SEND_ERROR "${rel}: includes \"${CMAKE_MATCH_1}\": ${layer} may not depend on ${target}")
      math(EXPR violations "${violations} + 1")
    endif()
  endforeach()
endforeach()

list(LENGTH files count)
if(violations GREATER 0)
  message(FATAL_ERROR "${violations} wrong-way include(s) in ${count} files")
endif()
message(STATUS "layers hold in ${count} files")

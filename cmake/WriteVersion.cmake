# SPDX-License-Identifier: GPL-3.0-or-later
# Writes text/Version.h for the programs: the project's version, followed in a build from a git
# checkout by its commit ("1.0+g1a2b3c4"), and the licence. The file is rewritten only when its
# text changes, so a build on the same commit recompiles nothing.
# Run: cmake -DSOURCE_DIR=<source dir> -DOUTPUT=<header> -DVERSION=<x.y> -DLICENCE=<SPDX id>
#            -DCOPYRIGHT=<year and holder> -P WriteVersion.cmake

cmake_minimum_required(VERSION 3.25)

set(build_version ${VERSION})
find_program(git_program git)
if(git_program)
  # Only the source folder's own checkout counts: an unpacked release inside another
  # repository has no commit of its own.
  execute_process(COMMAND ${git_program} -C ${SOURCE_DIR} rev-parse --show-toplevel
    OUTPUT_VARIABLE top RESULT_VARIABLE failed OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  if(NOT failed)
    file(REAL_PATH "${SOURCE_DIR}" source)
    file(REAL_PATH "${top}" top)
  endif()
  if(NOT failed AND top STREQUAL source)
    execute_process(COMMAND ${git_program} -C ${SOURCE_DIR} rev-parse --short HEAD
      OUTPUT_VARIABLE commit RESULT_VARIABLE failed OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    if(NOT failed AND commit)
      set(build_version "${VERSION}+g${commit}")
    endif()
  endif()
endif()

set(text "// Written by the build from the version in CMakeLists.txt (cmake/WriteVersion.cmake).
#pragma once

#include <string_view>

namespace kv {

// The release, as the package and the man pages name it.
inline constexpr std::string_view kVersion = \"${VERSION}\";
// The release and, in a build from a git checkout, its commit: what --version shows.
inline constexpr std::string_view kBuildVersion = \"${build_version}\";
// The SPDX identifier of the licence.
inline constexpr std::string_view kLicence = \"${LICENCE}\";
inline constexpr std::string_view kCopyright = \"${COPYRIGHT}\";

}  // namespace kv
")

set(old "")
if(EXISTS ${OUTPUT})
  file(READ ${OUTPUT} old)
endif()
if(NOT old STREQUAL text)
  file(WRITE ${OUTPUT} "${text}")
endif()

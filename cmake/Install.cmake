# SPDX-License-Identifier: GPL-3.0-or-later
# Installing Kirvane and packaging it for Debian: the programs, the desktop entry, the icon in
# the hicolor theme, the man pages, the sample working folder, the copyright and changelogs,
# and the package's lintian overrides. `cmake --install build` installs; `cpack -G DEB` in the
# build folder makes kirvane_<version>_<arch>.deb.

include(GNUInstallDirs)

set(kv_packaging ${CMAKE_SOURCE_DIR}/packaging)
set(kv_man_pages)

foreach(program IN ITEMS kirvane kirvane-batch kirvane-sweep)
  if(NOT TARGET ${program})
    continue()
  endif()
  install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  # Each page in English and, where written, in Japanese; gzipped, as Debian keeps them.
  foreach(language IN ITEMS "" "ja")
    set(page ${kv_packaging}/man/${language}/${program}.1)
    if(NOT EXISTS ${page})
      continue()
    endif()
    # The page names the version of this build.
    set(copy ${CMAKE_BINARY_DIR}/man/${language}/${program}.1)
    configure_file(${page} ${copy} @ONLY)
    add_custom_command(OUTPUT ${copy}.gz
      COMMAND gzip -9nkf ${copy}
      DEPENDS ${copy}
      VERBATIM)
    list(APPEND kv_man_pages ${copy}.gz)
    if(language)
      install(FILES ${copy}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/${language}/man1)
    else()
      install(FILES ${copy}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
    endif()
  endforeach()
endforeach()
add_custom_target(kv_man_pages ALL DEPENDS ${kv_man_pages})

# The menu entry and its icon belong to the window.
if(TARGET kirvane)
  install(FILES ${kv_packaging}/kirvane.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${CMAKE_SOURCE_DIR}/src/resources/kirvane.svg
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  file(GLOB kv_icon_sizes RELATIVE ${kv_packaging}/icons ${kv_packaging}/icons/*x*)
  foreach(size IN LISTS kv_icon_sizes)
    install(FILES ${kv_packaging}/icons/${size}/kirvane.png
      DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}/apps)
  endforeach()
endif()

# A ready working folder to copy: the programs read index.txt from the folder they start in.
set(kv_doc ${CMAKE_INSTALL_DATADIR}/doc/kirvane)
install(FILES ${CMAKE_SOURCE_DIR}/sample/index.txt ${CMAKE_SOURCE_DIR}/sample/signals.csv
  DESTINATION ${kv_doc}/examples)

set(kv_contact "Kirvane developers <developers@kirvane.org>")

# The licence in the machine-readable form Debian reads.
configure_file(${kv_packaging}/copyright ${CMAKE_BINARY_DIR}/doc/copyright @ONLY)

# CHANGELOG.md as the changelog, and for this native package a Debian changelog with one entry
# for the release, dated as CHANGELOG.md dates it, which points there. lintian reads the Debian
# one; CHANGELOG.md is not in that format.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/CHANGELOG.md)
string(REPLACE "." "\\." kv_version_pattern ${PROJECT_VERSION})
file(STRINGS ${CMAKE_SOURCE_DIR}/CHANGELOG.md kv_release_heading
  REGEX "^## \\[${kv_version_pattern}\\] - [0-9]+-[0-9]+-[0-9]+$")
if(NOT kv_release_heading MATCHES "([0-9]+-[0-9]+-[0-9]+)$")
  message(FATAL_ERROR "CHANGELOG.md has no section \"## [${PROJECT_VERSION}] - YYYY-MM-DD\" for "
    "the version in CMakeLists.txt: name the release there")
endif()
execute_process(COMMAND date -u -R -d ${CMAKE_MATCH_1}
  OUTPUT_VARIABLE kv_release_date OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/doc/changelog.Debian @ONLY CONTENT [=[
kirvane (@PROJECT_VERSION@) unstable; urgency=medium

  * Kirvane @PROJECT_VERSION@; its changes are listed in changelog.gz.

 -- @kv_contact@  @kv_release_date@
]=])
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/doc/changelog.gz ${CMAKE_BINARY_DIR}/doc/changelog.Debian.gz
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/CHANGELOG.md ${CMAKE_BINARY_DIR}/doc/changelog
  COMMAND gzip -9nf ${CMAKE_BINARY_DIR}/doc/changelog
  COMMAND gzip -9nkf ${CMAKE_BINARY_DIR}/doc/changelog.Debian
  DEPENDS ${CMAKE_SOURCE_DIR}/CHANGELOG.md ${CMAKE_BINARY_DIR}/doc/changelog.Debian
  VERBATIM)
add_custom_target(kv_changelog ALL DEPENDS ${CMAKE_BINARY_DIR}/doc/changelog.gz)
install(FILES ${CMAKE_BINARY_DIR}/doc/copyright ${CMAKE_BINARY_DIR}/doc/changelog.gz
  ${CMAKE_BINARY_DIR}/doc/changelog.Debian.gz DESTINATION ${kv_doc})
install(FILES ${kv_packaging}/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
  RENAME kirvane)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kirvane)
set(CPACK_PACKAGE_VENDOR Kirvane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${kv_contact}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "back-testing tool for Japanese stock-trading signals")
# The long description, in the lines the package shows it in.
set(CPACK_PACKAGE_DESCRIPTION [=[
Kirvane tallies a list of stock-trading signals (success, failure and
unknown shares, average profit rates, per-stock rankings) and replays them
as a day-by-day portfolio with leverage, lot sizing, broker commissions and
tax. The window speaks Japanese; its files are code page 932 text.
kirvane-batch runs the same back-test from the command line, and
kirvane-sweep runs it under every combination of a grid of settings.]=])
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Control files with the modes Debian expects, whatever the umask of the build.
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(kv_depends "libc6 (>= 2.34), libstdc++6 (>= 12), libgcc-s1")
if(TARGET kirvane)
  # The platform plugins (xcb) and a CJK font are not linked but without them there is no
  # window or every caption is boxes; Qt Charts is for the charts of the results window.
  string(APPEND kv_depends ", libqt6core6 (>= 6.4.2), libqt6gui6 (>= 6.4.2), "
    "libqt6widgets6 (>= 6.4.2), libqt6charts6 (>= 6.4.2), qt6-qpa-plugins (>= 6.4.2), fonts-noto-cjk")
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
endif()
set(CPACK_DEBIAN_PACKAGE_DEPENDS "${kv_depends}")
include(CPack)

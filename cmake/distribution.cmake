# What a technician downloads, built from the release layout:
#   dist       <build>/dist/ODCSetup-<version>/ — the installed folder:
#                ModelLauncher.exe, odctool.exe, SettingsByName.html,
#                VM40/Setup.exe, VM40/Setup.dll, VM40/UserGuide.html (+ pictures),
#                VM40/TextAddressBooks.html
#   installer  <build>/ODCSetup-<version>-win64.exe (NSIS, per machine)
#   portable_zip <build>/ODCSetup-<version>-win64-portable.zip (same folder)
# The version is the project version, as in the version resources and
# odctool --version.
# cmark-gfm renders the tables of the settings reference; plain cmark would
# leave them as lines of text.
find_program(ODC_MARKDOWN NAMES cmark-gfm cmark)
find_program(ODC_MAKENSIS makensis)

set(ODC_DIST_NAME ODCSetup-${PROJECT_VERSION})
set(ODC_DIST_DIR ${CMAKE_BINARY_DIR}/dist/${ODC_DIST_NAME})
set(ODC_USER_GUIDE ${CMAKE_BINARY_DIR}/guide/UserGuide.html)

# The shipped programs carry no debugging information.
set(ODC_STRIP_COMMANDS)
if(CMAKE_STRIP)
  foreach(program ModelLauncher.exe odctool.exe VM40/Setup.exe)
    list(APPEND ODC_STRIP_COMMANDS COMMAND ${CMAKE_STRIP} --strip-debug ${ODC_DIST_DIR}/${program})
  endforeach()
endif()

if(ODC_MARKDOWN)
  # Each page of the documentation a technician gets: source, where it is
  # installed, its title. The guide's links to the others follow them.
  set(ODC_GUIDE_LINKS
      "settings_by_name.md=../SettingsByName.html,text_address_books.md=TextAddressBooks.html")
  set(ODC_SHIPPED_PAGES
      "user_guide.md|${ODC_USER_GUIDE}|user guide"
      "text_address_books.md|${CMAKE_BINARY_DIR}/guide/TextAddressBooks.html|address books from other programs"
      "settings_by_name.md|${CMAKE_BINARY_DIR}/guide_root/SettingsByName.html|machine settings by name")
  set(ODC_SHIPPED_HTML)
  foreach(entry ${ODC_SHIPPED_PAGES})
    string(REPLACE "|" ";" fields "${entry}")
    list(GET fields 0 source)
    list(GET fields 1 output)
    list(GET fields 2 title)
    add_custom_command(
      OUTPUT ${output}
      COMMAND ${CMAKE_COMMAND} -DCMARK=${ODC_MARKDOWN} -DINPUT=${CMAKE_SOURCE_DIR}/docs/${source}
              -DOUTPUT=${output} -DVERSION=${PROJECT_VERSION} -DTITLE=${title}
              -DLINKS=${ODC_GUIDE_LINKS} -P ${CMAKE_SOURCE_DIR}/cmake/render_user_guide.cmake
      DEPENDS ${CMAKE_SOURCE_DIR}/docs/${source} ${CMAKE_SOURCE_DIR}/cmake/render_user_guide.cmake
      COMMENT "${source} as HTML"
      VERBATIM)
    list(APPEND ODC_SHIPPED_HTML ${output})
  endforeach()
  add_custom_target(user_guide DEPENDS ${ODC_SHIPPED_HTML})

  add_custom_target(dist
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${ODC_DIST_DIR}
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_BINARY_DIR}/release ${ODC_DIST_DIR}
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:odctool> ${ODC_DIST_DIR}/odctool.exe
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_BINARY_DIR}/guide ${ODC_DIST_DIR}/VM40
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_BINARY_DIR}/guide_root ${ODC_DIST_DIR}
    ${ODC_STRIP_COMMANDS}
    COMMENT "Distribution folder ${ODC_DIST_DIR}"
    VERBATIM)
  add_dependencies(dist release_layout odctool user_guide)

  add_custom_target(portable_zip
    COMMAND ${CMAKE_COMMAND} -E tar cf ${CMAKE_BINARY_DIR}/${ODC_DIST_NAME}-win64-portable.zip
            --format=zip ${ODC_DIST_NAME}
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/dist
    COMMENT "Portable zip ${ODC_DIST_NAME}-win64-portable.zip"
    VERBATIM)
  add_dependencies(portable_zip dist)
else()
  message(STATUS "cmark not found: no user guide, installer or portable zip "
                 "(scripts/ensure_packages.sh installs it)")
endif()

if(ODC_MARKDOWN AND ODC_MAKENSIS)
  set(ODC_INSTALLER ${CMAKE_BINARY_DIR}/${ODC_DIST_NAME}-win64.exe)
  set(ODC_NSI_VERSION ${PROJECT_VERSION})
  set(ODC_NSI_DIST ${ODC_DIST_DIR})
  set(ODC_NSI_OUTPUT ${ODC_INSTALLER})
  set(ODC_NSI_ICON ${CMAKE_SOURCE_DIR}/setup/res/setup.ico)
  configure_file(${CMAKE_SOURCE_DIR}/cmake/installer.nsi.in ${CMAKE_BINARY_DIR}/installer.nsi @ONLY)
  add_custom_target(installer
    COMMAND ${ODC_MAKENSIS} -V2 -NOCD ${CMAKE_BINARY_DIR}/installer.nsi
    COMMENT "Installer ${ODC_DIST_NAME}-win64.exe"
    VERBATIM)
  add_dependencies(installer dist)
else()
  message(STATUS "makensis not found: no installer target")
endif()

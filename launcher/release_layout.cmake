# release_layout: the folder as it ships, under <build>/release:
#   ModelLauncher.exe
#   VM40/Setup.exe, VM40/Setup.dll
# The root adds setup/ before launcher/, so whether Setup.exe exists is known
# here at generate time; without it the layout holds the launcher and the
# resource module only. Build it with `cmake --build <dir> --target
# release_layout`.
set(ODC_RELEASE_DIR ${CMAKE_BINARY_DIR}/release)
set(ODC_RELEASE_COMMANDS
  COMMAND ${CMAKE_COMMAND} -E make_directory ${ODC_RELEASE_DIR}/VM40
  COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:ModelLauncher> ${ODC_RELEASE_DIR}/)
set(ODC_RELEASE_TARGETS ModelLauncher)
if(TARGET Setup)
  list(APPEND ODC_RELEASE_COMMANDS
    COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:Setup> ${ODC_RELEASE_DIR}/VM40/Setup.exe)
  list(APPEND ODC_RELEASE_TARGETS Setup)
endif()
if(TARGET SetupResources)
  list(APPEND ODC_RELEASE_COMMANDS
    COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:SetupResources> ${ODC_RELEASE_DIR}/VM40/Setup.dll)
  list(APPEND ODC_RELEASE_TARGETS SetupResources)
endif()
add_custom_target(release_layout ${ODC_RELEASE_COMMANDS}
  COMMENT "Release layout in ${ODC_RELEASE_DIR}"
  VERBATIM)
add_dependencies(release_layout ${ODC_RELEASE_TARGETS})

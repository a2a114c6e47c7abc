# Windows resources with windres: enables RC and makes windres write a
# dependency file, so a change to resource.h or to an included .rc rebuilds
# the resource object. Files named inside a .rc (bitmaps, icons, data) are
# not seen by the preprocessor: give them to odc_resource_depends().
macro(odc_enable_resources)
  enable_language(RC)
  set(CMAKE_RC_COMPILE_OBJECT
      "<CMAKE_RC_COMPILER> -O coff <DEFINES> <INCLUDES> <FLAGS> --preprocessor-arg=-MD --preprocessor-arg=-MF --preprocessor-arg=<DEP_FILE> --preprocessor-arg=-MT --preprocessor-arg=<OBJECT> <SOURCE> <OBJECT>")
  set(CMAKE_NINJA_DEPTYPE_RC gcc)
  set(CMAKE_DEPFILE_FLAGS_RC "")
endmacro()

# odc_resource_depends(<rc file> <files...>): rebuild the resource object
# when a picture, manifest or data file that the .rc names changes.
function(odc_resource_depends rc_file)
  set_property(SOURCE ${rc_file} APPEND PROPERTY OBJECT_DEPENDS ${ARGN})
endfunction()

# odc_resource_module(<target> <rc file> [definitions...]): a resource-only
# DLL. No C runtime and no entry point: the program only ever loads it with
# LoadLibrary for its strings, menus, dialogs and bitmaps.
function(odc_resource_module target rc_file)
  add_library(${target} SHARED ${rc_file})
  set_target_properties(${target} PROPERTIES
    PREFIX ""
    LINKER_LANGUAGE C
    RUNTIME_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
    LIBRARY_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
  target_link_options(${target} PRIVATE -nostdlib -Wl,--entry=0)
  if(ARGN)
    target_compile_definitions(${target} PRIVATE ${ARGN})
  endif()
  # MinGW would also produce an import library; nothing links against it.
  set_target_properties(${target} PROPERTIES IMPORT_SUFFIX ".dll.a")
endfunction()

# The Windows programs: 32-bit GUI executables, statically linked so that
# they import only Windows system DLLs, small as programs of this kind are,
# each entered at the one wWinMain they share (common/win32_program_entry),
# taking its start-up from Windows in UTF-16.
#
#   navo_add_windows_program(NAME <target> OUTPUT_NAME <Name>
#                            SOURCES <files...> LIBRARIES <libs...>
#                            [RESOURCE_FILES <files...>] [ALLOWANCE_FILES <files...>])
#
# RESOURCE_FILES are what the resource script of SOURCES takes in (icons,
# cursor, bitmaps, manifest, resource.h): the resource compiler does not
# report them, so they are declared, and editing one rebuilds the script.
#
# Also registers the checks that every program must pass: PE i386, GUI
# subsystem, no DLL but Windows' known DLLs, no 8-bit text call, under
# 100 KB. ALLOWANCE_FILES are large resources built into the program
# (pictures); the limit is 100 KB beside them, that is, their sizes are
# added to it.

# Code that goes into a program stays free of the C++ runtime's heavier
# parts: no exceptions, no run-time type information.
set(NAVO_WINDOWS_CODE_FLAGS -fno-exceptions -fno-rtti)

# navo_add_windows_library(<target> <sources...>): a static library that
# the programs link, built with the programs' code flags.
function(navo_add_windows_library target)
  add_library(${target} STATIC ${ARGN})
  target_compile_options(${target} PRIVATE ${NAVO_WINDOWS_CODE_FLAGS})
endfunction()

function(navo_add_windows_program)
  cmake_parse_arguments(PROGRAM "" "NAME;OUTPUT_NAME"
                        "SOURCES;LIBRARIES;RESOURCE_FILES;ALLOWANCE_FILES" ${ARGN})
  add_executable(${PROGRAM_NAME} WIN32 ${PROJECT_SOURCE_DIR}/common/win32_program_entry.cpp
                                       ${PROGRAM_SOURCES})
  set(resource_files "")
  foreach(file ${PROGRAM_RESOURCE_FILES})
    get_filename_component(path ${file} ABSOLUTE)
    list(APPEND resource_files ${path})
  endforeach()
  foreach(source ${PROGRAM_SOURCES})
    if(source MATCHES "\\.rc$")
      set_property(SOURCE ${source} APPEND PROPERTY OBJECT_DEPENDS ${resource_files})
    endif()
  endforeach()
  set_target_properties(${PROGRAM_NAME} PROPERTIES OUTPUT_NAME ${PROGRAM_OUTPUT_NAME})
  target_compile_options(${PROGRAM_NAME} PRIVATE -Os ${NAVO_WINDOWS_CODE_FLAGS})
  # --gc-sections drops whole sections nothing refers to: the compiler's
  # name in every object (.rdata$zzz) and the unused data of the runtime's
  # objects, 0.5 to 1 KB a program. Our code is not split a function a
  # section (-ffunction-sections): all of it is used, and the split only
  # adds padding; with -fdata-sections MinGW's GCC puts zero-filled objects
  # in .data$ sections, held in the file, not in .bss (NvCodeFind: +21 KB).
  target_link_options(${PROGRAM_NAME} PRIVATE -static -s -mwindows -municode -Wl,--gc-sections
                      -Wl,--require-defined=__load_config_used)
  # The load configuration that ld leaves out of the header.
  add_custom_command(TARGET ${PROGRAM_NAME} POST_BUILD
                     COMMAND python3 ${PROJECT_SOURCE_DIR}/cmake/pe_load_configuration.py
                             $<TARGET_FILE:${PROGRAM_NAME}>
                     VERBATIM)
  target_link_libraries(${PROGRAM_NAME} PRIVATE ${PROGRAM_LIBRARIES})

  string(REPLACE ";" "," allowance "${PROGRAM_ALLOWANCE_FILES}")
  add_test(NAME ${PROGRAM_OUTPUT_NAME}_is_a_small_system_only_win32_program
           COMMAND bash ${PROJECT_SOURCE_DIR}/tests/support/check_windows_program.sh
                   $<TARGET_FILE:${PROGRAM_NAME}> ${allowance})
endfunction()

# Everything Windows-side links statically: no MinGW runtime DLL travels with
# the deliverables.
add_link_options(-static -static-libgcc -static-libstdc++)
add_compile_definitions(WINVER=0x0601 _WIN32_WINNT=0x0601 _WIN32_IE=0x0800 NOMINMAX WIN32_LEAN_AND_MEAN)
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -c 65001")
# Warnings of the resource compiler and the linker are errors, as the
# compiler's are.
set(CMAKE_RC_COMPILE_OBJECT
    "${CMAKE_CURRENT_LIST_DIR}/windres-strict.sh <CMAKE_RC_COMPILER> -O coff <DEFINES> <INCLUDES> <FLAGS> <SOURCE> <OBJECT>")
add_link_options(-Wl,--fatal-warnings)
# The linker's map of a shipped binary, written beside it as NAME.map: which
# library objects went into it (scripts/check-binaries.sh reads it).
function(pp_write_link_map target)
  target_link_options(${target} PRIVATE "-Wl,-Map=$<TARGET_FILE:${target}>.map")
endfunction()
set(PP_VERSION_RC_DEFINES
    PP_VERSION_MAJOR=${PROJECT_VERSION_MAJOR} PP_VERSION_MINOR=${PROJECT_VERSION_MINOR}
    PP_VERSION_PATCH=${PROJECT_VERSION_PATCH})
# Small binaries: unused code dropped, symbols stripped in release builds.
add_compile_options(-ffunction-sections -fdata-sections)
add_link_options(-Wl,--gc-sections $<$<CONFIG:MinSizeRel,Release>:-s>)
# The linker keeps every unwind table (KEEP(*(.eh_frame*)) in the i686 and
# x86_64 scripts), and with it every function of an object it links, used or
# not. A program with PP_WHOLE_PROGRAM set is therefore linked from the
# compiler's intermediate code of all its objects (link-time optimisation), so
# what it never calls is not compiled at all. The objects also carry their
# ordinary code, which every other link takes: GCC 12 stops with an internal
# error on Setup's and the plug-in's whole programs.
add_compile_options(-flto -ffat-lto-objects)
add_link_options("$<IF:$<BOOL:$<TARGET_PROPERTY:PP_WHOLE_PROGRAM>>,-flto,-fno-lto>"
                 "$<$<BOOL:$<TARGET_PROPERTY:PP_WHOLE_PROGRAM>>:-flto-partition=one>")

# Reproducible binaries: two builds of the same sources in different folders
# give the same bytes. The linker leaves the PE time stamp at zero, and the
# source and build folders are written as relative names wherever the compiler
# records a path (__FILE__, debug information).
add_link_options(-Wl,--no-insert-timestamp)
add_compile_options(
  "-ffile-prefix-map=${PROJECT_SOURCE_DIR}=." "-ffile-prefix-map=${CMAKE_BINARY_DIR}=build")

# The module-definition file of a DLL whose exports are found by plain name
# (GetProcAddress). The source file lists each export with its stdcall
# argument bytes ("DllGetClassObject@12"). The i686 objects carry exactly those
# decorated names, so the file made for i686 maps the plain export name to the
# decorated symbol; x86_64 has no decoration and takes the plain name. Either
# way the linker resolves every export exactly, without its stdcall guessing.
function(pp_add_exports target source_def)
  file(READ "${source_def}" text)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    string(REGEX REPLACE "([A-Za-z_][A-Za-z0-9_]*)@([0-9]+)" "\\1 = \\1@\\2" text "${text}")
  else()
    string(REGEX REPLACE "([A-Za-z_][A-Za-z0-9_]*)@([0-9]+)" "\\1" text "${text}")
  endif()
  get_filename_component(name "${source_def}" NAME)
  set(made "${CMAKE_CURRENT_BINARY_DIR}/${name}")
  file(CONFIGURE OUTPUT "${made}" CONTENT "${text}" @ONLY)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${source_def}")
  target_sources(${target} PRIVATE "${made}")
endfunction()

# Everything Windows-side links statically: no MinGW runtime DLL travels with
# the deliverables.
add_link_options(-static -static-libgcc -static-libstdc++)
add_compile_definitions(WINVER=0x0601 _WIN32_WINNT=0x0601 _WIN32_IE=0x0800 NOMINMAX WIN32_LEAN_AND_MEAN)
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -c 65001")
set(PP_VERSION_RC_DEFINES
    PP_VERSION_MAJOR=${PROJECT_VERSION_MAJOR} PP_VERSION_MINOR=${PROJECT_VERSION_MINOR}
    PP_VERSION_PATCH=${PROJECT_VERSION_PATCH})
# Small binaries: unused code dropped, symbols stripped in release builds.
add_compile_options(-ffunction-sections -fdata-sections)
add_link_options(-Wl,--gc-sections $<$<CONFIG:MinSizeRel,Release>:-s>)

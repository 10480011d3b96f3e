# Host side: the build tools, their tests, and the two Windows builds.
include(ExternalProject)
include(GoogleTest)
enable_testing()

set(CMAKE_CXX_STANDARD 17)
set(CMAKE_CXX_STANDARD_REQUIRED ON)
set(CMAKE_CXX_EXTENSIONS OFF)
if(NOT CMAKE_BUILD_TYPE)
    set(CMAKE_BUILD_TYPE Release)
endif()
add_compile_options(-Wall -Wextra -Werror)
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)

add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
add_subdirectory(tools)
add_subdirectory(tests/hlpc)
add_subdirectory(tests/licence)
add_subdirectory(tests/szdd)

set(LV_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)

function(add_windows_build name triplet)
    ExternalProject_Add(${name}
        SOURCE_DIR ${CMAKE_SOURCE_DIR}
        BINARY_DIR ${CMAKE_BINARY_DIR}/${name}
        CMAKE_ARGS
            -DCMAKE_TOOLCHAIN_FILE=${CMAKE_SOURCE_DIR}/cmake/toolchain-${triplet}.cmake
            -DCMAKE_BUILD_TYPE=MinSizeRel
            -DLV_HOST_TOOLS_DIR=${CMAKE_BINARY_DIR}/bin
            -DLV_WINEPREFIX=${LV_WINEPREFIX}
            ${ARGN}
        INSTALL_COMMAND ""
        BUILD_ALWAYS TRUE
        DEPENDS ${LV_HOST_TOOLS})
endfunction()

add_windows_build(win32 i686-w64-mingw32)
add_windows_build(win64 x86_64-w64-mingw32 -DLV_BUILD_TESTS=ON)

add_subdirectory(tests/artifact)

# `cmake --build build --target payload_bench`: the SZDD codec's sizes and speeds
# on the shipped build's payload files.
add_custom_target(payload_bench
    COMMAND ${CMAKE_COMMAND} --build ${CMAKE_BINARY_DIR}/win32 --target payload_bench
    USES_TERMINAL VERBATIM)
add_dependencies(payload_bench win32 szdd_bench)

# One ctest run from the top covers the host tools and the Windows tests.
file(WRITE ${CMAKE_BINARY_DIR}/win64-tests.cmake "subdirs(\"${CMAKE_BINARY_DIR}/win64\")\n")
set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${CMAKE_BINARY_DIR}/win64-tests.cmake)

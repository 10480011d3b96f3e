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
add_compile_options(-Wall -Wextra -Werror -Wdate-time)
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

# Signing the shipped programs (cmake/WindowsBuild.cmake): a PKCS#12 file with
# the key and certificate; its password is read from the environment variable
# LV_SIGN_PASSWORD when the build runs, so it is never on a command line.
set(LV_SIGN_PKCS12 "" CACHE FILEPATH "PKCS#12 file to sign the shipped programs with (password in LV_SIGN_PASSWORD)")
set(LV_SIGN_ARGS -DLV_SIGN_PKCS12=)
if(LV_SIGN_PKCS12)
    file(REAL_PATH ${LV_SIGN_PKCS12} pkcs12 BASE_DIRECTORY ${CMAKE_BINARY_DIR})
    if(NOT EXISTS ${pkcs12})
        message(FATAL_ERROR "LV_SIGN_PKCS12: no file ${pkcs12}")
    endif()
    find_program(LV_OSSLSIGNCODE osslsigncode REQUIRED)
    # A signature records when it was made: the commit's time, so that the
    # same commit signs to the same bytes.
    if(DEFINED ENV{SOURCE_DATE_EPOCH})
        set(sign_time $ENV{SOURCE_DATE_EPOCH})
    else()
        execute_process(COMMAND git -C ${CMAKE_SOURCE_DIR} log -1 --format=%ct
            OUTPUT_VARIABLE sign_time OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    endif()
    if(NOT sign_time MATCHES "^[0-9]+$")
        message(FATAL_ERROR "Signing needs the time of the commit: set SOURCE_DATE_EPOCH outside a git checkout")
    endif()
    set(LV_SIGN_ARGS -DLV_SIGN_PKCS12=${pkcs12} -DLV_SIGN_TIME=${sign_time} -DLV_OSSLSIGNCODE=${LV_OSSLSIGNCODE})
endif()

add_windows_build(win32 i686-w64-mingw32 ${LV_SIGN_ARGS})
# The 64-bit build's tests also drive the shipped 32-bit program, in a prefix of its own.
add_windows_build(win64 x86_64-w64-mingw32 -DLV_BUILD_TESTS=ON
    -DLV_WIN32_BINARY_DIR=${CMAKE_BINARY_DIR}/win32 -DLV_WINEPREFIX32=${CMAKE_BINARY_DIR}/wineprefix32)

add_subdirectory(tests/artifact)

# The release (scripts/release.sh): the same bytes as this tree's from another
# folder, and a signed release that verifies. Each builds the shipped program
# anew with both cores, about a minute per build, so they run alone.
foreach(mode reproducible signed)
    add_test(NAME release_${mode}
        COMMAND ${CMAKE_SOURCE_DIR}/tests/release/release_test.sh ${mode} ${CMAKE_BINARY_DIR}/release-tests/${mode}
                ${CMAKE_BINARY_DIR})
    set_tests_properties(release_${mode} PROPERTIES PROCESSORS 2 TIMEOUT 900)
endforeach()

# `cmake --build build --target payload_bench`: the SZDD codec's sizes and speeds
# on the shipped build's payload files.
add_custom_target(payload_bench
    COMMAND ${CMAKE_COMMAND} --build ${CMAKE_BINARY_DIR}/win32 --target payload_bench
    USES_TERMINAL VERBATIM)
add_dependencies(payload_bench win32 szdd_bench)

# One ctest run from the top covers the host tools and the Windows tests.
file(WRITE ${CMAKE_BINARY_DIR}/win64-tests.cmake "subdirs(\"${CMAKE_BINARY_DIR}/win64\")\n")
set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${CMAKE_BINARY_DIR}/win64-tests.cmake)

# A Windows build: the installer, and with LV_BUILD_TESTS its tests.
enable_language(RC)

# C++20: std::string is then made from what the program uses, not taken whole
# from the library's ready-made copy.
set(CMAKE_CXX_STANDARD 20)
set(CMAKE_CXX_STANDARD_REQUIRED ON)
set(CMAKE_CXX_EXTENSIONS OFF)
# The shipped programs catch no exceptions, and are built without them
# (framework/runtime.cpp says why); they ask no object its type either, so
# their classes carry no type information; their unused code is dropped.
# The same sources give the same bytes wherever and whenever they are built:
# the programs' headers carry no link time (zero instead), the code no build
# folder, and a date macro stops the build.
if(MSVC)
    add_compile_options(/W4 /WX /Brepro)
    set(LV_SHIPPED_OPTIONS /EHs-c- /GR-)
    set(LV_SHIPPED_LINK_OPTIONS /OPT:REF /Brepro)
else()
    add_compile_options(-Wall -Wextra -Werror -Wdate-time -ffunction-sections -fdata-sections
        -ffile-prefix-map=${CMAKE_SOURCE_DIR}/= -ffile-prefix-map=${CMAKE_BINARY_DIR}/=)
    # One file that runs on a bare Windows: no MinGW runtime DLL beside it.
    add_link_options(-static -static-libgcc -static-libstdc++)
    add_link_options(-Wl,--no-insert-timestamp)
    # Nothing unwinds their stack either: without tables for it, a third of
    # the program's size that only a debugger or an exception would read.
    set(LV_SHIPPED_OPTIONS -fno-exceptions -fno-rtti -fno-asynchronous-unwind-tables -fno-unwind-tables)
    set(LV_SHIPPED_LINK_OPTIONS -s -Wl,--gc-sections)
endif()
# Windows XP's API is the floor: nothing newer is called.
add_compile_definitions(WINVER=0x0501 _WIN32_WINNT=0x0501 _WIN32_IE=0x0600 STRICT NOMINMAX)

set(LV_SYSTEM_LIBS user32 gdi32 shell32 ole32 oleaut32 advapi32)

# One list per folder. What the installer and its uninstaller share (path
# text, files, keys, access lists, one set-up at a time, libraries from the
# system folder, a running product, the shell's folders, the seal's sum):
set(LV_COMMON_SOURCES
    common/files.cpp
    common/integrity.cpp
    common/library_search.cpp
    common/paths.cpp
    common/registry.cpp
    common/running_product.cpp
    common/security.cpp
    common/setup_mutex.cpp
    common/shortcut_folders.cpp)
set(LV_FRAMEWORK_SOURCES
    framework/ddx.cpp
    framework/dialog.cpp
    framework/font.cpp
    framework/msgmap.cpp
    framework/winapp.cpp
    framework/wnd.cpp)
set(LV_APP_SOURCES
    app/backdrop_dialog.cpp
    app/installer_app.cpp
    app/licence_dialog.cpp
    app/welcome_dialog.cpp)
set(LV_DIALOGS_SOURCES
    dialogs/cancel_sequence.cpp
    dialogs/install_dialog.cpp
    dialogs/install_sequence.cpp)
set(LV_INSTALL_SOURCES
    install/free_space.cpp
    install/payload.cpp
    install/previous_install.cpp
    install/program_start.cpp
    install/registry_entries.cpp
    install/shortcuts.cpp
    install/target_check.cpp)
set(LV_PRODUCT_SOURCES
    ${LV_COMMON_SOURCES} ${LV_FRAMEWORK_SOURCES} ${LV_APP_SOURCES} ${LV_DIALOGS_SOURCES} ${LV_INSTALL_SOURCES})
list(TRANSFORM LV_PRODUCT_SOURCES PREPEND ${CMAKE_SOURCE_DIR}/)
list(TRANSFORM LV_COMMON_SOURCES PREPEND ${CMAKE_SOURCE_DIR}/)

# A check script (cmake -P) run as a build step, and again whenever a file it
# reads changes: lv_add_check(TARGET SCRIPT COMMENT DEFINES -D... DEPENDS files...)
function(lv_add_check target script comment)
    cmake_parse_arguments(CHECK "" "" "DEFINES;DEPENDS" ${ARGN})
    set(stamp ${CMAKE_BINARY_DIR}/${target}.checked)
    add_custom_command(OUTPUT ${stamp}
        COMMAND ${CMAKE_COMMAND} ${CHECK_DEFINES} -P ${script}
        COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
        DEPENDS ${CHECK_DEPENDS} ${script}
        COMMENT "${comment}"
        VERBATIM)
    add_custom_target(${target} DEPENDS ${stamp})
endfunction()

# The folders' rule of includes, checked before any of the code is compiled.
file(GLOB_RECURSE LV_LAYERED_FILES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/common/*
     ${CMAKE_SOURCE_DIR}/framework/* ${CMAKE_SOURCE_DIR}/payload/*)
lv_add_check(layout_check ${CMAKE_SOURCE_DIR}/cmake/CheckLayout.cmake "Checking the folders' includes"
    DEFINES -DSOURCE_DIR=${CMAKE_SOURCE_DIR} DEPENDS ${LV_LAYERED_FILES})

# The installer's code, for the program and (seamed) for the tests.
function(add_product_library name)
    add_library(${name} STATIC ${LV_PRODUCT_SOURCES})
    target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${LV_SYSTEM_LIBS})
    add_dependencies(${name} layout_check)
endfunction()

set(LV_RUNTIME_SOURCE ${CMAKE_SOURCE_DIR}/framework/runtime.cpp)

# The shipped code is optimized as one program at link time: each string
# and list operation is then made once for the program, not once per file.
add_product_library(lv_product)
target_compile_options(lv_product PRIVATE ${LV_SHIPPED_OPTIONS})
set_property(TARGET lv_product PROPERTY INTERPROCEDURAL_OPTIMIZATION ON)

add_library(lv_common STATIC ${LV_COMMON_SOURCES})
target_include_directories(lv_common PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(lv_common PUBLIC ${LV_SYSTEM_LIBS})
target_compile_options(lv_common PRIVATE ${LV_SHIPPED_OPTIONS})
set_property(TARGET lv_common PROPERTY INTERPROCEDURAL_OPTIMIZATION ON)
add_dependencies(lv_common layout_check)

# The licence text goes into the resources byte for byte; a text that breaks
# its rules stops the build here rather than reaching the licence dialog.
set(LV_LICENCE_TEXT ${CMAKE_SOURCE_DIR}/res/Licence.txt)
lv_add_check(licence_text_check ${CMAKE_SOURCE_DIR}/cmake/CheckLicenceText.cmake "Checking the licence text"
    DEFINES -DLICENCE_TEXT=${LV_LICENCE_TEXT} DEPENDS ${LV_LICENCE_TEXT})
# Resource scripts whose compilation must follow the check (and the text).
function(add_licence_text_dependency target rc_file)
    set_property(SOURCE ${rc_file} TARGET_DIRECTORY ${target} APPEND PROPERTY OBJECT_DEPENDS ${LV_LICENCE_TEXT})
    add_dependencies(${target} licence_text_check)
endfunction()

include(cmake/Payload.cmake)

# A shipped program's own entry point, which runs before the run-time
# library's (named as the linker sees it: 32-bit C names start with "_").
function(lv_entry_point target symbol)
    if(MSVC)
        target_link_options(${target} PRIVATE /ENTRY:${symbol})
    elseif(CMAKE_SIZEOF_VOID_P EQUAL 4)
        target_link_options(${target} PRIVATE -Wl,-e,_${symbol})
    else()
        target_link_options(${target} PRIVATE -Wl,-e,${symbol})
    endif()
endfunction()

# The seal that the program's start-up checks its own file against, stored
# once the program is linked.
function(lv_seal target)
    add_custom_command(TARGET ${target} POST_BUILD COMMAND ${LV_SEAL} exe $<TARGET_FILE:${target}> VERBATIM)
endfunction()

# Signing, when LV_SIGN_PKCS12 names a PKCS#12 file (LV_SIGN_TIME: the signing
# time; cmake/HostBuild.cmake gives both). A shipped program is signed last,
# after linking and sealing (the seal passes over what signing adds), and
# before anything compresses or embeds it.
set(LV_SIGN_STAMP ${CMAKE_BINARY_DIR}/signing.txt)
if(LV_SIGN_PKCS12)
    if(NOT LV_SIGN_TIME MATCHES "^[0-9]+$")
        message(FATAL_ERROR "LV_SIGN_PKCS12 needs LV_SIGN_TIME, the signing time in seconds since 1970")
    endif()
    find_program(LV_OSSLSIGNCODE osslsigncode REQUIRED)
    file(CONFIGURE OUTPUT ${LV_SIGN_STAMP} CONTENT "${LV_SIGN_PKCS12} ${LV_SIGN_TIME}\n" @ONLY)
else()
    file(CONFIGURE OUTPUT ${LV_SIGN_STAMP} CONTENT "unsigned\n" @ONLY)
endif()
function(lv_sign target description)
    # A program signed otherwise, or not at all, is linked anew: the link
    # rule is what runs the signing.
    set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${LV_SIGN_STAMP})
    if(LV_SIGN_PKCS12)
        set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${LV_SIGN_PKCS12})
        add_custom_command(TARGET ${target} POST_BUILD
            COMMAND sh ${CMAKE_SOURCE_DIR}/tools/seal/sign.sh ${LV_OSSLSIGNCODE} ${LV_SIGN_PKCS12} ${LV_SIGN_TIME}
                    $<TARGET_FILE:${target}> ${description}
            VERBATIM)
    endif()
endfunction()
add_subdirectory(payload)

add_executable(InstallLV WIN32
    app/setup_entry.cpp
    framework/runtime.cpp
    framework/winmain.cpp
    app/app_main.cpp
    res/InstallLV.rc
    res/InstallLV-program.rc)
target_link_libraries(InstallLV PRIVATE lv_product)
target_compile_options(InstallLV PRIVATE ${LV_SHIPPED_OPTIONS})
set_property(TARGET InstallLV PROPERTY INTERPROCEDURAL_OPTIMIZATION ON)
lv_embed_payload_in(InstallLV)
target_link_options(InstallLV PRIVATE ${LV_SHIPPED_LINK_OPTIONS})
lv_entry_point(InstallLV SetupEntry)
lv_seal(InstallLV)
lv_sign(InstallLV "Lumivane 1.10 installer")
add_licence_text_dependency(InstallLV ${CMAKE_SOURCE_DIR}/res/InstallLV.rc)
# The resource compiler's rule knows nothing of the files a script embeds.
set_property(SOURCE res/InstallLV-program.rc APPEND PROPERTY OBJECT_DEPENDS ${CMAKE_SOURCE_DIR}/res/InstallLV.manifest)

if(LV_BUILD_TESTS)
    # ctest runs the test programs under Wine, in the build tree's prefix.
    set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/scripts/wine-run.sh ${LV_WINEPREFIX})
    enable_testing()
    add_subdirectory(tests)
endif()

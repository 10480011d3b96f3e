# A Windows build: the installer, and with LV_BUILD_TESTS its tests.
enable_language(RC)

set(CMAKE_CXX_STANDARD 17)
set(CMAKE_CXX_STANDARD_REQUIRED ON)
set(CMAKE_CXX_EXTENSIONS OFF)
add_compile_options(-Wall -Wextra -Werror -ffunction-sections -fdata-sections)
# Windows XP's API is the floor: nothing newer is called.
add_compile_definitions(WINVER=0x0501 _WIN32_WINNT=0x0501 _WIN32_IE=0x0600 STRICT NOMINMAX)
# One file that runs on a bare Windows: no MinGW runtime DLL beside it.
add_link_options(-static -static-libgcc -static-libstdc++)

set(LV_SYSTEM_LIBS user32 gdi32 shell32 ole32 uuid advapi32)

set(LV_FRAMEWORK_SOURCES
    framework/ddx.cpp
    framework/dialog.cpp
    framework/font.cpp
    framework/msgmap.cpp
    framework/winapp.cpp
    framework/wnd.cpp)
set(LV_PRODUCT_SOURCES
    ${LV_FRAMEWORK_SOURCES}
    app/installer_app.cpp
    app/running_product.cpp
    dialogs/install_dialog.cpp
    install/paths.cpp
    install/payload.cpp)
list(TRANSFORM LV_PRODUCT_SOURCES PREPEND ${CMAKE_SOURCE_DIR}/)

# The installer's code, for the program and (seamed) for the tests.
function(add_product_library name)
    add_library(${name} STATIC ${LV_PRODUCT_SOURCES})
    target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${LV_SYSTEM_LIBS})
endfunction()

add_product_library(lv_product)

include(cmake/Payload.cmake)
add_subdirectory(payload)

add_executable(InstallLV WIN32
    framework/winmain.cpp
    app/app_main.cpp
    res/InstallLV.rc)
target_link_libraries(InstallLV PRIVATE lv_product)
lv_embed_payload_in(InstallLV)
target_link_options(InstallLV PRIVATE -s -Wl,--gc-sections)

if(LV_BUILD_TESTS)
    # ctest runs the test programs under Wine, in the build tree's prefix.
    set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/scripts/wine-run.sh ${LV_WINEPREFIX})
    enable_testing()
    add_subdirectory(tests)
endif()

# The rule of the rooms (README.md, Layout): common/ is below everything and
# includes none of the other folders; framework/ knows nothing of the
# installer; payload/ builds on common/ and framework/ only. Fails the build
# with every include that crosses it.
#   cmake -DSOURCE_DIR=<the source tree> -P CheckLayout.cmake
set(rules
    "common:app|dialogs|install|payload|framework"
    "framework:app|dialogs|install|payload"
    "payload:app|dialogs|install")
set(crossings "")
foreach(rule IN LISTS rules)
    string(REPLACE ":" ";" rule "${rule}")
    list(GET rule 0 folder)
    list(GET rule 1 forbidden)
    file(GLOB_RECURSE sources "${SOURCE_DIR}/${folder}/*.c" "${SOURCE_DIR}/${folder}/*.cpp"
         "${SOURCE_DIR}/${folder}/*.h" "${SOURCE_DIR}/${folder}/*.rc")
    foreach(source IN LISTS sources)
        file(STRINGS "${source}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<](\\.\\./)*(${forbidden})/")
        file(RELATIVE_PATH name "${SOURCE_DIR}" "${source}")
        foreach(line IN LISTS lines)
            string(APPEND crossings "\n  ${name}: ${line}")
        endforeach()
    endforeach()
endforeach()
if(crossings)
    message(FATAL_ERROR "These includes reach into a folder that their own may not use:${crossings}")
endif()

# The payload: the files the installer carries, as SZDD-compressed resources of type MSZ.
#   lv_embed_payload(ID NAME SOURCE ...)  the payload table, one row per file in install order:
#                                          resource id, installed name, and the file it is made
#                                          from (or the target whose program it is). Compresses
#                                          each with szdd, sums it (an MSZCRC resource of the
#                                          same id) and writes payload.rc, which
#                                          res/InstallLV.rc includes; makes the targets
#                                          lv_payload and payload_bench
#   lv_embed_payload_in(TARGET)           TARGET's resources (res/InstallLV.rc) carry the payload
# The target lv_payload keeps the table for the tests: its property LV_PAYLOAD_ROWS lists
# "ID|NAME|FILE" in install order (FILE may be a generator expression).

set(LV_SZDD ${LV_HOST_TOOLS_DIR}/szdd${CMAKE_HOST_EXECUTABLE_SUFFIX})
set(LV_SZDD_BENCH ${LV_HOST_TOOLS_DIR}/szdd_bench${CMAKE_HOST_EXECUTABLE_SUFFIX})
set(LV_SEAL ${LV_HOST_TOOLS_DIR}/seal${CMAKE_HOST_EXECUTABLE_SUFFIX})

function(lv_embed_payload)
    list(LENGTH ARGN count)
    math(EXPR extra "${count} % 3")
    if(count EQUAL 0 OR NOT extra EQUAL 0)
        message(FATAL_ERROR "lv_embed_payload: rows of resource id, file name and source expected")
    endif()
    math(EXPR last "${count} - 1")
    set(resources "")
    set(rows "")
    set(sources "")
    set(compressed_files "")
    foreach(i RANGE 0 ${last} 3)
        list(SUBLIST ARGN ${i} 3 row)
        list(GET row 0 id)
        list(GET row 1 name)
        list(GET row 2 source)
        set(file ${source})
        if(TARGET ${source})
            set(file $<TARGET_FILE:${source}>)
        endif()
        set(compressed ${CMAKE_CURRENT_BINARY_DIR}/${name}.msz)
        add_custom_command(OUTPUT ${compressed}
            COMMAND ${LV_SZDD} ${file} ${compressed}
            DEPENDS ${source} ${LV_SZDD}
            COMMENT "Compressing ${name} as resource ${id}"
            VERBATIM)
        # Its checksum, which the installer compares before it uses the payload.
        add_custom_command(OUTPUT ${compressed}.crc
            COMMAND ${LV_SEAL} crc ${compressed} ${compressed}.crc
            DEPENDS ${compressed} ${LV_SEAL}
            VERBATIM)
        string(APPEND resources "${id} MSZ \"${compressed}\"\n${id} MSZCRC \"${compressed}.crc\"\n")
        list(APPEND rows "${id}|${name}|${file}")
        list(APPEND sources ${file})
        list(APPEND compressed_files ${compressed} ${compressed}.crc)
    endforeach()

    set(rc ${CMAKE_CURRENT_BINARY_DIR}/payload.rc)
    string(PREPEND resources "// Made by the build (cmake/Payload.cmake): the payload in install order.\n"
                             "LANGUAGE LANG_ENGLISH, SUBLANG_ENGLISH_US\n\n")
    file(CONFIGURE OUTPUT ${rc} CONTENT "${resources}" @ONLY)  # rewritten only when it changes
    add_custom_target(lv_payload DEPENDS ${compressed_files})
    set_target_properties(lv_payload PROPERTIES
        LV_PAYLOAD_ROWS "${rows}"
        LV_PAYLOAD_RESOURCE_FILES "${rc};${compressed_files}")

    # Sizes and speeds of the codec on the real payload; a benchmark, not a test.
    add_custom_target(payload_bench
        COMMAND ${LV_SZDD_BENCH} ${sources}
        VERBATIM USES_TERMINAL)
    add_dependencies(payload_bench lv_payload)
endfunction()

function(lv_embed_payload_in target)
    get_target_property(files lv_payload LV_PAYLOAD_RESOURCE_FILES)
    list(GET files 0 rc)
    get_filename_component(rc_dir ${rc} DIRECTORY)
    add_dependencies(${target} lv_payload)
    target_include_directories(${target} PRIVATE $<$<COMPILE_LANGUAGE:RC>:${rc_dir}>)
    # Nothing tells the resource compiler's rule that the files it embeds changed.
    set_property(SOURCE ${CMAKE_SOURCE_DIR}/res/InstallLV.rc TARGET_DIRECTORY ${target}
        APPEND PROPERTY OBJECT_DEPENDS ${files})
endfunction()

# cmake -DIN=FILE -DOUT=FILE -P AsciiCrLf.cmake
# Copies a text file with CR LF line ends. Anything but printable 7-bit ASCII
# (a tab, a stray CR, a byte above 127) stops the build with the line that
# holds it; OUT is replaced only when complete.
file(READ "${IN}" text)
if(text STREQUAL "")
    message(FATAL_ERROR "${IN}: empty, nothing to install")
endif()
string(REPLACE "\r\n" "\n" text "${text}")
string(REGEX MATCH "[^\n -~]" bad "${text}")
if(NOT bad STREQUAL "")
    string(FIND "${text}" "${bad}" at)
    string(SUBSTRING "${text}" 0 ${at} before)
    string(REGEX REPLACE "[^\n]" "" line_ends "${before}")
    string(LENGTH "${line_ends}" line)
    math(EXPR line "${line} + 1")
    message(FATAL_ERROR "${IN}:${line}: only printable 7-bit ASCII can be installed as plain text")
endif()
if(NOT text MATCHES "\n$")
    string(APPEND text "\n")
endif()
string(REPLACE "\n" "\r\n" text "${text}")
file(WRITE "${OUT}.tmp" "${text}")
file(RENAME "${OUT}.tmp" "${OUT}")

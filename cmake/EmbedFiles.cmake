# Turns files into C++ byte arrays at build time.
#   cmake -DOUTPUT=<file.cpp> -DSYMBOL=<name> -DTEXT=<ON|OFF> -DINPUTS=<a;b;...> -P EmbedFiles.cmake
# TEXT=ON joins the inputs with a line feed between them and ends the array with a NUL, so the
# result is one C string, and leaves the joined text beside it as <OUTPUT without .cpp>.glsl for the
# shader validation; TEXT=OFF embeds one file's bytes as they are and exports its length.
cmake_minimum_required(VERSION 3.20)

string(REPLACE "|" ";" INPUTS "${INPUTS}")
set(hex "")
set(joined "")
set(first TRUE)
foreach(input IN LISTS INPUTS)
    file(READ "${input}" part HEX)
    if(TEXT AND NOT first)
        string(APPEND hex "0a")
        string(APPEND joined "\n")
    endif()
    string(APPEND hex "${part}")
    if(TEXT)
        file(READ "${input}" textPart)
        string(APPEND joined "${textPart}")
    endif()
    set(first FALSE)
endforeach()
if(TEXT)
    string(APPEND hex "00")
endif()

string(LENGTH "${hex}" hexLength)
math(EXPR byteCount "${hexLength} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
# Break the single line into shorter ones so that compilers and editors stay comfortable.
string(REGEX REPLACE "((0x..,){32})" "\\1\n" bytes "${bytes}")

if(TEXT)
    set(body "extern const char ${SYMBOL}[];\nconst char ${SYMBOL}[] = {\n${bytes}\n};\n")
else()
    set(body "#include <cstddef>\nextern const unsigned char ${SYMBOL}[];\nextern const std::size_t ${SYMBOL}Size;\n"
             "const unsigned char ${SYMBOL}[] = {\n${bytes}\n};\nconst std::size_t ${SYMBOL}Size = ${byteCount};\n")
endif()
file(WRITE "${OUTPUT}.tmp" "// Generated at build time; do not edit.\n${body}")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
if(TEXT)
    string(REGEX REPLACE "\\.cpp$" ".glsl" textOutput "${OUTPUT}")
    file(WRITE "${textOutput}" "${joined}")
endif()

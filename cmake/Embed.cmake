# embed_text(<target> <symbol> <files...>): the files joined into one NUL-terminated C string.
# embed_binary(<target> <symbol> <file>): the file's bytes plus <symbol>Size.
function(_embed target symbol text)
    set(output "${CMAKE_CURRENT_BINARY_DIR}/embedded/${symbol}.cpp")
    list(JOIN ARGN "|" inputs)
    add_custom_command(
        OUTPUT "${output}"
        COMMAND ${CMAKE_COMMAND} "-DOUTPUT=${output}" "-DSYMBOL=${symbol}" "-DTEXT=${text}"
                "-DINPUTS=${inputs}" -P "${PROJECT_SOURCE_DIR}/cmake/EmbedFiles.cmake"
        DEPENDS ${ARGN} "${PROJECT_SOURCE_DIR}/cmake/EmbedFiles.cmake"
        COMMENT "Embedding ${symbol}"
        VERBATIM)
    target_sources(${target} PRIVATE "${output}")
endfunction()

function(embed_text target symbol)
    _embed(${target} ${symbol} ON ${ARGN})
endfunction()

function(embed_binary target symbol file)
    _embed(${target} ${symbol} OFF ${file})
endfunction()

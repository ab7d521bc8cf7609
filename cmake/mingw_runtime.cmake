# kavo_mingw_runtime(<out>): the full paths of mingw-w64's runtime DLLs (posix
# threads flavour) that the program and Qt link, as the compiler finds them.
function(kavo_mingw_runtime out)
    set(paths)
    foreach(dll libgcc_s_seh-1.dll libstdc++-6.dll libwinpthread-1.dll)
        execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
            OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE)
        if(NOT IS_ABSOLUTE "${path}" OR NOT EXISTS "${path}")
            message(FATAL_ERROR "${CMAKE_CXX_COMPILER} does not find ${dll}")
        endif()
        get_filename_component(path "${path}" REALPATH)
        list(APPEND paths ${path})
    endforeach()
    set(${out} ${paths} PARENT_SCOPE)
endfunction()

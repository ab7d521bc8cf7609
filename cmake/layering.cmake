# Checks that each folder includes only its own headers and those of the
# folders below it:
#
#   cmake -DSOURCE_DIR=<source root> -P cmake/layering.cmake
#
# Every #include "..." of a source is looked up next to the source, then from
# the source root; one that names no file of the tree (a generated header)
# is left alone. tests/ and bench/ may include anything.

cmake_minimum_required(VERSION 3.25)

# The layers, lowest first: each folder and what it may include besides itself.
set(layers core assets platform scheduler panel ui help remote app)
set(may_include_core "")
set(may_include_assets core)
set(may_include_platform core)
set(may_include_scheduler core platform)
set(may_include_panel core platform scheduler)
set(may_include_ui core platform scheduler panel assets)
set(may_include_help core platform scheduler panel assets ui)
# Front ends beside the window drive the model, never a widget.
set(may_include_remote core platform scheduler panel)
set(may_include_app ${layers})

if(NOT SOURCE_DIR)
    message(FATAL_ERROR "usage: cmake -DSOURCE_DIR=<source root> -P layering.cmake")
endif()

set(violations "")
set(checked 0)
foreach(layer IN LISTS layers)
    file(GLOB_RECURSE sources RELATIVE ${SOURCE_DIR}
        ${SOURCE_DIR}/${layer}/*.h ${SOURCE_DIR}/${layer}/*.hpp
        ${SOURCE_DIR}/${layer}/*.c ${SOURCE_DIR}/${layer}/*.cc ${SOURCE_DIR}/${layer}/*.cpp)
    foreach(source IN LISTS sources)
        math(EXPR checked "${checked} + 1")
        get_filename_component(dir ${SOURCE_DIR}/${source} DIRECTORY)
        file(STRINGS ${SOURCE_DIR}/${source} lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
        foreach(line IN LISTS lines)
            string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]*)\".*" "\\1" header "${line}")
            if(EXISTS ${dir}/${header})
                set(found ${dir}/${header})
            elseif(EXISTS ${SOURCE_DIR}/${header})
                set(found ${SOURCE_DIR}/${header})
            else()
                continue()
            endif()
            cmake_path(NORMAL_PATH found)
            file(RELATIVE_PATH found ${SOURCE_DIR} ${found})
            string(REGEX REPLACE "/.*" "" folder "${found}")
            if(NOT folder STREQUAL layer AND NOT folder IN_LIST may_include_${layer})
                string(APPEND violations "\n  ${source}: includes \"${header}\" (${folder}/)")
            endif()
        endforeach()
    endforeach()
endforeach()

if(violations)
    message(FATAL_ERROR "A folder includes one it may not:${violations}")
endif()
message(STATUS "Layering: ${checked} sources include only what their folder may.")

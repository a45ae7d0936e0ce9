# Fails when a source includes a header of a higher layer, or when the core includes a widget
# toolkit. The layers, lowest first; a folder may include its own layer and those below it:
#   model    the game state, the settings and the interfaces the core needs
#   systems  the selection systems
#   engine   the spin cycle, run without a window
#   storage  the files
#   ui, sim  the window and the simulator, which know nothing of each other
# Run as: cmake -DROOT=<source folder> -P include_direction.cmake
cmake_minimum_required(VERSION 3.25)
set(layers model systems engine storage ui sim)
set(rank_model 0)
set(rank_systems 1)
set(rank_engine 2)
set(rank_storage 3)
set(rank_ui 4)
set(rank_sim 4)
set(toolkit_free model systems engine storage sim)

set(offenders "")
set(count 0)
foreach(layer IN LISTS layers)
    file(GLOB_RECURSE sources RELATIVE ${ROOT} ${ROOT}/${layer}/*.h ${ROOT}/${layer}/*.cpp)
    foreach(source IN LISTS sources)
        math(EXPR count "${count} + 1")
        file(STRINGS ${ROOT}/${source} includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
        foreach(line IN LISTS includes)
            string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*[<\"]([^>\"]*)[>\"].*" "\\1" header
                   "${line}")
            if(layer IN_LIST toolkit_free AND header MATCHES "^(Q[A-Za-z]|qt|gtk|wx)")
                list(APPEND offenders "${source} includes the toolkit header ${header}")
                continue()
            endif()
            string(REGEX MATCH "^[a-z_]+/" folder "${header}")
            string(REPLACE "/" "" folder "${folder}")
            if(NOT folder OR NOT DEFINED rank_${folder} OR folder STREQUAL layer)
                continue()
            endif()
            if(rank_${folder} GREATER_EQUAL rank_${layer})
                list(APPEND offenders "${source} includes ${header}, a layer above ${layer}/")
            endif()
        endforeach()
    endforeach()
endforeach()
if(offenders)
    list(JOIN offenders "\n" text)
    message(FATAL_ERROR "includes against the direction of the layers:\n${text}")
endif()
message(STATUS "includes follow the layers: ${count} files checked")

# Fails when a source of the core includes a widget toolkit header.
file(GLOB_RECURSE sources
    ${ROOT}/engine/*.h ${ROOT}/engine/*.cpp
    ${ROOT}/systems/*.h ${ROOT}/systems/*.cpp
    ${ROOT}/storage/*.h ${ROOT}/storage/*.cpp
    ${ROOT}/sim/*.h ${ROOT}/sim/*.cpp
    ${ROOT}/ui/main_window_view.h ${ROOT}/ui/headless_view.h ${ROOT}/ui/headless_view.cpp
    ${ROOT}/ui/chart_counts.h ${ROOT}/ui/chart_counts.cpp)
set(offenders "")
foreach(source IN LISTS sources)
    file(STRINGS ${source} includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"](Q[A-Za-z]|qt|gtk|wx)")
    if(includes)
        list(APPEND offenders "${source}: ${includes}")
    endif()
endforeach()
if(offenders)
    message(FATAL_ERROR "toolkit headers in the core:\n${offenders}")
endif()
list(LENGTH sources count)
message(STATUS "core is toolkit-free: ${count} files checked")

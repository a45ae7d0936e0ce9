# Fails when a source of the core includes a widget toolkit header.
file(GLOB_RECURSE sources
    ${ROOT}/model/*.h ${ROOT}/model/*.cpp
    ${ROOT}/systems/*.h ${ROOT}/systems/*.cpp
    ${ROOT}/engine/*.h ${ROOT}/engine/*.cpp
    ${ROOT}/storage/*.h ${ROOT}/storage/*.cpp
    ${ROOT}/sim/*.h ${ROOT}/sim/*.cpp)
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

# brindor_subsystem_library(NAME DEPENDENCIES...): the library of one application subsystem folder.
# Platform-free sources at the top of the folder and of each of its rooms (its subfolders) build in
# both trees; win/, the folder's own or a room's, only in the Windows tree, which also brings the
# application's declared functions.
function(brindor_subsystem_library name)
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*/*.cpp)
    list(FILTER sources EXCLUDE REGEX "/win/[^/]*\\.cpp$")
    if(WIN32)
        file(GLOB win_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/win/*.cpp
             ${CMAKE_CURRENT_SOURCE_DIR}/*/win/*.cpp)
        list(APPEND sources ${win_sources})
    endif()
    add_library(${name} STATIC ${sources})
    target_link_libraries(${name} PUBLIC ${ARGN})
    if(WIN32)
        target_link_libraries(${name} PUBLIC brindor_declared)
    endif()
endfunction()

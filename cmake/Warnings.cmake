# Every target of the project compiles with the same strict warnings; CI turns
# them into errors (VARNOK_WERROR) so that no new warning lands.
option(VARNOK_WERROR "Treat compiler warnings as errors" OFF)
add_library(varnok_warnings INTERFACE)
target_compile_options(varnok_warnings INTERFACE
    $<$<CXX_COMPILER_ID:GNU,Clang>:-Wall -Wextra -Wpedantic -Wshadow>
    $<$<CXX_COMPILER_ID:MSVC>:/W4>)
if(VARNOK_WERROR)
    target_compile_options(varnok_warnings INTERFACE
        $<$<CXX_COMPILER_ID:GNU,Clang>:-Werror>
        $<$<CXX_COMPILER_ID:MSVC>:/WX>)
endif()

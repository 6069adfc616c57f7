# Every target of the project compiles with the same strict warnings.
add_library(varnok_warnings INTERFACE)
target_compile_options(varnok_warnings INTERFACE
    $<$<CXX_COMPILER_ID:GNU,Clang>:-Wall -Wextra -Wpedantic -Wshadow>
    $<$<CXX_COMPILER_ID:MSVC>:/W4>)

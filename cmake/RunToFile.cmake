# Runs a program and writes its standard output to a file, failing the build
# with the program's own message when it fails or prints nothing:
#   cmake -DOUTPUT=FILE -P RunToFile.cmake -- PROGRAM ARGS...
set(command)
set(seen_separator OFF)
foreach(index RANGE ${CMAKE_ARGC})
    if(seen_separator AND DEFINED CMAKE_ARGV${index})
        list(APPEND command "${CMAKE_ARGV${index}}")
    elseif("${CMAKE_ARGV${index}}" STREQUAL "--")
        set(seen_separator ON)
    endif()
endforeach()
execute_process(COMMAND ${command} OUTPUT_VARIABLE output ERROR_VARIABLE errors RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR output STREQUAL "")
    list(JOIN command " " shown)
    message(FATAL_ERROR "${shown} failed (${status}) while writing ${OUTPUT}:\n${errors}")
endif()
file(WRITE "${OUTPUT}.part" "${output}")
file(RENAME "${OUTPUT}.part" "${OUTPUT}")

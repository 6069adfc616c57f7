# Runs make_golden.py into OUT and compares what it writes with the committed
# files in DATA, so that the script and the files cannot drift apart.
# Usage: cmake -DPYTHON=<python3 or empty> -DDATA=<tests/data> -DOUT=<folder> -P CheckGolden.cmake
if(NOT PYTHON)
    message("python3 not found: golden files not checked")
    return()
endif()
file(REMOVE_RECURSE "${OUT}")
execute_process(COMMAND "${PYTHON}" "${DATA}/make_golden.py" "${OUT}" RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "make_golden.py failed: ${result}")
endif()
foreach(name golden.s16 golden.dat golden.shp)
    execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files "${OUT}/${name}" "${DATA}/${name}"
                    RESULT_VARIABLE different)
    if(different)
        message(FATAL_ERROR "${DATA}/${name} is not what make_golden.py writes: run the script")
    endif()
endforeach()

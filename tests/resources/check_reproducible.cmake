# Runs the art generator into OUTPUT and compares what it wrote with the committed files.
file(REMOVE_RECURSE ${OUTPUT})
file(MAKE_DIRECTORY ${OUTPUT})
execute_process(COMMAND ${GENERATOR} ${OUTPUT} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "art_generator failed: ${status}")
endif()
foreach(name background.bmp app.ico)
    execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${OUTPUT}/${name} ${COMMITTED}/${name}
                    RESULT_VARIABLE different)
    if(different)
        message(FATAL_ERROR "resources/${name} is not what the generator draws: regenerate it")
    endif()
endforeach()

# Data files the program finds beside itself and installs into its data
# folder; add one a line. The sample pages are a logical text, the visual
# page the program makes of it, and the page that one links to.
set(MIRVAL_DATA_FILES
    basic.mvt
    mirval.def
    h_mirval.htm
    sample.txt
    sample.htm
    sample-page.htm
)

# Copies data files from data/ beside an executable in the build tree, so that
# the program finds them there as it finds them beside an installed one.
function(mirval_copy_data_beside target)
    set(copied)
    foreach(name IN LISTS ARGN)
        set(source ${PROJECT_SOURCE_DIR}/data/${name})
        set(copy $<TARGET_FILE_DIR:${target}>/${name})
        set(stamp ${CMAKE_CURRENT_BINARY_DIR}/${target}_${name}.copied)
        add_custom_command(OUTPUT ${stamp}
            COMMAND ${CMAKE_COMMAND} -E copy_if_different ${source} ${copy}
            COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
            DEPENDS ${source}
            COMMENT "Copying ${name} beside ${target}")
        list(APPEND copied ${stamp})
    endforeach()
    add_custom_target(${target}_data DEPENDS ${copied})
    add_dependencies(${target} ${target}_data)
endfunction()

# Every folder under src/ is one layer, built into one library named for it
# (mirval_<folder>). A layer's headers are reachable as "<folder>/name.h" only
# through its library: the library's include directory holds a single link,
# <folder> -> src/<folder>. A layer therefore sees its own headers and those of
# the layers it links, and a lower layer that includes a higher one's header
# does not compile.
function(mirval_add_layer folder)
    cmake_parse_arguments(ARG "" "" "SOURCES;LINKS" ${ARGN})
    set(include_root ${PROJECT_BINARY_DIR}/layers/${folder})
    file(MAKE_DIRECTORY ${include_root})
    file(CREATE_LINK ${PROJECT_SOURCE_DIR}/src/${folder} ${include_root}/${folder} SYMBOLIC)
    add_library(mirval_${folder} STATIC ${ARG_SOURCES})
    target_include_directories(mirval_${folder} PUBLIC ${include_root})
    target_link_libraries(mirval_${folder} PUBLIC ${ARG_LINKS} PRIVATE mirval_warnings)
endfunction()

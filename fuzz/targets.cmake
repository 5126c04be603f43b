# The fuzz targets, shared by fuzz/CMakeLists.txt (which builds them) and
# fuzzers.cmake (which runs them under CTest). Target <name> is built from
# <name without underscores>_fuzzer.cpp into fuzz_<name>; its seeds are in
# corpus/<name>/.
set(MIRVAL_FUZZ_TARGETS
    logical_to_visual
    dos_to_windows
    wrap_visual_lines
    visual_html_to_lines
    make_dos_text
    toggle_semi_logical
    lower_tag_case
    to_visual
    stream_conversion
    detect_order
    to_modern
)

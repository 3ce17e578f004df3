# The configuration reader and writer are compiled into the harness itself, so that they
# carry the fuzzer's coverage and sanitizer instrumentation.
corvane_add_fuzzer(NAME fuzz_config
  SOURCES
    ${CMAKE_CURRENT_SOURCE_DIR}/fuzz_config.cpp
    ${CMAKE_SOURCE_DIR}/config/configfields.cpp
    ${CMAKE_SOURCE_DIR}/config/configreader.cpp
    ${CMAKE_SOURCE_DIR}/config/configwriter.cpp
    ${CMAKE_SOURCE_DIR}/config/variantvalue.cpp
  LIBS corvane_core)
# Nothing here needs moc, and its helper targets would look like harnesses to scripts/fuzz.sh.
set_target_properties(fuzz_config PROPERTIES AUTOMOC OFF)

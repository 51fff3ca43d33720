# lumio tests reach the library's internal headers (the format table, the value rules).
set(LUMORA_TEST_DEPS lumio lumcore)
set(LUMORA_TEST_INCLUDES ${CMAKE_SOURCE_DIR}/lumio/src)

# lumdb tests reach the library's internal headers (filters, line search steps) and the
# synthetic spectrum generator that the benchmarks use too.
set(LUMORA_TEST_DEPS lumdb lumdb_settings lumcore)
set(LUMORA_TEST_INCLUDES ${CMAKE_SOURCE_DIR}/lumdb/src ${CMAKE_SOURCE_DIR}/bench)

# The tool tests run the built lumora-dbtool and read its output with lumdb.
set(LUMORA_TEST_DEPS lumdb lumcore)

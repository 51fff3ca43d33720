set(LUMORA_TEST_DEPS lumcore)

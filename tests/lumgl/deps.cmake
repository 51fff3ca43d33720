# lumgl tests: the printf helper of lumcore, lumdb for the identification whose labels are
# drawn, and the QPainter canvas (lumgl_qt) for the pixel tests when the Qt target is built.
set(LUMORA_TEST_DEPS lumgl lumcore lumdb)
if(TARGET lumgl_qt)
  list(APPEND LUMORA_TEST_DEPS lumgl_qt)
endif()

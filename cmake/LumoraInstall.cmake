# `cmake --install <build> --prefix DIR` lays out in DIR the program directory the build
# lays out in <build>/bin: the programs, the shared libraries (the programs find them
# through their $ORIGIN run path), Data/ with the sample line database and Beispiele/ with
# the example spectra and configurations. The installed programs run from DIR.
foreach(program lumora lumora-cli lumora-dbtool)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION .)
  endif()
endforeach()
foreach(library lumdb lumio lumgl lumgl_qt lumora-cli-qt)
  if(TARGET ${library})
    install(TARGETS ${library} LIBRARY DESTINATION . NAMELINK_SKIP)
  endif()
endforeach()
if(TARGET lumora_database)
  install(DIRECTORY ${LUMORA_PROGRAM_DIR}/Data DESTINATION .)
endif()
if(TARGET lumora_examples)
  install(DIRECTORY ${LUMORA_PROGRAM_DIR}/Beispiele DESTINATION .)
endif()
if(TARGET lumora_manual)
  install(DIRECTORY ${LUMORA_PROGRAM_DIR}/Hilfe DESTINATION .)
endif()

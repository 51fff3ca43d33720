# Installs the build into a fresh folder and runs the installed lumora-cli from there on an
# installed example: the tree must hold the programs, the libraries, Data/ and Beispiele/,
# and the program must find its libraries and its line database in the installed tree,
# with no help from the build (no LUMORA_HOME, no library path).
#   cmake -DBUILD_DIR=<build> -DPREFIX=<folder> -P InstalledTree.cmake
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
                RESULT_VARIABLE failed OUTPUT_QUIET)
if(failed)
  message(FATAL_ERROR "cmake --install failed")
endif()

set(expected lumora-cli lumora-dbtool liblumdb.so.0 liblumio.so.0 liblumgl.so.0
    Data/Elements.lmt Data/Fe_I.lmt Beispiele/Argon-Wasserstoff-Entladung.txt
    Beispiele/Konfigurationen/Argon-Wasserstoff.lmc)
if(EXISTS ${BUILD_DIR}/bin/lumora)
  list(APPEND expected lumora)
endif()
foreach(file ${expected})
  if(NOT EXISTS ${PREFIX}/${file})
    message(FATAL_ERROR "the installed tree lacks ${file}")
  endif()
endforeach()

execute_process(
  COMMAND ${CMAKE_COMMAND} -E env --unset=LUMORA_HOME --unset=LD_LIBRARY_PATH
          ${PREFIX}/lumora-cli identify Beispiele/Argon-Wasserstoff-Entladung.txt
          --config Beispiele/Konfigurationen/Argon-Wasserstoff.lmc --format csv
  WORKING_DIRECTORY ${PREFIX}
  RESULT_VARIABLE failed OUTPUT_VARIABLE table ERROR_VARIABLE errors)
if(failed)
  message(FATAL_ERROR "the installed lumora-cli failed (${failed}): ${errors}")
endif()
# Rows "path,x,y,species,...": the example's strong argon lines are identified (852.14,
# 805.33, 668.48 and 621.59 nm with the sample database).
string(REGEX MATCHALL "\n[^,\n]*,[^,\n]*,[^,\n]*,Ar I+," argon "${table}")
list(LENGTH argon argonRows)
if(argonRows LESS 3)
  message(FATAL_ERROR "the installed lumora-cli identified ${argonRows} argon lines:\n${table}")
endif()
message(STATUS "installed lumora-cli identified ${argonRows} argon lines")

# Shared compile settings and the helper that builds one of Lumora's libraries.

function(lumora_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
endfunction()

# lumora_library(NAME <name> [DEPS <targets...>] [PRIVATE_DEPS <targets...>])
# Builds lib<name> as a shared library from <name>/src (recursively), with public
# headers in <name>/include and a generated export header <name>/<name>_export.h.
function(lumora_library)
  cmake_parse_arguments(L "" "NAME" "DEPS;PRIVATE_DEPS" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/src/*.cpp)
  add_library(${L_NAME} SHARED ${sources})
  generate_export_header(${L_NAME}
    EXPORT_FILE_NAME ${CMAKE_CURRENT_BINARY_DIR}/include/${L_NAME}/${L_NAME}_export.h)
  target_include_directories(${L_NAME}
    PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/include ${CMAKE_CURRENT_BINARY_DIR}/include
    PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/src)
  target_link_libraries(${L_NAME} PUBLIC ${L_DEPS} PRIVATE ${L_PRIVATE_DEPS})
  set_target_properties(${L_NAME} PROPERTIES VERSION ${PROJECT_VERSION} SOVERSION 0)
  lumora_warnings(${L_NAME})
endfunction()

# Compiled-in version strings (the about box shows them).
add_compile_definitions(LUMORA_VERSION_STRING="${PROJECT_VERSION}")

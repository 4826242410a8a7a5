# Settings every target of the project links, instead of directory-wide flags.
add_library(ostrel_settings INTERFACE)
target_compile_features(ostrel_settings INTERFACE cxx_std_17)
target_compile_options(ostrel_settings INTERFACE -Wall -Wextra)
target_compile_definitions(ostrel_settings INTERFACE
  QT_NO_CAST_FROM_ASCII
  QT_NO_CAST_TO_ASCII
  QT_NO_URL_CAST_FROM_STRING
  QT_NO_CAST_FROM_BYTEARRAY
  QT_USE_QSTRINGBUILDER
  QT_NO_FOREACH
  QT_DISABLE_DEPRECATED_BEFORE=0x050C00)

if(OSTREL_SANITIZE)
  target_compile_options(ostrel_settings INTERFACE
    -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_link_options(ostrel_settings INTERFACE -fsanitize=address,undefined)
endif()

if(OSTREL_FUZZ AND NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  message(FATAL_ERROR "OSTREL_FUZZ needs clang (configure with -DCMAKE_CXX_COMPILER=clang++)")
endif()

# ostrel_add_fuzzer(NAME SOURCES ... LIBS ...): a libFuzzer target, only with OSTREL_FUZZ.
function(ostrel_add_fuzzer name)
  cmake_parse_arguments(F "" "" "SOURCES;LIBS" ${ARGN})
  if(NOT OSTREL_FUZZ)
    return()
  endif()
  add_executable(${name} ${F_SOURCES})
  target_link_libraries(${name} PRIVATE ostrel_settings ${F_LIBS})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fuzz)
endfunction()

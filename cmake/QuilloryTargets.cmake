# Helpers that give every library, program and test of the project the same flags.

find_package(PkgConfig REQUIRED)

set(QUILLORY_WARNINGS -Wall -Wextra -Wno-missing-field-initializers)

function(quillory_apply_flags target)
  target_compile_options(${target} PRIVATE ${QUILLORY_WARNINGS})
  if(QUILLORY_SANITIZE)
    target_compile_options(${target} PRIVATE -fsanitize=address,undefined -fno-omit-frame-pointer
                                             -fno-sanitize-recover=undefined)
    target_link_options(${target} PRIVATE -fsanitize=address,undefined)
  endif()
  if(QUILLORY_FUZZ)
    target_compile_options(${target} PRIVATE -fsanitize=fuzzer-no-link)
  endif()
endfunction()

# quillory_library(name SOURCES ... [DEPENDS ...] [PRIVATE_DEPENDS ...])
# One static library per subsystem folder; headers are included as "folder/file.h" from src/.
function(quillory_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS;PRIVATE_DEPENDS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${ARG_DEPENDS} PRIVATE ${ARG_PRIVATE_DEPENDS})
  quillory_apply_flags(${name})
endfunction()

# quillory_program(name SOURCES ... [DEPENDS ...])
function(quillory_program name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_DEPENDS})
  quillory_apply_flags(${name})
endfunction()

# quillory_test(name SOURCES ... [DEPENDS ...] [PROPERTIES ...])
# One GoogleTest binary per unit, registered with CTest test by test; PROPERTIES are CTest
# properties given to each of its tests.
function(quillory_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS;PROPERTIES" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_DEPENDS} quillory_test_support GTest::gtest_main
                                        GTest::gmock)
  quillory_apply_flags(${name})
  # The test environment goes through a launcher: a list given to the ENVIRONMENT property
  # reaches CTest split into separate properties, so only its first variable was set.
  set_property(TARGET ${name} PROPERTY CROSSCOMPILING_EMULATOR
               ${CMAKE_COMMAND} -E env SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
               QUILLORY_SOURCE_DIR=${PROJECT_SOURCE_DIR})
  if(ARG_PROPERTIES)
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES ${ARG_PROPERTIES})
  else()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60)
  endif()
endfunction()

# quillory_fuzzer(name SOURCES ... [DEPENDS ...]): a libFuzzer target, built with QUILLORY_FUZZ.
function(quillory_fuzzer name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_DEPENDS})
  quillory_apply_flags(${name})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
endfunction()

# orv_add_test(NAME <exe> SOURCES ... LIBS ... [LABEL unit|loopback|browser] [TIMEOUT s])
# One GoogleTest executable per layer; every test case becomes a ctest test with the
# layer's label and a time-out, discovered when ctest runs (not at build time, so a
# sanitizer build never runs test code while it links).
function(orv_add_test)
  cmake_parse_arguments(T "" "NAME;LABEL;TIMEOUT" "SOURCES;LIBS" ${ARGN})
  if(NOT T_LABEL)
    set(T_LABEL unit)
  endif()
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 60)
  endif()
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main orv_warnings)
  target_include_directories(${T_NAME} PRIVATE ${PROJECT_SOURCE_DIR})
  target_compile_definitions(${T_NAME} PRIVATE
    ORV_TESTDATA_DIR="${PROJECT_SOURCE_DIR}/tests/testdata"
    ORV_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    ORV_BINARY_DIR="${PROJECT_BINARY_DIR}")
  gtest_discover_tests(${T_NAME}
    DISCOVERY_MODE PRE_TEST
    WORKING_DIRECTORY ${PROJECT_BINARY_DIR}
    PROPERTIES LABELS ${T_LABEL} TIMEOUT ${T_TIMEOUT})
endfunction()

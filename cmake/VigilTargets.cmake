# Our own code builds with warnings as errors; third-party headers are system headers.
function(vigil_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Werror)
endfunction()

# vigil_add_tests(LABEL name LIBS lib... FILES a_test.cpp ...)
# One executable per test file, its cases discovered into CTest with the label.
function(vigil_add_tests)
  cmake_parse_arguments(T "" "LABEL" "LIBS;FILES" ${ARGN})
  foreach(src ${T_FILES})
    get_filename_component(name ${src} NAME_WE)
    set(exe ${T_LABEL}_${name})
    add_executable(${exe} ${src})
    target_link_libraries(${exe} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main GTest::gmock Threads::Threads)
    target_include_directories(${exe} PRIVATE ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/tests)
    vigil_warnings(${exe})
    gtest_discover_tests(${exe}
      PROPERTIES LABELS ${T_LABEL} ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
      DISCOVERY_TIMEOUT 60)
  endforeach()
endfunction()

# valo_add_library(NAME DEPS...): one static library per subsystem, built from every
# source file in src/NAME (and src/NAME/linux for the platform layer).
function(valo_add_library name)
  file(GLOB sources CONFIGURE_DEPENDS
       ${PROJECT_SOURCE_DIR}/src/${name}/*.cpp
       ${PROJECT_SOURCE_DIR}/src/${name}/linux/*.cpp)
  if(NOT sources)
    # A subsystem without sources yet still gets its target so others can link it.
    set(sources ${PROJECT_SOURCE_DIR}/cmake/empty.cpp)
  endif()
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${ARGN})
endfunction()

# valo_add_test(AREA LIBS...): one GoogleTest program per area from tests/AREA/*_test.cpp,
# every test labelled with the area so `ctest -L AREA` runs it.
function(valo_add_test area)
  file(GLOB sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/${area}/*.cpp)
  if(NOT sources)
    return()
  endif()
  add_executable(${area}_tests ${sources})
  target_include_directories(${area}_tests PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  target_link_libraries(${area}_tests PRIVATE ${ARGN} test_support GTest::gtest GTest::gmock
                        GTest::gtest_main)
  gtest_discover_tests(${area}_tests
    PROPERTIES LABELS ${area}
    # One variable per property: test discovery splits a list value at its semicolons.
    ENVIRONMENT "VALO_TEST_SOURCE_DIR=${PROJECT_SOURCE_DIR}"
    ENVIRONMENT_MODIFICATION "VALO_TEST_BINARY_DIR=set:${PROJECT_BINARY_DIR}"
    DISCOVERY_TIMEOUT 60)
endfunction()

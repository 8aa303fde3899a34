# Regex of source files that a layer's glob leaves out (set in a layer's CMakeLists.txt).
set(KESTROVA_LAYER_EXCLUDE "^$")

# kestrova_layer(NAME DEPS...): a static library of every .cpp in the current folder.
# The folder's sources are globbed so that adding a file needs no edit here.
function(kestrova_layer name)
  file(GLOB _sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  list(FILTER _sources EXCLUDE REGEX "${KESTROVA_LAYER_EXCLUDE}")
  if(NOT _sources)
    # A layer that has no code yet still links.
    set(_empty ${CMAKE_CURRENT_BINARY_DIR}/empty_layer.cpp)
    file(WRITE ${_empty} "")
    set(_sources ${_empty})
  endif()
  add_library(kestrova_${name} STATIC ${_sources})
  target_include_directories(kestrova_${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(kestrova_${name} PUBLIC ${ARGN} PRIVATE kestrova_warnings)
endfunction()

# kestrova_layer_tests(LAYER LIBS...): one GoogleTest program per layer, built from every
# .cpp in tests/LAYER, with each test registered in CTest.
function(kestrova_layer_tests layer)
  file(GLOB _sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${layer}/*.cpp)
  if(NOT _sources)
    return()
  endif()
  add_executable(kestrova_tests_${layer} ${_sources})
  target_link_libraries(kestrova_tests_${layer} PRIVATE ${ARGN} GTest::gtest GTest::gtest_main
                                                        kestrova_warnings)
  target_include_directories(kestrova_tests_${layer} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
  target_compile_definitions(kestrova_tests_${layer}
                             PRIVATE KESTROVA_TEST_DATA="${CMAKE_CURRENT_SOURCE_DIR}/data"
                                     KESTROVA_BIN_DIR="${CMAKE_BINARY_DIR}/bin")
  gtest_discover_tests(kestrova_tests_${layer} DISCOVERY_TIMEOUT 60
                       PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()

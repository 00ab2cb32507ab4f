# End-to-end tests, registered in the native tree so that one CTest run
# covers both suites. They run the cross tree's kv_e2e.exe under Wine, one
# CTest test per GoogleTest suite, serialised (they share one driver), in a
# world that a setup test makes and a cleanup test ends.
set(KV_CROSS_BUILD_DIR "" CACHE PATH "Cross build tree whose programs the end-to-end tests run")
if(NOT KV_CROSS_BUILD_DIR)
  return()
endif()

set(world ${CMAKE_SOURCE_DIR}/scripts/wine-world.sh)
set(runner ${CMAKE_SOURCE_DIR}/scripts/run-e2e.sh)
set(world_env "KV_CROSS_BUILD_DIR=${KV_CROSS_BUILD_DIR}" "KV_WINEPREFIX=${CMAKE_BINARY_DIR}/wine/prefix")

add_test(NAME e2e.world.up COMMAND ${world} up)
add_test(NAME e2e.world.down COMMAND ${world} down)
set_tests_properties(e2e.world.up PROPERTIES FIXTURES_SETUP wine_world ENVIRONMENT "${world_env}"
                     TIMEOUT 180 RESOURCE_LOCK wine)
set_tests_properties(e2e.world.down PROPERTIES FIXTURES_CLEANUP wine_world ENVIRONMENT "${world_env}"
                     TIMEOUT 60 RESOURCE_LOCK wine)

file(GLOB e2e_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/*.cpp)
set(suites)
foreach(source ${e2e_sources})
  file(STRINGS ${source} lines REGEX "^TEST(_F)?\\(([A-Za-z0-9_]+),")
  foreach(line ${lines})
    string(REGEX REPLACE "^TEST(_F)?\\(([A-Za-z0-9_]+),.*" "\\2" suite "${line}")
    list(APPEND suites ${suite})
  endforeach()
endforeach()
list(REMOVE_DUPLICATES suites)

foreach(suite ${suites})
  add_test(NAME e2e.${suite} COMMAND ${runner} --gtest_filter=${suite}.*)
  set_tests_properties(e2e.${suite} PROPERTIES FIXTURES_REQUIRED wine_world RESOURCE_LOCK wine
                       ENVIRONMENT "${world_env}" TIMEOUT 300)
endforeach()

# Tests that read pixels off the screen skip themselves on the null display
# and run here again on Xvfb, in a world of their own.
add_test(NAME e2e.x11.DrawTest COMMAND ${CMAKE_SOURCE_DIR}/scripts/run-e2e-x11.sh
         --gtest_filter=DrawTest.SimulatedStroke*)
set_tests_properties(e2e.x11.DrawTest PROPERTIES RESOURCE_LOCK wine TIMEOUT 300
                     ENVIRONMENT "KV_CROSS_BUILD_DIR=${KV_CROSS_BUILD_DIR}")

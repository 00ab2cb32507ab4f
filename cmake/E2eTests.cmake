# End-to-end tests, registered in the native tree so that one CTest run
# covers both suites. They run the cross tree's kv_e2e.exe under Wine, one
# CTest test per GoogleTest suite, serialised (they share one driver), in a
# world that a setup test makes and a cleanup test ends.
#
# Three worlds: the usual one at 96 DPI (e2e.<Suite>, fixture wine_world),
# one whose display has 144 DPI, 150 % scaling (e2e144.<Suite>, fixture
# wine_world_144, its own prefix), and one for the suites named Package*
# (e2epkg.<Suite>), which remove and install the whole product and compare
# the world with the snapshots wine-world.sh took around its installation. A suite whose name ends in "At144Dpi"
# runs in the second world only: to check another window at 144 DPI, add a
# TEST_F to PanelAt144Dpi (tests/e2e/dpi144_e2e.cpp) or write a suite of your
# own named so, whose SetUp skips unless e2e::WorldDpi() is 144.
set(KV_CROSS_BUILD_DIR "" CACHE PATH "Cross build tree whose programs the end-to-end tests run")
if(NOT KV_CROSS_BUILD_DIR)
  return()
endif()

set(world ${CMAKE_SOURCE_DIR}/scripts/wine-world.sh)
set(runner ${CMAKE_SOURCE_DIR}/scripts/run-e2e.sh)

file(GLOB e2e_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/*.cpp)
set(suites)
foreach(source ${e2e_sources})
  file(STRINGS ${source} lines REGEX "^TEST(_F|_P)?\\(([A-Za-z0-9_]+),")
  foreach(line ${lines})
    string(REGEX REPLACE "^TEST(_F|_P)?\\(([A-Za-z0-9_]+),.*" "\\2" suite "${line}")
    list(APPEND suites ${suite})
  endforeach()
endforeach()
list(REMOVE_DUPLICATES suites)
set(suites_144 ${suites})
list(FILTER suites_144 INCLUDE REGEX "At144Dpi$")
list(FILTER suites EXCLUDE REGEX "At144Dpi$")
set(suites_pkg ${suites})
list(FILTER suites_pkg INCLUDE REGEX "^Package")
list(FILTER suites EXCLUDE REGEX "^Package")

# kv_e2e_world(<test prefix> <fixture> <prefix folder> <dpi or ""> <suites...>)
function(kv_e2e_world name fixture folder dpi)
  set(env "KV_CROSS_BUILD_DIR=${KV_CROSS_BUILD_DIR}" "KV_WINEPREFIX=${CMAKE_BINARY_DIR}/${folder}/prefix"
          "KV_WINE_TEMPLATE_DIR=${CMAKE_BINARY_DIR}/wine")
  if(dpi)
    list(APPEND env "KV_DPI=${dpi}")
  endif()
  add_test(NAME ${name}.world.up COMMAND ${world} up)
  add_test(NAME ${name}.world.down COMMAND ${world} down)
  set_tests_properties(${name}.world.up PROPERTIES FIXTURES_SETUP ${fixture} ENVIRONMENT "${env}"
                       TIMEOUT 180 RESOURCE_LOCK wine)
  set_tests_properties(${name}.world.down PROPERTIES FIXTURES_CLEANUP ${fixture}
                       ENVIRONMENT "${env}" TIMEOUT 60 RESOURCE_LOCK wine)
  foreach(suite ${ARGN})
    # Parameterised suites are named <instantiation>/<suite>.
    add_test(NAME ${name}.${suite} COMMAND ${runner} --gtest_filter=${suite}.*:*/${suite}.*)
    set_tests_properties(${name}.${suite} PROPERTIES FIXTURES_REQUIRED ${fixture} RESOURCE_LOCK wine
                         ENVIRONMENT "${env}" TIMEOUT 300)
  endforeach()
endfunction()

kv_e2e_world(e2e wine_world wine "" ${suites})
kv_e2e_world(e2e144 wine_world_144 wine144 144 ${suites_144})
kv_e2e_world(e2epkg wine_world_pkg winepkg "" ${suites_pkg})
# One world at a time: each starts after the one before has ended.
set_tests_properties(e2e144.world.up PROPERTIES DEPENDS e2e.world.down)
set_tests_properties(e2epkg.world.up PROPERTIES DEPENDS e2e144.world.down)

# Tests that read pixels off the screen skip themselves on the null display
# and run here again on Xvfb, in a world of their own.
add_test(NAME e2e.x11.DrawTest COMMAND ${CMAKE_SOURCE_DIR}/scripts/run-e2e-x11.sh
         --gtest_filter=DrawTest.SimulatedStroke*:*/CalibrationBoxes.*)
set_tests_properties(e2e.x11.DrawTest PROPERTIES RESOURCE_LOCK wine TIMEOUT 300
                     ENVIRONMENT "KV_CROSS_BUILD_DIR=${KV_CROSS_BUILD_DIR}")

# The package's interactive installation, clicked through on Xvfb.
add_test(NAME e2e.x11.PackageInteractive COMMAND ${CMAKE_SOURCE_DIR}/scripts/run-e2e-x11.sh
         --gtest_filter=PackageWorld.PackageInteractive*)
set_tests_properties(e2e.x11.PackageInteractive PROPERTIES RESOURCE_LOCK wine TIMEOUT 300
                     ENVIRONMENT "KV_CROSS_BUILD_DIR=${KV_CROSS_BUILD_DIR}")

# The mouse as a finger: real clicks and drags, marks and strokes read off
# the screen.
add_test(NAME e2e.x11.MouseAsFinger COMMAND ${CMAKE_SOURCE_DIR}/scripts/run-e2e-x11.sh
         --gtest_filter=MouseAsFinger.*)
set_tests_properties(e2e.x11.MouseAsFinger PROPERTIES RESOURCE_LOCK wine TIMEOUT 300
                     ENVIRONMENT "KV_CROSS_BUILD_DIR=${KV_CROSS_BUILD_DIR}")

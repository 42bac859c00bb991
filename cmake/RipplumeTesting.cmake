# ripplume_add_gtest(NAME SOURCES ... LIBS ...)
# A GoogleTest program. Native builds register each test case; the Windows
# build runs the whole program once under Wine (discovery at build time
# would start Wine from the build).
function(ripplume_add_gtest name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} ripplume_root GTest::gtest_main GTest::gmock)
  if(RIPPLUME_WINDOWS)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES
      FIXTURES_REQUIRED wine_unit_prefix
      ENVIRONMENT "WINEPREFIX=${RIPPLUME_WINE_UNIT_PREFIX};WINEDEBUG=-all"
      LABELS "unit;wine;${ARG_LABELS}")
  else()
    gtest_discover_tests(${name}
      WORKING_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}
      PROPERTIES LABELS unit
      DISCOVERY_TIMEOUT 60)
    if(ARG_LABELS)
      # gtest_discover_tests flattens a list-valued property, so the extra
      # labels are set by a script that ctest reads after the discovered tests.
      set(labels_script ${CMAKE_CURRENT_BINARY_DIR}/${name}_labels.cmake)
      file(WRITE ${labels_script}
        "foreach(t IN LISTS ${name}_TESTS)\n"
        "  set_tests_properties(\"\${t}\" PROPERTIES LABELS \"unit;${ARG_LABELS}\")\n"
        "endforeach()\n")
      set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${labels_script})
    endif()
  endif()
endfunction()

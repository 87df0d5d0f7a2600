# Registers every GoogleTest case of a test executable with CTest, one test
# each, named <prefix>.<Suite>.<Case>, so that a failure (and a retry) names
# the case. The cases are read from the sources' TEST and TEST_F lines
# (without running the executable, which under Wine would need the prefix
# that a test only makes); adding a case to a source reconfigures.
#   gtest_cases(<out-variable> <prefix> <target> [COMMAND_PREFIX ...])
# sets <out-variable> to the names of the tests it added, for their properties.
function(gtest_cases out prefix target)
  cmake_parse_arguments(PARSE_ARGV 3 arg "" "" "ADD_WITH")
  get_target_property(sources ${target} SOURCES)
  get_target_property(source_dir ${target} SOURCE_DIR)
  set(names "")
  foreach(source IN LISTS sources)
    if(NOT IS_ABSOLUTE ${source})
      set(source ${source_dir}/${source})
    endif()
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${source})
    file(READ ${source} text)
    string(REGEX MATCHALL "\nTEST(_F)?\\([ \t\r\n]*[A-Za-z0-9_]+[ \t\r\n]*,[ \t\r\n]*[A-Za-z0-9_]+" cases "${text}")
    foreach(case IN LISTS cases)
      string(REGEX REPLACE ".*\\([ \t\r\n]*([A-Za-z0-9_]+)[ \t\r\n]*,[ \t\r\n]*([A-Za-z0-9_]+)" "\\1.\\2" filter "${case}")
      set(name ${prefix}.${filter})
      if(arg_ADD_WITH)
        cmake_language(CALL ${arg_ADD_WITH} ${name} COMMAND ${target} --gtest_filter=${filter})
      else()
        add_test(NAME ${name} COMMAND ${target} --gtest_filter=${filter})
      endif()
      # A case that skips itself (GTEST_SKIP) is a skip, not a pass.
      set_tests_properties(${name} PROPERTIES SKIP_REGULAR_EXPRESSION "\\[  SKIPPED \\]")
      list(APPEND names ${name})
    endforeach()
  endforeach()
  if(NOT names)
    message(FATAL_ERROR "no test case found in the sources of ${target}")
  endif()
  set(${out} ${names} PARENT_SCOPE)
endfunction()

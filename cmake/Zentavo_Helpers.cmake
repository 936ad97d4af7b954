# Every .cpp of a folder goes into one library; adding a file needs no CMake edit.
function(zl_folder_library name folder)
  file(GLOB sources CONFIGURE_DEPENDS ${folder}/*.cpp ${folder}/*.h)
  set(options_and_excludes ${ARGN})
  foreach(excluded IN LISTS options_and_excludes)
    list(FILTER sources EXCLUDE REGEX "/${excluded}$")
  endforeach()
  list(FILTER sources INCLUDE REGEX "\\.(cpp|h)$")
  if(NOT sources MATCHES "\\.cpp")
    # A folder that has no code yet still makes a library, so the tree always configures.
    file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/${name}_empty.cpp "")
    list(APPEND sources ${CMAKE_CURRENT_BINARY_DIR}/${name}_empty.cpp)
  endif()
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PRIVATE zl_warnings)
endfunction()

# One test executable per *_test.cpp file, registered with a label (core, ui).
function(zl_add_tests folder label)
  cmake_parse_arguments(ARG "QT" "" "LIBRARIES" ${ARGN})
  file(GLOB test_sources CONFIGURE_DEPENDS ${folder}/*_test.cpp)
  foreach(test_source IN LISTS test_sources)
    get_filename_component(test_name ${test_source} NAME_WE)
    add_executable(${test_name} ${test_source})
    target_link_libraries(${test_name} PRIVATE ${ARG_LIBRARIES} zl_warnings)
    target_include_directories(${test_name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests)
    target_compile_definitions(${test_name} PRIVATE ZL_TEST_DATA_DIR="${PROJECT_SOURCE_DIR}/tests/data"
                                                   ZL_SOURCE_DATA_DIR="${PROJECT_SOURCE_DIR}/data")
    add_test(NAME ${test_name} COMMAND ${test_name})
    set_tests_properties(${test_name} PROPERTIES LABELS ${label}
      ENVIRONMENT "QT_QPA_PLATFORM=offscreen;ZL_DIST_DIR=${ZL_DIST_DIR}")
  endforeach()
endfunction()

# kavrix_layer_headers(<target> <PUBLIC|INTERFACE|PRIVATE> <folder under src>...)
# The target's include path reaches only the headers of the given folders (not their
# subfolders): each header is linked into <build>/layer_include/<target>/<folder>/, and that tree
# is the include path. A layer that links only the layers below it therefore cannot even compile
# an include of a higher layer's header.
function(kavrix_layer_headers target visibility)
  set(root ${CMAKE_BINARY_DIR}/layer_include/${target})
  file(REMOVE_RECURSE ${root})
  foreach(dir ${ARGN})
    file(GLOB headers CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/${dir}/*.hpp ${PROJECT_SOURCE_DIR}/src/${dir}/*.inc)
    file(MAKE_DIRECTORY ${root}/${dir})
    foreach(header ${headers})
      get_filename_component(name ${header} NAME)
      file(CREATE_LINK ${header} ${root}/${dir}/${name} SYMBOLIC)
    endforeach()
  endforeach()
  target_include_directories(${target} ${visibility} ${root})
endfunction()

# kavrix_layer(<target> DIR <folder under src> [DEPS <targets>...])
# One static library per layer. Only the layers named in DEPS are linked and their headers are
# the only ones besides its own on its include path, so an upward include fails to compile and a
# call into a higher layer fails to link.
function(kavrix_layer target)
  cmake_parse_arguments(L "" "DIR" "DEPS" ${ARGN})
  file(GLOB srcs CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/${L_DIR}/*.cpp)
  if(srcs)
    add_library(${target} STATIC ${srcs})
    kavrix_layer_headers(${target} PUBLIC ${L_DIR})
    target_link_libraries(${target} PUBLIC ${L_DEPS})
    set_target_properties(${target} PROPERTIES AUTOMOC OFF)
  else()
    # A layer with no sources yet still takes part in the link graph.
    add_library(${target} INTERFACE)
    kavrix_layer_headers(${target} INTERFACE ${L_DIR})
    target_link_libraries(${target} INTERFACE ${L_DEPS})
  endif()
endfunction()

# kavrix_test(<name> DIR <folder under tests> DEPS <targets>... [QT])
# QT: the test main creates one QApplication on the offscreen platform before GoogleTest starts.
# A test sees the headers of the layers it links and the shared test support.
function(kavrix_test name)
  cmake_parse_arguments(T "QT" "DIR" "DEPS" ${ARGN})
  file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${T_DIR}/*.cpp)
  if(NOT srcs)
    return()
  endif()
  if(T_QT)
    list(APPEND srcs ${CMAKE_CURRENT_SOURCE_DIR}/support/qt_test_main.cpp)
    set(main_lib GTest::gtest Qt6::Test)
  else()
    set(main_lib GTest::gtest_main)
  endif()
  add_executable(${name} ${srcs})
  target_include_directories(${name} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
  target_compile_definitions(${name} PRIVATE KAVRIX_TEST_DATA="${CMAKE_CURRENT_SOURCE_DIR}/data")
  target_link_libraries(${name} PRIVATE ${T_DEPS} kv_test_support ${main_lib} GTest::gmock)
  gtest_discover_tests(${name}
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
    DISCOVERY_TIMEOUT 60)
endfunction()

# A static library from globbed sources, so that adding a file needs no edit here.
# A library without code yet still exists as a target for its users.
function(korv_library name)
    cmake_parse_arguments(L "" "EXCLUDE" "GLOBS;LIBS" ${ARGN})
    file(GLOB srcs CONFIGURE_DEPENDS ${L_GLOBS})
    if(L_EXCLUDE)
        list(FILTER srcs EXCLUDE REGEX "${L_EXCLUDE}")
    endif()
    if(srcs)
        add_library(${name} STATIC ${srcs})
        target_link_libraries(${name} PUBLIC korv_common ${L_LIBS})
    else()
        add_library(${name} INTERFACE)
        target_link_libraries(${name} INTERFACE korv_common ${L_LIBS})
    endif()
endfunction()

# One library per source folder.
function(korv_layer name dir)
    cmake_parse_arguments(L "" "EXCLUDE" "LIBS" ${ARGN})
    korv_library(${name} GLOBS ${dir}/*.cpp ${dir}/*.h ${dir}/*.qrc EXCLUDE "${L_EXCLUDE}" LIBS ${L_LIBS})
endfunction()

# One test program per test file: tests/<layer>/foo_test.cpp becomes test_<layer>_foo.
# Parallel work on different files of a layer never breaks each other's build.
function(korv_tests layer)
    cmake_parse_arguments(T "" "MAIN" "LIBS" ${ARGN})
    file(GLOB tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_test.cpp)
    foreach(src ${tests})
        get_filename_component(stem ${src} NAME_WE)
        string(REGEX REPLACE "_test$" "" stem ${stem})
        set(target test_${layer}_${stem})
        add_executable(${target} ${src})
        target_link_libraries(${target} PRIVATE ${T_LIBS} ${T_MAIN} korv_testsupport GTest::gtest Qt6::Test)
        target_compile_definitions(${target} PRIVATE KORVELLE_TEST_BIN_DIR="${CMAKE_BINARY_DIR}")
        # The test mains select the offscreen platform themselves.
        gtest_discover_tests(${target} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60)
        list(APPEND made ${target})
    endforeach()
    set(KORV_TEST_TARGETS ${made} PARENT_SCOPE)
endfunction()

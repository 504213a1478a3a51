# Tests of the MATLAB literal parser.
set(ZEVK_LITERAL_TEST_SOURCES ${CMAKE_CURRENT_LIST_DIR}/literal_test.cpp)

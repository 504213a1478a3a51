# Parser of MATLAB literals into host arrays, shared by the zevk tool and its tests.
set(ZEVK_LITERAL_SOURCES ${CMAKE_CURRENT_LIST_DIR}/literal.cpp)

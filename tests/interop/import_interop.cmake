# The Import on SOLUC tables from independent writers (python3-dbf, ogr2ogr) and on a table
# locked by another process; the scripts beside this file make them during the test.
add_executable(import_interop_tests ${CMAKE_CURRENT_LIST_DIR}/import_interop_test.cpp)
target_link_libraries(import_interop_tests PRIVATE import_test_folder GTest::gtest_main)
target_compile_definitions(import_interop_tests
  PRIVATE IMPORT_INTEROP_SCRIPTS="${CMAKE_CURRENT_LIST_DIR}")
gtest_discover_tests(import_interop_tests)

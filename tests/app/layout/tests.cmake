# The main window's layout and idle actions as pure functions.
target_sources(app_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/layout/MainLayout_test.cpp)

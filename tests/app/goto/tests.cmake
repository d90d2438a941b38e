# Going to a time: the times taken and where they land.
target_sources(app_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/GoToTime_test.cpp)

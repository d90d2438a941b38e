# The play history's dialog on a test window, with a stand-in player.
target_sources(app_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/DialogHistory_test.cpp)

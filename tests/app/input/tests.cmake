# The mouse on the picture as a state machine.
target_sources(app_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/input/PictureMouse_CL_test.cpp)
# The window drag geometry.
target_sources(app_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/input/WindowDrag_CL_test.cpp)

# The message loop with a stand-in main window and a modeless dialog.
target_sources(app_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/loop/MessageLoop_CL_test.cpp)

# The settings pages built on a test window: texts, keys, stored values and their rules.
target_sources(app_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/SettingsPages_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/ui/HostWindow_CL.cpp)

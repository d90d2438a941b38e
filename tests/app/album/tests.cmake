# Adding tags with the dialog replaced; the change notice received by windows of the album
# application's classes.
target_sources(app_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/album/AlbumNotice_test.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/album/AlbumTags_CL_test.cpp)

file(REMOVE_RECURSE
  "../bin/make_movie.exe"
  "../bin/make_movie.pdb"
  "CMakeFiles/make_movie.dir/MakeMovie.cpp.obj"
  "CMakeFiles/make_movie.dir/MakeMovie.cpp.obj.d"
  "libmake_movie.dll.a"
)

# Per-language clean rules from dependency scanning.
foreach(lang CXX)
  include(CMakeFiles/make_movie.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()

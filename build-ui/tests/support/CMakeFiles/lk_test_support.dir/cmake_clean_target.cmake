file(REMOVE_RECURSE
  "liblk_test_support.a"
)

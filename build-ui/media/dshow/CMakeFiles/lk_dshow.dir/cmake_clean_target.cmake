file(REMOVE_RECURSE
  "liblk_dshow.a"
)

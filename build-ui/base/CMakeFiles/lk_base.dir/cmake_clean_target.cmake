file(REMOVE_RECURSE
  "liblk_base.a"
)

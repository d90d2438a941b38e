file(REMOVE_RECURSE
  "liblk_store.a"
)

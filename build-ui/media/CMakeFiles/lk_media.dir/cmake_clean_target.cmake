file(REMOVE_RECURSE
  "liblk_media.a"
)

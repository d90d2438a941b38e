file(REMOVE_RECURSE
  "liblk_app.a"
)

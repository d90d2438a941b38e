file(REMOVE_RECURSE
  "../../lib/libgmock_main.a"
)

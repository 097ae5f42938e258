# Every target of ours gets the same warning set; CI turns warnings into errors.
add_library(zv_warnings INTERFACE)
target_compile_options(zv_warnings INTERFACE -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor)
if(ZV_WERROR)
  target_compile_options(zv_warnings INTERFACE -Werror)
endif()

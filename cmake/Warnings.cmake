# Every target of ours gets the same warning set; CI turns warnings into errors.
add_library(zv_warnings INTERFACE)
if(MSVC)
  # The sources are UTF-8 (Japanese texts in string literals).
  target_compile_options(zv_warnings INTERFACE /W4 /utf-8 /permissive-)
  if(ZV_WERROR)
    target_compile_options(zv_warnings INTERFACE /WX)
  endif()
else()
  target_compile_options(zv_warnings INTERFACE -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor)
  if(MINGW)
    # GCC 12 reports overlapping copies inside std::string's own code when it inlines
    # it at -O3 (GCC bug 105329): nothing of ours, and no way to write around it.
    target_compile_options(zv_warnings INTERFACE -Wno-restrict)
  endif()
  if(ZV_WERROR)
    target_compile_options(zv_warnings INTERFACE -Werror)
  endif()
endif()

# One set of warnings and sanitizer switches for every target of ours.
add_library(files_options INTERFACE)
target_compile_options(files_options INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow=local -Wnon-virtual-dtor -Wsuggest-override
  $<$<COMPILE_LANGUAGE:CXX>:-Wno-missing-field-initializers>)
if(FILES_SANITIZE)
  target_compile_options(files_options INTERFACE -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  target_link_options(files_options INTERFACE -fsanitize=address,undefined)
endif()

# Qt headers trip -Wpedantic in places we cannot change; keep them out of our warnings.
function(files_qt_target target)
  set_target_properties(${target} PROPERTIES AUTOMOC OFF)
endfunction()

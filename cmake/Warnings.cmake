# Warnings are errors in the project's own code; third-party headers come in as system headers.
function(lumora_warnings target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /W4 /WX)
  else()
    target_compile_options(${target} PRIVATE
      -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion
      -Wnon-virtual-dtor -Woverloaded-virtual -Wold-style-cast -Wcast-qual
      -Wnull-dereference -Wdouble-promotion -Wformat=2 -Wimplicit-fallthrough
      -Werror)
  endif()
endfunction()

# The project's own code gets many warnings; developer and CI builds (the presets) also make them
# errors, while a plain build for packaging only shows them. Third-party headers come in as system
# headers.
include(${CMAKE_CURRENT_LIST_DIR}/WarningFlags.cmake)

option(LUMORA_WARNINGS_AS_ERRORS "Treat the project's warnings as errors" OFF)

function(lumora_warnings target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /W4)
    if(LUMORA_WARNINGS_AS_ERRORS)
      target_compile_options(${target} PRIVATE /WX)
    endif()
  else()
    target_compile_options(${target} PRIVATE ${LUMORA_WARNING_FLAGS}
      # GCC 12 at -O3 reports overlaps inside std::string's own concatenation (its bug 105329).
      $<$<CXX_COMPILER_ID:GNU>:-Wno-restrict>)
    if(LUMORA_WARNINGS_AS_ERRORS)
      target_compile_options(${target} PRIVATE -Werror)
    endif()
  endif()
endfunction()

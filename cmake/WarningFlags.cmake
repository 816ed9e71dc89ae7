# The warnings the project's own code is built with, in one list: the build (Warnings.cmake) and
# the macOS backend's type check on Linux (scripts/typecheck/warning-flags) both read it here.
set(LUMORA_WARNING_FLAGS
  -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion
  -Wnon-virtual-dtor -Woverloaded-virtual -Wold-style-cast -Wcast-qual
  -Wnull-dereference -Wdouble-promotion -Wformat=2 -Wimplicit-fallthrough)

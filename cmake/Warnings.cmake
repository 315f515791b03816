# Warnings for our own code.  Third-party headers come in through imported
# targets, whose include folders CMake passes as system folders, so these
# flags judge only what we wrote.  QUILLON_WERROR turns every warning into an
# error; CI sets it (.ci/run), local builds leave it off so that a newer
# compiler's new warning does not stop someone's work.
option(QUILLON_WERROR "Treat compiler warnings as errors" OFF)
add_compile_options(
  -Wall -Wextra -Wpedantic
  -Wshadow -Wnon-virtual-dtor -Wold-style-cast -Woverloaded-virtual
  -Wcast-qual -Wformat=2 -Wimplicit-fallthrough
)
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  add_compile_options(-Wduplicated-cond -Wlogical-op)
endif()
if(QUILLON_WERROR)
  add_compile_options(-Werror)
endif()

# Optimised builds, and so the Debian package made from them, carry the
# hardening that Debian's own packages get: the flags dpkg-buildflags gives
# (fortified functions, stack protector, read-only relocations bound at
# start).  Debug builds stay without them: the sanitizer builds are Debug,
# and fortified functions would stand between AddressSanitizer and the
# calls it checks.
option(QUILLON_HARDENING "Build optimised configurations with dpkg-buildflags' hardening" ON)
find_program(DPKG_BUILDFLAGS dpkg-buildflags)
if(QUILLON_HARDENING AND NOT DPKG_BUILDFLAGS)
  message(FATAL_ERROR "dpkg-buildflags not found (package dpkg-dev); configure with -DQUILLON_HARDENING=OFF to build without hardening")
endif()
if(QUILLON_HARDENING)
  # Every hardening feature, but not the file-name rewriting for reproducible
  # builds: debug information keeps its real paths, and ccache its hits.
  set(maint_options "hardening=+all reproducible=-fixfilepath,-fixdebugpath")
  foreach(kind CPPFLAGS CXXFLAGS LDFLAGS)
    execute_process(COMMAND ${CMAKE_COMMAND} -E env "DEB_BUILD_MAINT_OPTIONS=${maint_options}"
                            ${DPKG_BUILDFLAGS} --get ${kind}
                    OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
    separate_arguments(flags UNIX_COMMAND "${flags}")
    set(hardening_${kind} ${flags})
  endforeach()
  # Optimisation and debug information are the build type's to choose.
  list(REMOVE_ITEM hardening_CXXFLAGS -g -O2)
  set(optimised "$<NOT:$<CONFIG:Debug>>")
  add_compile_options("$<${optimised}:${hardening_CPPFLAGS};${hardening_CXXFLAGS}>")
  add_link_options("$<${optimised}:${hardening_LDFLAGS}>")
  list(JOIN hardening_CPPFLAGS " " shown_cpp)
  list(JOIN hardening_CXXFLAGS " " shown_cxx)
  list(JOIN hardening_LDFLAGS " " shown_ld)
  message(STATUS "Hardening of optimised builds: ${shown_cpp} ${shown_cxx}; linked with ${shown_ld}")
endif()

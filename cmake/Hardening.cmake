# Debian's hardening flags, as dpkg-buildflags gives them with every feature on: the stack
# protector, fortified functions, format checks, read-only relocations bound at load time.
# Only those flags are taken (the build type keeps its own optimisation and debug flags);
# fortification needs optimisation, so builds without it and sanitizer builds go without.
option(ZL_HARDENING "Build with Debian's hardening flags (dpkg-buildflags)" ON)
find_program(ZL_DPKG_BUILDFLAGS dpkg-buildflags)
if(ZL_HARDENING AND ZL_DPKG_BUILDFLAGS AND NOT ZL_SANITIZE AND NOT ZL_FUZZ
   AND CMAKE_BUILD_TYPE MATCHES "^(Release|RelWithDebInfo|MinSizeRel)$")
  set(zl_hardening_pattern "^(-fstack-protector|-fstack-clash-protection|-fcf-protection|-Wformat|-Werror=format|-D_FORTIFY_SOURCE|-Wl,-z,)")
  foreach(kind CPPFLAGS CXXFLAGS LDFLAGS)
    execute_process(COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
                            ${ZL_DPKG_BUILDFLAGS} --get ${kind}
                    OUTPUT_VARIABLE zl_flags OUTPUT_STRIP_TRAILING_WHITESPACE)
    separate_arguments(zl_flags UNIX_COMMAND "${zl_flags}")
    set(zl_hardening_${kind})
    foreach(flag IN LISTS zl_flags)
      if(flag MATCHES "${zl_hardening_pattern}")
        list(APPEND zl_hardening_${kind} ${flag})
      endif()
    endforeach()
  endforeach()
  add_compile_options(${zl_hardening_CPPFLAGS} ${zl_hardening_CXXFLAGS})
  add_link_options(${zl_hardening_LDFLAGS})
  message(STATUS "Hardening: ${zl_hardening_CPPFLAGS} ${zl_hardening_CXXFLAGS} ${zl_hardening_LDFLAGS}")
endif()

# The hardening flags Debian builds its packages with (stack protector, format checks, fortified
# C library calls, read-only relocations), as dpkg-buildflags gives them, for the release build
# that run.sh makes and package.sh packages. The optimisation and debugging flags stay the build
# type's (the package is stripped), and the source-path mapping is left out.
find_program(DPKG_BUILDFLAGS dpkg-buildflags)
if(CMAKE_BUILD_TYPE STREQUAL Release AND DPKG_BUILDFLAGS)
    set(hardening_default ON)
else()
    set(hardening_default OFF)
endif()
option(SLEEVIX_DEBIAN_HARDENING "Build with the hardening flags of dpkg-buildflags"
       ${hardening_default})
if(SLEEVIX_DEBIAN_HARDENING)
    if(NOT DPKG_BUILDFLAGS)
        message(FATAL_ERROR "SLEEVIX_DEBIAN_HARDENING needs dpkg-buildflags (package dpkg-dev)")
    endif()
    foreach(kind CPPFLAGS CXXFLAGS LDFLAGS)
        execute_process(COMMAND ${DPKG_BUILDFLAGS} --get ${kind}
                        OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE)
        separate_arguments(flags UNIX_COMMAND "${flags}")
        list(FILTER flags EXCLUDE REGEX "^(-g.*|-O.*|-ffile-prefix-map=.*|-fdebug-prefix-map=.*)$")
        if(kind STREQUAL LDFLAGS)
            add_link_options(${flags})
        else()
            add_compile_options(${flags})
        endif()
        message(STATUS "Debian build flags (${kind}): ${flags}")
    endforeach()
endif()

# debian_version(<out> <version text>): the program's version ("1.10c": numbers with dots, and
# at most one letter for a release between two numbered ones) as a Debian package version:
# the text as the upstream part, lower case, and the package revision 1. dpkg orders these as the
# program does: 1.10 < 1.10a < 1.10c < 1.11 < 2.0. A text of any other form stops the
# configuration, since dpkg would order it wrongly or refuse it.
function(debian_version out text)
    string(STRIP "${text}" text)
    string(TOLOWER "${text}" lower)
    if(NOT lower MATCHES "^[0-9]+(\\.[0-9]+)*[a-z]?$")
        message(FATAL_ERROR "The version \"${text}\" has no Debian form: "
                            "expected numbers with dots and at most one letter, like 1.10c")
    endif()
    set(${out} "${lower}-1" PARENT_SCOPE)
endfunction()

# The manual page, and what a Debian package carries in /usr/share/doc/sleevix: the copyright
# in Debian's machine-readable form and the Debian changelog, whose newest entry is this
# version. Both are compressed at build time without a time stamp, as Debian's tools do. An
# empty entry in update-mime's folder, named after the desktop entry, keeps the desktop entry's
# picture types out of /etc/mailcap: "Open with" offers Sleevix, nothing opens photos in it
# unasked. lintian's overrides say why the one warning that does not apply (a first upload that
# closes no Debian bug) does not.

# RFC 2822 date of the release day for the changelog ("Tue, 08 Dec 2026 00:00:00 +0000").
function(rfc2822_date out iso)
    string(REGEX MATCH "^([0-9]+)-([0-9]+)-([0-9]+)$" matched "${iso}")
    if(NOT matched)
        message(FATAL_ERROR "Release date ${iso} is not YYYY-MM-DD")
    endif()
    set(y ${CMAKE_MATCH_1})
    math(EXPR m "${CMAKE_MATCH_2} + 0")
    math(EXPR d "${CMAKE_MATCH_3} + 0")
    # Sakamoto's day of the week (0 = Sunday).
    set(offsets 0 3 2 5 0 3 5 1 4 6 2 4)
    if(m LESS 3)
        math(EXPR y "${y} - 1")
    endif()
    math(EXPR index "${m} - 1")
    list(GET offsets ${index} offset)
    math(EXPR weekday "(${y} + ${y} / 4 - ${y} / 100 + ${y} / 400 + ${offset} + ${d}) % 7")
    set(days Sun Mon Tue Wed Thu Fri Sat)
    set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
    list(GET days ${weekday} dayName)
    list(GET months ${index} monthName)
    if(d LESS 10)
        set(d 0${d})
    endif()
    string(REGEX MATCH "^[0-9]+" year "${iso}")
    set(${out} "${dayName}, ${d} ${monthName} ${year} 00:00:00 +0000" PARENT_SCOPE)
endfunction()

include(DebianVersion)
debian_version(SLEEVIX_DEBIAN_VERSION "${SLEEVIX_VERSION_TEXT}")
rfc2822_date(SLEEVIX_CHANGELOG_DATE ${SLEEVIX_RELEASE_DATE})
configure_file(${CMAKE_SOURCE_DIR}/data/debian/changelog.in
               ${CMAKE_BINARY_DIR}/docs/changelog.Debian @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/data/sleevix.1 ${CMAKE_BINARY_DIR}/docs/sleevix.1 @ONLY)
set(SLEEVIX_DOCS)
foreach(doc changelog.Debian sleevix.1)
    set(packed ${CMAKE_BINARY_DIR}/docs/${doc}.gz)
    add_custom_command(OUTPUT ${packed}
        COMMAND gzip -9 -n -c ${CMAKE_BINARY_DIR}/docs/${doc} > ${packed}
        DEPENDS ${CMAKE_BINARY_DIR}/docs/${doc}
        COMMENT "Compressing ${doc}")
    list(APPEND SLEEVIX_DOCS ${packed})
endforeach()
add_custom_target(docs ALL DEPENDS ${SLEEVIX_DOCS})

install(FILES ${CMAKE_BINARY_DIR}/docs/sleevix.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_SOURCE_DIR}/data/debian/copyright ${CMAKE_BINARY_DIR}/docs/changelog.Debian.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/sleevix)
install(FILES ${CMAKE_SOURCE_DIR}/data/debian/lintian-overrides
        DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME sleevix)
install(FILES ${CMAKE_SOURCE_DIR}/data/debian/${SLEEVIX_APP_ID}.mime
        DESTINATION lib/mime/packages RENAME ${SLEEVIX_APP_ID})

# The program's version texts as Debian versions (cmake -P): each maps as the package needs, and
# a text dpkg would order wrongly stops the configuration.
# Usage: cmake -DMODULES=<source>/cmake -P DebianVersionCheck.cmake
list(APPEND CMAKE_MODULE_PATH ${MODULES})
include(DebianVersion)

# Run again with -DTEXT=...: maps only that text (and fails as the configuration would).
if(DEFINED TEXT)
    debian_version(got "${TEXT}")
    return()
endif()

foreach(case "1.10c:1.10c-1" "1.10:1.10-1" "2.0A:2.0a-1" " 1.9z :1.9z-1" "3:3-1")
    string(REPLACE ":" ";" parts "${case}")
    list(GET parts 0 text)
    list(GET parts 1 wanted)
    debian_version(got "${text}")
    if(NOT got STREQUAL wanted)
        message(FATAL_ERROR "\"${text}\" became ${got}, expected ${wanted}")
    endif()
endforeach()

# dpkg orders them as the program's releases follow each other.
find_program(DPKG dpkg)
if(DPKG)
    set(previous "")
    foreach(text 1.9z 1.10 1.10a 1.10c 1.11 2.0)
        debian_version(current "${text}")
        if(previous)
            execute_process(COMMAND ${DPKG} --compare-versions ${previous} lt ${current}
                            RESULT_VARIABLE earlier)
            if(NOT earlier EQUAL 0)
                message(FATAL_ERROR "dpkg does not put ${previous} before ${current}")
            endif()
        endif()
        set(previous ${current})
    endforeach()
endif()
# Texts with no Debian form stop the configuration with a message that says so.
foreach(text "version 1.10c" "1.10 beta" "1.10cc" "v2" "1..2" "")
    execute_process(COMMAND ${CMAKE_COMMAND} -DMODULES=${MODULES} "-DTEXT=${text}" -P
                            ${CMAKE_CURRENT_LIST_FILE}
                    RESULT_VARIABLE failed ERROR_VARIABLE message)
    if(failed EQUAL 0 OR NOT message MATCHES "has no Debian form")
        message(FATAL_ERROR "\"${text}\" was taken as a version: ${message}")
    endif()
endforeach()
message(STATUS "the version texts map to Debian versions in order")

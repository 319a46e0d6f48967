# SPDX-License-Identifier: GPL-3.0-or-later
# Writes CHANGELOG.md as a Debian changelog, the form dpkg and lintian read:
#   cmake -DIN=CHANGELOG.md -DOUT=changelog -DPACKAGE=veltrane
#         -DMAINTAINER="Name <address>" -P debian_changelog.cmake
# A release is a heading "## VERSION (YYYY-MM-DD)"; its entries are "- "
# items, whose following lines, indented by two blanks, continue them. The
# entries under any other heading ("## Unreleased") are not in a release
# and are left out.
file(STRINGS "${IN}" lines ENCODING UTF-8)
set(out "")
set(trailer "")
set(in_release FALSE)

# "Tue, 08 Dec 2026 00:00:00 +0000" for 2026-12-08 (Zeller's congruence).
function(rfc2822 date result)
    string(REGEX MATCH "^([0-9]+)-([0-9]+)-([0-9]+)$" _ "${date}")
    set(y ${CMAKE_MATCH_1})
    math(EXPR m "${CMAKE_MATCH_2}")
    math(EXPR d "${CMAKE_MATCH_3}")
    set(zy ${y})
    set(zm ${m})
    if(m LESS 3)
        math(EXPR zm "${m} + 12")
        math(EXPR zy "${y} - 1")
    endif()
    math(EXPR h "(${d} + (13 * (${zm} + 1)) / 5 + ${zy} + ${zy} / 4 - ${zy} / 100 + ${zy} / 400) % 7")
    set(days Sat Sun Mon Tue Wed Thu Fri)
    list(GET days ${h} day)
    math(EXPR mi "${m} - 1")
    set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
    list(GET months ${mi} month)
    if(d LESS 10)
        set(d "0${d}")
    endif()
    set(${result} "${day}, ${d} ${month} ${y} 00:00:00 +0000" PARENT_SCOPE)
endfunction()

foreach(line IN LISTS lines)
    if(line MATCHES "^## ([^ ]+) \\(([0-9-]+)\\)")
        set(version ${CMAKE_MATCH_1})
        rfc2822(${CMAKE_MATCH_2} when)
        string(APPEND out "${trailer}${PACKAGE} (${version}) unstable; urgency=medium\n\n")
        set(trailer "\n -- ${MAINTAINER}  ${when}\n\n")
        set(in_release TRUE)
    elseif(line MATCHES "^## ")
        set(in_release FALSE)
    elseif(NOT in_release)
        # an entry of no release: left out
    elseif(line MATCHES "^- (.*)$")
        string(APPEND out "  * ${CMAKE_MATCH_1}\n")
    elseif(line MATCHES "^  (.*)$")
        string(APPEND out "    ${CMAKE_MATCH_1}\n")
    endif()
endforeach()
string(REGEX REPLACE "\n\n$" "\n" trailer "${trailer}")
file(WRITE "${OUT}" "${out}${trailer}")

# SPDX-License-Identifier: GPL-3.0-or-later
# Puts the page together: index.html with @STYLE@, @CORE@, @APP@ and
# @VERSION@ replaced by the style sheet, the module's script, the page's
# script and the version. Usage: cmake -DPAGE_DIR=… -DCORE=… -DVERSION=…
# -DOUT=… -P assemble.cmake
cmake_minimum_required(VERSION 3.22)  # "@NAME@" in a quoted argument stays literal
file(READ ${PAGE_DIR}/index.html page)
file(READ ${PAGE_DIR}/style.css style)
file(READ ${PAGE_DIR}/app.js app)
file(READ ${CORE} core)
# A script inlined in HTML ends at the first "</script"; none may hold one.
foreach(part core app)
    string(TOLOWER "${${part}}" lower)
    string(FIND "${lower}" "</script" at)
    if(NOT at EQUAL -1)
        message(FATAL_ERROR "${part} holds </script and cannot be inlined")
    endif()
endforeach()
# Replaced in this order, so that a marker inside an inlined part is left alone.
string(REPLACE "@VERSION@" "${VERSION}" page "${page}")
string(REPLACE "@STYLE@" "${style}" page "${page}")
string(REPLACE "@APP@" "${app}" page "${page}")
string(REPLACE "@CORE@" "${core}" page "${page}")
file(WRITE ${OUT}.tmp "${page}")
file(RENAME ${OUT}.tmp ${OUT})

# SPDX-License-Identifier: GPL-3.0-or-later
# Writes the web app's manifest: manifest.webmanifest with @ICON@ replaced by
# the program's scalable icon as a data: address, percent-encoded. An icon
# inside the manifest is allowed by the page's img-src data:, where a file
# beside the page would need 'self' there. Usage: cmake -DTEMPLATE=…
# -DICON=… -DOUT=… -P manifest.cmake
cmake_minimum_required(VERSION 3.22)
file(READ ${TEMPLATE} manifest)
file(READ ${ICON} svg)
string(LENGTH "${svg}" length)
set(encoded "")
if(length GREATER 0)
    math(EXPR last "${length} - 1")
    foreach(i RANGE 0 ${last})
        string(SUBSTRING "${svg}" ${i} 1 c)
        if(c MATCHES "^[A-Za-z0-9._~/:=,()!*'-]$")
            string(APPEND encoded "${c}")
        else()
            string(HEX "${c}" hex)
            string(TOUPPER "${hex}" hex)
            string(APPEND encoded "%${hex}")
        endif()
    endforeach()
endif()
string(REPLACE "@ICON@" "data:image/svg+xml,${encoded}" manifest "${manifest}")
file(WRITE ${OUT}.tmp "${manifest}")
file(RENAME ${OUT}.tmp ${OUT})

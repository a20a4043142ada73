# cmake -DCHECK=<TarvinLayersCheck.cmake> -DWORK=<scratch folder> -P TarvinLayersSelfTest.cmake
cmake_minimum_required(VERSION 3.25)
# Proves the include check on small trees of three floors (base, toolkit, framework/core), one tree
# per case: each form of #include that reaches a floor above must fail the check with the file
# named, and the forms that stay on the floor or below must pass.
set(floors base toolkit framework/core)

# The files every tree has; a case adds one source.
set(common_files
    "base/Base.h|#pragma once"
    "toolkit/Toolkit.h|#pragma once"
    "toolkit/win32/Peer.h|#pragma once"
    "framework/core/OrvelCore.h|#pragma once")

# name | file the case adds | its text (\n for a line break) | "" to pass, else the expected report
set(cases
    "angle brackets|toolkit/Angle.cpp|#include <framework/core/OrvelCore.h>|toolkit/Angle.cpp includes <framework/core/OrvelCore.h>, which is framework/core/OrvelCore.h (framework/core/ is above toolkit/)"
    "relative to the file|toolkit/Relative.cpp|#include \"../framework/core/OrvelCore.h\"|toolkit/Relative.cpp includes \"../framework/core/OrvelCore.h\", which is framework/core/OrvelCore.h"
    "dot and two levels up|toolkit/win32/Dots.cpp|#include \"./../../framework/core/OrvelCore.h\"|toolkit/win32/Dots.cpp includes \"./../../framework/core/OrvelCore.h\""
    "from the root in quotes|toolkit/Rooted.h|#include \"framework/core/OrvelCore.h\"|toolkit/Rooted.h includes \"framework/core/OrvelCore.h\""
    "blanks inside the directive|toolkit/Spaced.cpp|  #  include   <framework/core/OrvelCore.h>|toolkit/Spaced.cpp includes <framework/core/OrvelCore.h>"
    "a step out and back in|toolkit/win32/Detour.cpp|#include \"../../toolkit/../framework/core/OrvelCore.h\"|which is framework/core/OrvelCore.h"
    "the lowest floor reaching up|base/Up.cpp|#include \"../toolkit/Toolkit.h\"|base/Up.cpp includes \"../toolkit/Toolkit.h\", which is toolkit/Toolkit.h (toolkit/ is above base/)"
    "own floor and below in every form|toolkit/win32/Fine.cpp|#include \"Peer.h\"\n#include \"./Peer.h\"\n#include \"../Toolkit.h\"\n#include <toolkit/Toolkit.h>\n#include \"../../base/Base.h\"\n#include <base/Base.h>\n#include <vector>\n#include \"windows.h\"\n// #include <framework/core/OrvelCore.h> in a comment|"
    "a higher floor reaching down|framework/core/Down.cpp|#include \"../../toolkit/Toolkit.h\"\n#include <base/Base.h>\n#include \"OrvelCore.h\"|"
    "a file beside the source wins over the root|toolkit/Near.cpp|#include \"framework/core/OrvelCore.h\"|"
    "a name that is nobody's file|toolkit/Missing.cpp|#include <framework/core/NoSuchHeader.h>|")

set(failures "")
foreach(case IN LISTS cases)
    string(REPLACE "|" ";" fields "${case}")
    list(GET fields 0 name)
    list(GET fields 1 file)
    list(GET fields 2 text)
    list(LENGTH fields field_count)
    set(expected "")
    if(field_count GREATER 3)
        list(GET fields 3 expected)
    endif()
    string(MAKE_C_IDENTIFIER "${name}" folder)
    set(root "${WORK}/${folder}")
    file(REMOVE_RECURSE "${root}")
    foreach(entry IN LISTS common_files)
        string(REPLACE "|" ";" parts "${entry}")
        list(GET parts 0 path)
        list(GET parts 1 content)
        file(WRITE "${root}/${path}" "${content}\n")
    endforeach()
    if(name STREQUAL "a file beside the source wins over the root")
        file(WRITE "${root}/toolkit/framework/core/OrvelCore.h" "#pragma once\n")
    endif()
    string(REPLACE "\\n" "\n" text "${text}")
    file(WRITE "${root}/${file}" "${text}\n")
    execute_process(COMMAND "${CMAKE_COMMAND}" "-DROOT=${root}" "-DFLOORS=${floors}" "-DSTAMP=${root}/checked"
                            -P "${CHECK}"
                    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
    # CMake wraps long messages; the report is compared with its lines joined.
    string(REGEX REPLACE "[ \t]*\n[ \t]*" " " flat "${output}")
    if(expected STREQUAL "")
        if(NOT result EQUAL 0 OR NOT EXISTS "${root}/checked")
            string(APPEND failures "  ${name}: refused, should pass:\n${output}\n")
        endif()
    else()
        string(FIND "${flat}" "${expected}" at)
        if(result EQUAL 0 OR EXISTS "${root}/checked")
            string(APPEND failures "  ${name}: passed, should fail with: ${expected}\n")
        elseif(at LESS 0)
            string(APPEND failures "  ${name}: failed, but the report does not say \"${expected}\":\n${output}\n")
        endif()
    endif()
endforeach()
list(LENGTH cases total)
if(failures)
    message(FATAL_ERROR "The include check misjudged:\n${failures}")
endif()
message(STATUS "The include check judged all ${total} trees right")

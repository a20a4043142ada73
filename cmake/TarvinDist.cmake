# Packs the release archive: cmake -DTARVIN_EXE=<exe> -DSAMPLE_INI=<ini> -DREADME=<txt>
#   -DSOURCE_DIR=<source tree> -DOUT_DIR=<folder> -P cmake/TarvinDist.cmake
# writes <OUT_DIR>/Tarvin-<version>.zip holding Tarvin.exe, Tarvin.sample.ini and README.txt at its
# top, the version being the project version of the top-level CMakeLists.txt.
foreach(input TARVIN_EXE SAMPLE_INI README SOURCE_DIR OUT_DIR)
    if(NOT DEFINED ${input} OR "${${input}}" STREQUAL "")
        message(FATAL_ERROR "TarvinDist: ${input} is not set")
    endif()
endforeach()
# Relative paths are the caller's (make's) and must survive packing from inside the staging folder.
foreach(input TARVIN_EXE SAMPLE_INI README SOURCE_DIR OUT_DIR)
    get_filename_component(${input} "${${input}}" ABSOLUTE)
endforeach()
foreach(input TARVIN_EXE SAMPLE_INI README)
    if(NOT EXISTS "${${input}}" OR IS_DIRECTORY "${${input}}")
        message(FATAL_ERROR "TarvinDist: ${input} does not name a file: ${${input}}")
    endif()
endforeach()

file(STRINGS "${SOURCE_DIR}/CMakeLists.txt" project_line REGEX "^project\\(Tarvin VERSION [0-9.]+")
string(REGEX MATCH "VERSION ([0-9.]+)" version_match "${project_line}")
set(version "${CMAKE_MATCH_1}")
if(version STREQUAL "")
    message(FATAL_ERROR "TarvinDist: no project version in ${SOURCE_DIR}/CMakeLists.txt")
endif()

set(stage "${OUT_DIR}/Tarvin-${version}")
set(archive "${OUT_DIR}/Tarvin-${version}.zip")
file(REMOVE_RECURSE "${stage}")
file(REMOVE "${archive}")
file(MAKE_DIRECTORY "${stage}")

file(COPY_FILE "${TARVIN_EXE}" "${stage}/Tarvin.exe")
file(COPY_FILE "${SAMPLE_INI}" "${stage}/Tarvin.sample.ini")
# The README is kept with LF in the repository; the archive's copy gets CRLF for every editor on
# Windows.
file(READ "${README}" readme_text)
string(REPLACE "\r\n" "\n" readme_text "${readme_text}")
string(REPLACE "\n" "\r\n" readme_text "${readme_text}")
file(WRITE "${stage}/README.txt" "${readme_text}")

execute_process(COMMAND "${CMAKE_COMMAND}" -E tar cf "${archive}" --format=zip
                        Tarvin.exe Tarvin.sample.ini README.txt
                WORKING_DIRECTORY "${stage}" RESULT_VARIABLE packed)
file(REMOVE_RECURSE "${stage}")
if(NOT packed EQUAL 0)
    file(REMOVE "${archive}")
    message(FATAL_ERROR "TarvinDist: packing ${archive} failed")
endif()
message(STATUS "TarvinDist: ${archive}")

# The binary streams: the shared conventions against both classes, the buffered file stream, the
# memory stream, and the simulated file handles beneath them.
add_tarvin_test(NAME core_streams_test
                SOURCES ${CMAKE_CURRENT_LIST_DIR}/OrvelCore.StreamBase.Test.cpp
                        ${CMAKE_CURRENT_LIST_DIR}/OrvelCore.StreamBuff.Test.cpp
                        ${CMAKE_CURRENT_LIST_DIR}/OrvelCore.StreamMem.Test.cpp
                        ${PROJECT_SOURCE_DIR}/tests/platform/sim/Sim.FileStreams.Test.cpp
                LIBS orvel_core tarvin_platform_sim)

# The log line model, its two containers with the arena and the level index beneath them, the
# text builder and the re-entrant reader/writer lock.
add_tarvin_test(NAME core_loglines_test
                SOURCES ${CMAKE_CURRENT_LIST_DIR}/OrvelCore.LogLines.Test.cpp
                        ${CMAKE_CURRENT_LIST_DIR}/OrvelCore.LogArena.Test.cpp
                        ${CMAKE_CURRENT_LIST_DIR}/OrvelCore.LogLevelIndex.Test.cpp
                        ${CMAKE_CURRENT_LIST_DIR}/OrvelCore.StrBuilder.Test.cpp
                        ${CMAKE_CURRENT_LIST_DIR}/OrvelCore.RWLock.Test.cpp
                LIBS orvel_core tarvin_platform_sim)

# The stream form of a list of lines, on the framework's memory stream.
add_tarvin_test(NAME core_loglines_stream_test
                SOURCES ${CMAKE_CURRENT_LIST_DIR}/OrvelCore.LogLinesStream.Test.cpp
                LIBS orvel_core tarvin_platform_sim)

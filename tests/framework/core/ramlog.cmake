# The RAM log: adding, automatic saves, observer notification, text and binary export.
add_tarvin_test(NAME core_ramlog_test
                SOURCES ${CMAKE_CURRENT_LIST_DIR}/OrvelCore.LogRam.Test.cpp
                LIBS orvel_core tarvin_platform_sim)
if(WIN32)
    # The report names the Win32 backend's own error too.
    target_link_libraries(core_ramlog_test PRIVATE tarvin_platform_win32)
endif()

# The application data core and the logging facade reaching its RAM log.
add_tarvin_test(NAME core_appdata_core_test
                SOURCES ${CMAKE_CURRENT_LIST_DIR}/OrvelCore.AppData.Core.Test.cpp
                LIBS orvel_core tarvin_platform_sim)

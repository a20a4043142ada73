# Version resource, registry strings and system version on the simulated platform.
add_tarvin_test(NAME core_winhelpers_test
                SOURCES OrvelCore.ExeVersion.Test.cpp OrvelCore.Win.Registry.Test.cpp OrvelCore.WinVersion.Test.cpp
                LIBS orvel_core tarvin_platform_sim)

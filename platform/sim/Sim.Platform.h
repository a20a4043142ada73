#pragma once
// The simulated desktop and file system behind one TServices bundle.
#include "platform/Platform.Services.h"
#include "platform/sim/Sim.Desktop.h"
#include "platform/sim/Sim.FileSystem.h"

namespace platform::sim {

class TSimPlatform {
public:
    TSimDesktop Desktop;
    TSimFileSystem Files;

    TServices Services() {
        return TServices{Desktop, Desktop, Desktop, Desktop, Files, Files, Desktop, Desktop};
    }
};

} // namespace platform::sim

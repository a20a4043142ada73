// A .logbin image of arbitrary bytes loaded by the RAM log from a (simulated) file.
#include "framework/core/OrvelCore.LogRam.h"
#include "framework/core/OrvelCore.StreamMem.h"
#include "platform/sim/Sim.Platform.h"
#include "tests/fuzz/Fuzz.Support.h"

namespace {

const std::u16string LogPath = u"C:\\Users\\dev\\AppData\\Roaming\\Tarvin\\PeriodicLogSave.logbin";

// Every field of every line, in order.
bool SameLines(const orvel::TAbstractLogLines& a, const orvel::TAbstractLogLines& b) {
    if (a.Count() != b.Count()) {
        return false;
    }
    for (int i = 0; i < a.Count(); ++i) {
        const orvel::RLogLine& x = *a.Items(i);
        const orvel::RLogLine& y = *b.Items(i);
        if (x.Msg != y.Msg || x.Level != y.Level || x.Indent != y.Indent || x.Bold != y.Bold ||
            !fuzz::SameBits(x.Time, y.Time)) {
            return false;
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    platform::sim::TSimPlatform sim;
    platform::TServices os = sim.Services();
    sim.Files.AddFile(LogPath, std::string(reinterpret_cast<const char*>(data), size));

    orvel::TRamLog log(false, nullptr, false, os);
    log.AddInfo(u"before the load");
    bool loaded = false;
    bool raised = false;
    try {
        loaded = log.LoadFromFile(LogPath);
    } catch (const orvel::EOrvelException&) {
        raised = true; // a corrupt body raises; the lines read before the error may stay
    }
    if (!loaded && !raised) {
        // A foreign header leaves the log as it was.
        FUZZ_CHECK(log.Lines().Count() == 1 && log.Lines().Items(0)->Msg == u"before the load");
    }

    // Whatever the log now holds saves to an image that loads back line for line.
    orvel::TKestroMemStream image;
    log.SaveToStream(image);
    image.SetPosition(0);
    orvel::TRamLog back(false, nullptr, false, os);
    FUZZ_CHECK(back.LoadFromStream(image));
    FUZZ_CHECK(image.Position() == image.Size());
    FUZZ_CHECK(SameLines(log.Lines(), back.Lines()));
    return 0;
}

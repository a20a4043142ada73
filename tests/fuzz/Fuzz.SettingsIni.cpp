// An arbitrary INI file: the text store's parse and rewrite, then the settings read from it and
// saved back over it.
#include "app/Tarvin.Settings.h"
#include "framework/core/OrvelCore.IniStore.h"
#include "framework/core/OrvelCore.h"
#include "platform/sim/Sim.FileSystem.h"
#include "tests/fuzz/Fuzz.Support.h"

#include <string_view>

namespace {

const std::u16string IniPath = u"C:\\Users\\dev\\AppData\\Roaming\\Tarvin\\Tarvin.ini";

void CheckStore(std::string_view bytes) {
    const orvel::TIniStore store = orvel::TIniStore::Parse(bytes);
    const std::string text = store.Serialize();
    // Rewriting keeps every line's bytes, so a second round changes nothing.
    const orvel::TIniStore again = orvel::TIniStore::Parse(text);
    FUZZ_CHECK(again.Serialize() == text);
    FUZZ_CHECK(again.TextForm() == store.TextForm());
    FUZZ_CHECK(again.Sections() == store.Sections());

    for (const auto& section : store.Sections()) {
        FUZZ_CHECK(store.SectionExists(section));
        for (const auto& key : store.Keys(section)) {
            FUZZ_CHECK(store.KeyExists(section, key));
            FUZZ_CHECK(store.Get(section, key) == again.Get(section, key));
        }
    }

    // Setting an entry the store accepts must read back exactly.
    orvel::TIniStore changed = store;
    const std::u16string section = store.Sections().empty() ? u"Fuzz" : store.Sections().front();
    if (orvel::TIniStore::CheckEntry(section, u"FuzzKey", u" value ") == orvel::TIniEntryFault::None) {
        changed.Set(section, u"FuzzKey", u" value ");
        const orvel::TIniStore reread = orvel::TIniStore::Parse(changed.Serialize());
        FUZZ_CHECK(reread.Get(section, u"FuzzKey") == std::u16string(u" value "));
        // An ASCII entry fits every encoding, so the file keeps its own; and what the store
        // says of its text is what a reader of the file finds.
        FUZZ_CHECK(reread.TextForm() == store.TextForm());
        FUZZ_CHECK(reread.TextForm() == changed.TextForm());
    }
    // A character that ANSI lacks turns the text into UTF-8 rather than being lost.
    if (orvel::TIniStore::CheckEntry(section, u"FuzzMark", u"\u2733") == orvel::TIniEntryFault::None) {
        changed.Set(section, u"FuzzMark", u"\u2733");
        const orvel::TIniStore reread = orvel::TIniStore::Parse(changed.Serialize());
        FUZZ_CHECK(reread.Get(section, u"FuzzMark") == std::u16string(u"\u2733"));
        FUZZ_CHECK(reread.TextForm().Encoding != orvel::TIniEncoding::Ansi);
        FUZZ_CHECK(reread.TextForm() == changed.TextForm());
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    CheckStore(bytes);

    platform::sim::TSimFileSystem files;
    files.AddFile(IniPath, std::string(bytes));
    tarvin::TSettings settings;
    settings.Load(IniPath, files);
    // Numbers are clamped to their documented ranges whatever the file says.
    FUZZ_CHECK(settings.EnterCount >= 1 && settings.EnterCount <= 10);
    FUZZ_CHECK(settings.EnterDelayMs >= 50 && settings.EnterDelayMs <= 5000);
    FUZZ_CHECK(settings.ClearDelayMs >= 20 && settings.ClearDelayMs <= 500);
    for (std::size_t level = 0; level < tarvin::EffortLevelCount; ++level) {
        FUZZ_CHECK(settings.Hotkey[level] == tarvin::TextToShortCut(settings.HotkeyText[level]));
    }
    // The class list's text form is the inverse of its split.
    FUZZ_CHECK(tarvin::SplitClassList(tarvin::JoinClassList(settings.FAcceptedClasses)) ==
               settings.FAcceptedClasses);
    // Loading never writes: the file the user edits by hand stays as it was.
    FUZZ_CHECK(files.WriteCount() == 0);
    FUZZ_CHECK(files.Contents(IniPath) == std::string(bytes));

    // The save at exit rewrites the user's own file: it keeps a Unicode file's encoding (an ANSI
    // file whose last non-UTF-8 byte the save replaced may become UTF-8), and what was loaded
    // loads back the same.
    const orvel::TIniTextForm form = orvel::TIniStore::Parse(bytes).TextForm();
    settings.Save(IniPath, files);
    if (form.Encoding != orvel::TIniEncoding::Ansi) {
        FUZZ_CHECK(orvel::TIniStore::Parse(*files.Contents(IniPath)).TextForm() == form);
    }
    tarvin::TSettings reloaded;
    reloaded.Load(IniPath, files);
    FUZZ_CHECK(reloaded.HotkeyText == settings.HotkeyText);
    FUZZ_CHECK(reloaded.Hotkey == settings.Hotkey);
    FUZZ_CHECK(reloaded.FAcceptedClasses == settings.FAcceptedClasses);
    FUZZ_CHECK(reloaded.EnterCount == settings.EnterCount && reloaded.EnterDelayMs == settings.EnterDelayMs &&
               reloaded.ClearDelayMs == settings.ClearDelayMs);
    FUZZ_CHECK(reloaded.RequireTitleMarker == settings.RequireTitleMarker &&
               reloaded.HotkeyOnlyOnTerminal == settings.HotkeyOnlyOnTerminal &&
               reloaded.ClearPromptFirst == settings.ClearPromptFirst &&
               reloaded.RestorePromptAfter == settings.RestorePromptAfter &&
               reloaded.BeepOnRefusal == settings.BeepOnRefusal && reloaded.TraceGrip == settings.TraceGrip &&
               reloaded.BlindWhenUnreadable == settings.BlindWhenUnreadable);
    return 0;
}

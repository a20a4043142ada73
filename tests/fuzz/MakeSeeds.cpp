// Writes seed corpora of the fuzz targets, each input made by the code it feeds:
//   fuzz_make_seeds <corpus folder>
// gives <folder>/<target>/<name> files. Run it again after a format change and commit the result.
#include "app/Tarvin.Settings.h"
#include "framework/core/OrvelCore.IniEncoding.h"
#include "framework/core/OrvelCore.LogLinesS.h"
#include "framework/core/OrvelCore.LogRam.h"
#include "framework/core/OrvelCore.StreamMem.h"
#include "platform/sim/Sim.Platform.h"
#include "tests/app/Tarvin.SettingsFixture.h"
#include "tests/fuzz/Fuzz.Burst.h"
#include "tests/fuzz/Fuzz.MainWindow.h"
#include "tests/fuzz/Fuzz.StreamMem.h"
#include "tests/fuzz/Fuzz.Support.h"

#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iostream>
#include <vector>

namespace fs = std::filesystem;
using namespace std::string_literals;
using orvel::TKestroMemStream;

namespace {

fs::path Root;

void Put(const std::string& target, const std::string& name, const std::string& bytes) {
    const fs::path dir = Root / target;
    fs::create_directories(dir);
    std::ofstream(dir / name, std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string Bytes(const TKestroMemStream& s) {
    return std::string(s.Data().begin(), s.Data().end());
}

// The stream target's layout: count byte, op bytes, then the stream.
void PutProgram(const std::string& name, std::initializer_list<std::uint8_t> ops, const TKestroMemStream& s) {
    std::string bytes(1, static_cast<char>(ops.size() - 1));
    for (std::uint8_t op : ops) {
        bytes += static_cast<char>(op);
    }
    Put("fuzz_stream_mem", name, bytes + Bytes(s));
}

void StreamSeeds() {
    using namespace fuzz;
    {
        TKestroMemStream s;
        s.WriteHeader("TLogLines", 5);
        s.WriteCheckPoint("Fuzz");
        s.WriteString(u"h\u00e9llo \u2733 Claude");
        s.WriteStringA("raw bytes");
        s.WriteIntegers({1, -2, 2147483647});
        s.WriteDoubles({0.5, -1e300, 46000.25});
        PutProgram("all-kinds",
                   {OpByte(opHeader, 0), OpByte(opCheckPoint, 1), OpByte(opString, 4), OpByte(opStringA, 4),
                    OpByte(opIntegers, 0), OpByte(opDoubles, 0)},
                   s);
    }
    {
        TKestroMemStream s;
        s.WriteStrings({u"first", u"second line", u"", u"\u00fcber"});
        s.WriteStrings({});
        PutProgram("string-lists", {OpByte(opStrings, 8), OpByte(opStrings, 8)}, s);
    }
    {
        TKestroMemStream s;
        s.PushBytesCnt({1, 2, 3, 4, 5});
        s.WritePadding0(8);
        s.WritePaddingValidation(8);
        s.WriteDate(46000.75);
        s.WriteRect({1, 2, 3, 4});
        s.WriteEnter();
        PutProgram("blocks-and-scalars",
                   {OpByte(opByteChunk, 0), OpByte(opPadding, 2), OpByte(opPadding, 3), OpByte(opScalars, 0),
                    OpByte(opScalars, 1), OpByte(opScalars, 5)},
                   s);
    }
    {
        TKestroMemStream s;
        s.WriteChars(std::u16string_view(u"counted text"));
        s.WriteString(u"inside a sub-stream");
        PutProgram("counted-and-sub", {OpByte(opStringCnt, 4), OpByte(opSubStream, 8)}, s);
    }
    {
        // A length far beyond what is left: must be refused before anything is allocated.
        TKestroMemStream s;
        s.WriteCardinal(0x7FFFFFF0u);
        s.WriteStringA("short");
        PutProgram("oversized-length", {OpByte(opString, 15), OpByte(opIntegers, 0)}, s);
    }
}

void LogLineSeeds() {
    fuzz::TFixedClock clock;
    orvel::TLogLinesSingleThreaded lines(clock);
    {
        TKestroMemStream s;
        lines.WriteToStream(s);
        Put("fuzz_loglines_stream", "empty-block", Bytes(s));
    }
    lines.AddNewLine(u"Program started", orvel::lvInfos, false, 0);
    lines.AddNewLine(u"debug detail \u2733", orvel::lvDebug, false, 2);
    lines.AddNewLine(u"Hotkey refused", orvel::lvWarnings, true, 0);
    lines.AddNewLine(u"Target check failed: integrity", orvel::lvErrors, false, 1);
    {
        TKestroMemStream s;
        lines.WriteToStream(s);
        Put("fuzz_loglines_stream", "four-lines", Bytes(s));
        // Cut in the middle of a line: what was read before the cut stays.
        const std::string all = Bytes(s);
        Put("fuzz_loglines_stream", "truncated", all.substr(0, all.size() / 2));
    }
    for (int level = orvel::LogVerbLvlFirst; level <= orvel::LogVerbLvlLast; ++level) {
        lines.AddNewLine(u"level line", static_cast<orvel::TLogVerbLvl>(level), level % 2 == 0, level);
    }
    {
        TKestroMemStream s;
        lines.WriteToStream(s);
        Put("fuzz_loglines_stream", "every-level", Bytes(s));
    }
}

void RamLogSeeds() {
    platform::sim::TSimPlatform sim;
    platform::TServices os = sim.Services();
    orvel::TRamLog log(false, nullptr, false, os);
    {
        TKestroMemStream s;
        log.SaveToStream(s);
        Put("fuzz_ramlog_file", "empty-log", Bytes(s));
    }
    log.AddInfo(u"Tarvin started");
    log.AddDebug(u"focus: ConsoleWindowClass \u2733 Claude Code");
    log.AddWarn(u"Hotkey Ctrl+Alt+3 could not be registered");
    log.AddError(u"SendInput delivered 0 of 4 records", true);
    log.AddMsgInt(u"Enter count: ", 3);
    {
        TKestroMemStream s;
        log.SaveToStream(s);
        const std::string all = Bytes(s);
        Put("fuzz_ramlog_file", "five-lines", all);
        Put("fuzz_ramlog_file", "truncated", all.substr(0, all.size() * 2 / 3));
        // The bare list-of-lines block, without the RAM log's own header: a foreign image.
        TKestroMemStream block;
        log.Lines().WriteToStream(block);
        Put("fuzz_ramlog_file", "lines-block-only", Bytes(block));
    }
}

void IniSeeds() {
    const std::u16string path = u"C:\\Users\\dev\\AppData\\Roaming\\Tarvin\\Tarvin.ini";
    {
        platform::sim::TSimFileSystem files;
        tarvin::TSettings defaults;
        defaults.Save(path, files);
        Put("fuzz_settings_ini", "defaults", *files.Contents(path));
    }
    {
        platform::sim::TSimFileSystem files;
        tarvin::TSettings custom;
        tarvin::fixture::ChangeEveryField(custom);
        custom.Save(path, files);
        Put("fuzz_settings_ini", "custom", *files.Contents(path));
    }
    // What a user might type by hand: a byte-order mark, LF ends, comments, odd spacing, hex,
    // out-of-range numbers, repeated sections and keys, a line that is not UTF-8.
    Put("fuzz_settings_ini", "hand-edited",
        "\xEF\xBB\xBF; comment\n[hotkeys]\n  low =  Ctrl+Alt+Q "
        "\nlow=Ctrl+1\n[Sending]\nEnterCount=0x7FFFFFFF\n"
        "EnterDelayMs = -5\nClearDelayMs=$20\nBeepOnRefusal=0\n[Target]\nAcceptedClasses=\"a;b\"x;\"open\n"
        "\xFF\xFE garbage\n[Hotkeys]\nmax=Shift+Shift+Ctrl+Alt+Z\n");

    // The forms Notepad saves and people type, beyond UTF-8: "Unicode" (UTF-16 LE with a mark),
    // "Unicode big endian", ANSI, quoted values, a comment after a section header, NUL bytes.
    const std::u16string handWritten = u"; Tarvin\r\n[Sending] ; see [docs]\r\nEnterCount=\"7\"\r\n"
                                       u"ClearDelayMs = ' 90 '\r\n[Hotkeys]\r\nlow='Ctrl+Alt+9'\r\n"
                                       u"[Target]\r\nAcceptedClasses=\u00C9cran;\"a;b\";\r\n";
    const auto encoded = [](std::u16string_view text, orvel::TIniEncoding encoding) {
        return std::string(orvel::ByteOrderMarkOf(encoding)) + *orvel::EncodeIniText(text, encoding);
    };
    Put("fuzz_settings_ini", "unicode-notepad", encoded(handWritten, orvel::TIniEncoding::Utf16LE));
    Put("fuzz_settings_ini", "unicode-big-endian", encoded(handWritten, orvel::TIniEncoding::Utf16BE));
    Put("fuzz_settings_ini", "unicode-odd-length",
        encoded(u"[Hotkeys]\nlow=F9\n", orvel::TIniEncoding::Utf16LE) + "\x41");
    Put("fuzz_settings_ini", "ansi",
        encoded(handWritten + u"; \u20AC \u00FC\r\n", orvel::TIniEncoding::Ansi));
    Put("fuzz_settings_ini", "quoted-values",
        "[Sending]\nEnterCount=\"7\"\nEnterDelayMs='9999'\nClearPromptFirst=\"0'\nBeepOnRefusal=''\n"
        "[Hotkeys]\nlow=\"Ctrl+Alt+9\"\nmedium=\"'Ctrl+Alt+2'\"\nmax=Ctrl+'\n"
        "[Target]\nAcceptedClasses=\"a\";\"b;c\"\nRequireTitleMarker=\" 1 \"\n");
    Put("fuzz_settings_ini", "header-comments",
        "[Sending] ; see [docs]\r\nEnterCount=7\r\n[Hotkeys]x]\r\nlow=Ctrl+Alt+8\r\n[a]b]\r\nk=v\r\n");
    Put("fuzz_settings_ini", "nul-bytes",
        "[Hotkeys]\r\nlow=Ctrl\0+Alt+9\r\n[Sen\0ding]\r\nEnterCount=7\r\n\0\r\n[\r\nmedium=Ctrl+Alt+7\r\n"s);
}

void ShortcutSeeds() {
    int n = 0;
    for (std::u16string_view text :
         {u"Ctrl+Alt+1", u"Shift+F24", u"^Num 9", u"alt+caps lock", u"Ctrl+Alt+Num /",
          u"Shift+Ctrl+Alt+PrtSc", u"Ctrl+\\", u"Ctrl+", u"Alt+Scroll Lock", u"Ctrl+Alt+\u00e4"}) {
        std::string bytes;
        for (char16_t c : text) {
            bytes += static_cast<char>(c & 0xFF);
            bytes += static_cast<char>(c >> 8);
        }
        Put("fuzz_shortcut", "text-" + std::to_string(n++), bytes);
    }
}

} // namespace

// Settings bytes, then (operation, argument) pairs.
void PutWindow(const std::string& name, std::initializer_list<std::uint8_t> settings,
               std::initializer_list<std::pair<fuzz::window::TOp, std::uint8_t>> events) {
    std::string bytes(settings.begin(), settings.end());
    for (const auto& [op, arg] : events) {
        bytes += static_cast<char>(op);
        bytes += static_cast<char>(arg);
    }
    Put("fuzz_main_window", name, bytes);
}

void MainWindowSeeds() {
    using namespace fuzz::window;
    // Defaults: clear, restore, only on terminals, beep; three Enters 250 ms apart, clearing 60 ms.
    const std::initializer_list<std::uint8_t> defaults = {0x0F, 2, 50, 40};
    PutWindow("default-burst", defaults, {{opFocusConsole, 0}, {opAdvance, 50}, {opPress, 2}, {opAdvance, 255},
                                         {opAdvance, 255}, {opAdvance, 255}});
    PutWindow("focus-leaves-while-clearing", defaults,
             {{opFocusConsole, 0}, {opAdvance, 50}, {opPress, 0}, {opAdvance, 75}, {opFocusTerminal, 0},
              {opAdvance, 100}, {opFocusConsole, 0}, {opPress, 1}, {opAdvance, 255}});
    PutWindow("focus-leaves-and-returns-between-ticks", defaults,
             {{opFocusConsole, 0}, {opAdvance, 50}, {opPress, 4}, {opAdvance, 30}, {opFocusNotepad, 0},
              {opFocusConsole, 0}, {opAdvance, 255}, {opAdvance, 255}});
    PutWindow("modifier-held", defaults,
             {{opFocusConsole, 0}, {opAdvance, 50}, {opPress, 3}, {opModifier, 0x84}, {opAdvance, 200},
              {opAdvance, 200}, {opModifier, 0x04}, {opAdvance, 255}});
    PutWindow("short-sends", defaults,
             {{opFocusConsole, 0}, {opAdvance, 50}, {opPress, 2}, {opLimitInput, 1}, {opAdvance, 100},
              {opAcceptInput, 0}, {opPress, 2}, {opAdvance, 255}, {opLimitInput, 30}, {opAdvance, 255}});
    PutWindow("whole-machine-no-clearing", {0x0C, 0, 0, 0},
             {{opFocusNotepad, 0}, {opPress, 1}, {opFocusTerminal, 0}, {opPress, 1}, {opRawHotkey, 4},
              {opAdvance, 100}, {opRawHotkey, 9}, {opHideOrShow, 0}, {opAdvance, 255}, {opHideOrShow, 1}});
    PutWindow("other-program-and-close", {0x17, 9, 255, 255},
             {{opOtherProgram, 3}, {opFocusConsole, 0}, {opAdvance, 50}, {opPress, 1}, {opPress, 0},
              {opAdvance, 200}, {opFocusNothing, 0}, {opAdvance, 50}, {opOtherProgram, 2}, {opFocusConsole, 0},
              {opAdvance, 50}, {opPress, 2}, {opAdvance, 20}, {opClose, 0}, {opAdvance, 255}});
}

// Settings, the level, then (operation, argument) pairs.
void PutBurst(const std::string& name, std::uint8_t flags, std::uint8_t level,
              std::initializer_list<std::pair<fuzz::burst::TOp, std::uint8_t>> events) {
    std::string bytes{static_cast<char>(flags), static_cast<char>(level)};
    for (const auto& [op, arg] : events) {
        bytes += static_cast<char>(op);
        bytes += static_cast<char>(arg);
    }
    Put("fuzz_burst", name, bytes);
}

void BurstSeeds() {
    using namespace fuzz::burst;
    // Defaults: clear, restore, no blind schedule.
    constexpr std::uint8_t defaults = 0x03;
    PutBurst("empty-prompt", defaults, 2,
             {{opTick, scEmpty}, {opTick, scPartCommand}, {opTick, scCommand}, {opTick, scEmpty}, {opWait, 80}});
    PutBurst("draft-stashed-and-back", defaults, 0,
             {{opTick, scDraft}, {opTick, scStashed}, {opTick, scStashedCommand}, {opTick, scStashed},
              {opTick, scDraftBack}});
    PutBurst("question-answered", defaults, 4,
             {{opTick, scDraft}, {opTick, scStashed}, {opTick, scStashedCommand}, {opTick, scQuestionYes},
              {opTick, scQuestionYes}, {opTick, scDraftBack}});
    PutBurst("question-focus-on-no", defaults, 1,
             {{opTick, scEmpty}, {opTick, scCommand}, {opTick, scQuestionNo}});
    PutBurst("dialogs-at-first-look", defaults, 3, {{opTick, scPermission}});
    PutBurst("bash-left-and-given-back", defaults, 2,
             {{opTick, scBashEmpty}, {opTick, scEmpty}, {opTick, scCommand}, {opWait, 80}, {opTick, scBashEmpty}});
    PutBurst("cut-in-rounds", 0x01, 2,
             {{opTick, scScrolled}, {opWait, 20}, {opTick, scDraft}, {opWait, 20}, {opTick, scEmpty},
              {opTick, scCommand}, {opWait, 80}});
    PutBurst("withdraw", defaults, 2,
             {{opTick, scDraft}, {opTick, scStashed}, {opTick, scPartCommand}, {opWait, 250}, {opTick, scStashed},
              {opTick, scDraft}});
    PutBurst("tabs", defaults, 2, {{opTabs, 0x80 | scEmpty}, {opTabs, scCommand}, {opTabs, scCommand}});
    PutBurst("blind-allowed", 0x07, 2, {{opTick, scUnreadable}, {opWait, 6}, {opShort, 1}});
    PutBurst("focus-and-modifiers", defaults, 2,
             {{opModifier, 1}, {opModifier, 1}, {opModifier, 0}, {opTick, scDraft}, {opFocusLost, 0}});
}

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: fuzz_make_seeds <corpus folder>\n";
        return 2;
    }
    Root = argv[1];
    StreamSeeds();
    LogLineSeeds();
    IniSeeds();
    ShortcutSeeds();
    RamLogSeeds();
    MainWindowSeeds();
    BurstSeeds();
    return 0;
}

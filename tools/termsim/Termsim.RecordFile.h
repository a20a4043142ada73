#pragma once
// A record file termsim appends lines to; each WriteFile reaches the file at once, so a reader in
// another process sees whole lines as soon as a key is handled.
#include "platform/win32/Win32.Handles.h"
#include "tools/termsim/Termsim.Record.h"

#include <string>

namespace termsim {

class TRecordFile {
public:
    // An empty path opens nothing: every write is dropped.
    explicit TRecordFile(const std::u16string& Path);

    bool IsOpen() const { return FFile.IsValid(); }
    void Write(const TRecordEvent& Event) { WriteLine(FormatRecordLine(Event)); }
    void WriteLine(const std::string& Line);

private:
    platform::win32::TKernelHandle FFile;
};

} // namespace termsim

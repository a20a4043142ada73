#pragma once
// TMemIniFile: a whole INI file held in memory, for files that are read and written as a unit
// (the language files).
#include "framework/core/OrvelCore.IniStore.h"
#include "platform/Platform.FileSystem.h"

#include <string>

namespace orvel {

// Reads the whole file once, when it is created; a missing or unreadable file reads as empty.
// Writes change only the memory until UpdateFile, which replaces the whole file at once in UTF-8
// with a byte-order mark, so that editors recognise the encoding of non-Latin translations.
class TMemIniFile {
public:
    TMemIniFile(std::u16string FileName, platform::IFileSystem& Files);
    TMemIniFile(const TMemIniFile&) = delete;
    TMemIniFile& operator=(const TMemIniFile&) = delete;

    const std::u16string& FileName() const { return FFileName; }

    std::u16string ReadString(const std::u16string& Section, const std::u16string& Ident,
                              const std::u16string& Default) const;
    // An entry that would break the file's lines raises EAssertionFailed and changes nothing.
    void WriteString(const std::u16string& Section, const std::u16string& Ident, const std::u16string& Value);
    bool SectionExists(const std::u16string& Section) const { return FStore.SectionExists(Section); }
    // Forgets everything read or written so far; the file changes only on UpdateFile.
    void Clear() { FStore = TIniStore(); }

    // A refused write raises EIniFileException "Unable to write to {file}".
    void UpdateFile();

private:
    std::u16string FFileName;
    platform::IFileSystem& FFiles;
    TIniStore FStore;
};

} // namespace orvel

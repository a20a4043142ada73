#include "framework/core/OrvelCore.MemIniFile.h"

#include "framework/core/OrvelCore.Exceptions.h"

namespace orvel {

TMemIniFile::TMemIniFile(std::u16string FileName, platform::IFileSystem& Files)
    : FFileName(std::move(FileName)), FFiles(Files) {
    if (const auto bytes = FFiles.ReadFile(FFileName)) {
        FStore = TIniStore::Parse(*bytes);
    }
}

std::u16string TMemIniFile::ReadString(const std::u16string& Section, const std::u16string& Ident,
                                       const std::u16string& Default) const {
    return FStore.Get(Section, Ident).value_or(Default);
}

void TMemIniFile::WriteString(const std::u16string& Section, const std::u16string& Ident,
                              const std::u16string& Value) {
    FStore.Set(Section, Ident, Value);
}

void TMemIniFile::UpdateFile() {
    FStore.ConvertTo({TIniEncoding::Utf8, true});
    const std::string bytes = FStore.Serialize();
    if (!FFiles.WriteFileAtomic(FFileName, bytes).Ok) {
        throw EIniFileException(u"Unable to write to " + FFileName);
    }
}

} // namespace orvel

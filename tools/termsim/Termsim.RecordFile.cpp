#include "tools/termsim/Termsim.RecordFile.h"

#include "platform/win32/Win32.Text.h"

namespace termsim {

TRecordFile::TRecordFile(const std::u16string& Path)
    : FFile(Path.empty() ? INVALID_HANDLE_VALUE
                         : CreateFileW(platform::win32::AsWide(Path), GENERIC_WRITE,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, CREATE_ALWAYS,
                                       FILE_ATTRIBUTE_NORMAL, nullptr)) {}

void TRecordFile::WriteLine(const std::string& Line) {
    if (!IsOpen()) {
        return;
    }
    DWORD written = 0;
    WriteFile(FFile.Get(), Line.data(), static_cast<DWORD>(Line.size()), &written, nullptr);
}

} // namespace termsim

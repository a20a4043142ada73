#pragma once
// File handles for the binary streams: CreateFileW, ReadFile, WriteFile, SetFilePointerEx and
// GetFileSizeEx on a handle that is closed when the object goes.
#include "platform/Platform.FileStreams.h"

namespace platform::win32 {

class TWin32FileStreams final : public IFileStreams {
public:
    // Shared for reading; nobody may write meanwhile.
    TFileOpenResult OpenRead(const std::u16string& Path) override;
    // Created or emptied, opened for reading and writing with no sharing.
    TFileOpenResult CreateWrite(const std::u16string& Path) override;
};

} // namespace platform::win32

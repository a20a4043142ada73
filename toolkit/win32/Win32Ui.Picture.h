#pragma once
// Pictures decoded through the Windows Imaging Component: PNG, BMP, ICO, JPEG, GIF ... as 32-bit
// BGRA rows.
#include "toolkit/Toolkit.Backend.h"

#include <optional>
#include <string>

namespace toolkit::win32 {

// The first frame of the picture in FileName; nothing when the file is missing or not a picture.
std::optional<TBitmapData> DecodePicture(const std::u16string& FileName);

} // namespace toolkit::win32

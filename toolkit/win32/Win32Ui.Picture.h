#pragma once
// Pictures decoded through the Windows Imaging Component: PNG, BMP, ICO, JPEG, GIF ... as 32-bit
// BGRA rows.
#include "toolkit/Toolkit.Backend.h"

#include "toolkit/win32/Win32Ui.Windows.h"

#include <optional>
#include <string>

namespace toolkit::win32 {

// The first frame of the picture in FileName; nothing when the file is missing or not a picture.
std::optional<TBitmapData> DecodePicture(const std::u16string& FileName);

// The icon resource every program's window classes and tray icon show: the first one, by the
// convention resource compilers and Explorer follow.
inline constexpr int ApplicationIconId = 1;

// Icon resource Id of Module drawn at Size x Size, straight (not premultiplied) alpha; an icon
// without an alpha channel takes its transparency from its mask. Nothing when there is no such
// icon.
std::optional<TBitmapData> IconPicture(HMODULE Module, int Id, int Size);

} // namespace toolkit::win32

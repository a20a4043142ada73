#pragma once
// The commented sample INI file that ships beside Tarvin.exe, made from the settings' own rows so
// that it always names every key with its true default.
#include <string>

namespace tarvin {

// The whole file (CRLF line ends, ASCII only): a header with the known limits, then every section
// and key of SettingRows with a comment line of what it does, its default and range, and the key
// set to its default.
[[nodiscard]] std::u16string SampleIniText();

} // namespace tarvin

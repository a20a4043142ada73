#pragma once
// Text routines on UTF-16 text. Positions are 1-based and count UTF-16 code units; every routine
// returns a new string and never fails.
#include <cstddef>
#include <string>

namespace orvel {

inline constexpr char16_t CR = u'\r';
inline constexpr char16_t LF = u'\n';
// The framework's line-break token in single-line texts (message boxes, language files).
inline constexpr char16_t CrlfToken[] = u"CRLF";

// Letters of Latin, Greek and Cyrillic compare without regard to case; the scan does not revisit
// inserted text. An empty Old leaves Text as it is.
std::u16string ReplaceAllNoCase(const std::u16string& Text, const std::u16string& Old,
                                const std::u16string& New);

// Each line break (CR LF, lone CR, lone LF) becomes With, in one pass, so a With that itself holds
// CR or LF is never replaced again.
std::u16string ReplaceLineBreaks(const std::u16string& Text, const std::u16string& With);

// Every code unit above 255 becomes With; the length stays.
std::u16string ReplaceWideChars(const std::u16string& Text, char16_t With);

// A CR not directly followed by LF becomes With; CR LF pairs stay.
std::u16string ReplaceLoneCR(const std::u16string& Text, const std::u16string& With);
// An LF not directly preceded by CR becomes With; CR LF pairs stay.
std::u16string ReplaceLoneLF(const std::u16string& Text, const std::u16string& With);

// "CRLF" tokens become CR LF, each losing at most one blank on either side.
std::u16string ExpandCrlfTokens(const std::u16string& Text);
// Every CR LF becomes " CRLF "; lone CR and LF stay.
std::u16string InsertCrlfTokens(const std::u16string& Text);

// Positions From to To, both included, as far as they exist in Text.
std::u16string CopyRange(const std::u16string& Text, std::ptrdiff_t From, std::ptrdiff_t To);

std::u16string FirstCharStr(const std::u16string& Text);
std::u16string LastCharStr(const std::u16string& Text);

// Position of the last Ch in Text; 0 when there is none.
std::size_t LastIndexOfChar(char16_t Ch, const std::u16string& Text);

// Text without leading and trailing blanks and control characters (codes below 33).
std::u16string TrimControl(const std::u16string& Text);

} // namespace orvel

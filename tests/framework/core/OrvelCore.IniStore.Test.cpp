#include "framework/core/OrvelCore.IniStore.h"

#include "base/Base.Unicode.h"
#include "framework/core/OrvelCore.Exceptions.h"
#include "tests/framework/core/OrvelCore.IniTestSupport.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace orvel {
namespace {

using namespace std::string_literals;

using Keys = std::vector<std::u16string>;

struct LookupCase {
    const char* Name;
    std::string Text;
    std::u16string Section;
    std::u16string Key;
    std::optional<std::u16string> Expected;
};

TEST(IniStoreParse, FindsValuesAsWritten) {
    const LookupCase cases[] = {
        {"plain", "[S]\nk=v\n", u"S", u"k", u"v"},
        {"section name ignores case", "[Hotkeys]\nlow=1\n", u"HOTKEYS", u"low", u"1"},
        {"key ignores case", "[S]\nEnterCount=3\n", u"S", u"entercount", u"3"},
        {"CRLF line ends", "[S]\r\nk=v\r\nm=w\r\n", u"S", u"m", u"w"},
        {"no line end at the end", "[S]\nk=v", u"S", u"k", u"v"},
        {"byte-order mark skipped", "\xEF\xBB\xBF[S]\nk=v\n", u"S", u"k", u"v"},
        {"blanks around the key trimmed", "[S]\n  k \t= v\n", u"S", u"k", u" v"},
        {"value keeps trailing blanks", "[S]\nk=v  \n", u"S", u"k", u"v  "},
        {"blanks around the section name", "  [ S ]  \nk=v\n", u"S", u"k", u"v"},
        {"requested names trimmed", "[S]\nk=v\n", u" S ", u" k ", u"v"},
        {"'=' inside the value", "[S]\nk=a=b==c\n", u"S", u"k", u"a=b==c"},
        {"empty value", "[S]\nk=\n", u"S", u"k", u""},
        {"first duplicate wins", "[S]\nk=1\nK=2\n", u"S", u"k", u"1"},
        {"repeated section is searched too", "[S]\na=1\n[T]\nb=2\n[s]\nc=3\n", u"S", u"c", u"3"},
        {"first of repeated sections wins", "[S]\nk=1\n[s]\nk=2\n", u"S", u"k", u"1"},
        {"key without '=' ignored", "[S]\nk\n", u"S", u"k", std::nullopt},
        {"semicolon comment ignored", "[S]\n;k=v\n", u"S", u";k", std::nullopt},
        {"hash comment ignored", "[S]\n  # k=v\n", u"S", u"# k", std::nullopt},
        {"key before any section unreachable", "k=v\n[S]\n", u"", u"k", std::nullopt},
        {"empty section name", "[]\nk=v\n", u"", u"k", u"v"},
        {"header without ']' opens no section", "[S]\nk=1\n[T\nk=2\n", u"S", u"k", u"1"},
        {"section name ends at the first ']'", "[a]b]\nk=v\n", u"a", u"k", u"v"},
        {"header with a comment after it", "[Sending] ; see [docs]\nEnterCount=7\n", u"Sending",
         u"EnterCount", u"7"},
        {"text after ']' is no part of the name", "[Sending]x\nk=1\n", u"Sending", u"k", u"1"},
        {"quotes belong to the value", "[S]\nk=\"7\"\n", u"S", u"k", u"\"7\""},
        {"lone '[' opens no section and reading goes on", "[S]\n[\nk=v\n", u"S", u"k", u"v"},
        {"line with a NUL is no entry", "[S]\nk=1\0\n"s, u"S", u"k", std::nullopt},
        {"reading goes on after a NUL line", "[S]\nx\0=1\nk=2\n"s, u"S", u"k", u"2"},
        {"header with a NUL opens no section", "[S]\nk=1\n[T\0]\nk=2\n"s, u"S", u"k", u"1"},
        {"key in another section", "[S]\na=1\n[T]\nk=2\n", u"S", u"k", std::nullopt},
        {"missing section", "[S]\nk=v\n", u"X", u"k", std::nullopt},
        {"empty text", "", u"S", u"k", std::nullopt},
        {"non-ASCII names and value", "[\xE6\xA8\x99\xE6\xBA\x96]\n\xE2\x9C\xB3 Claude Code=\xE2\x97\x90\n",
         u"\u6A19\u6E96", u"\u2733 Claude Code", u"\u25D0"},
        {"lone CR ends the value", "[S]\nk=a\rb\n", u"S", u"k", u"a"},
    };
    for (const LookupCase& c : cases) {
        SCOPED_TRACE(c.Name);
        const TIniStore store = TIniStore::Parse(c.Text);
        EXPECT_EQ(store.Get(c.Section, c.Key), c.Expected);
        EXPECT_EQ(store.KeyExists(c.Section, c.Key), c.Expected.has_value());
    }
}

TEST(IniStoreParse, ListsKeysAndSectionsOnceInFileOrder) {
    const TIniStore store =
        TIniStore::Parse("; top\n[Target]\nB=1\na=2\nb=3\n[Other]\nx=1\n[TARGET]\nc=4\nA=5\nnoequals\n");
    EXPECT_EQ(store.Keys(u"target"), (Keys{u"B", u"a", u"c"}));
    EXPECT_EQ(store.Sections(), (Keys{u"Target", u"Other"}));
    EXPECT_TRUE(store.SectionExists(u"OTHER"));
    EXPECT_FALSE(store.SectionExists(u"Missing"));
    EXPECT_TRUE(store.Keys(u"Missing").empty());
}

TEST(IniStoreParse, NonAsciiNamesAreNotFoldedTogether) {
    const TIniStore store = TIniStore::Parse("[S]\n\xC3\xA9=lower\n");
    EXPECT_EQ(store.Get(u"S", u"\u00E9"), u"lower");
    EXPECT_FALSE(store.KeyExists(u"S", u"\u00C9"));
}

TEST(IniStoreSerialize, UntouchedTextComesBackWithCrlfLineEnds) {
    const std::string text = "; Tarvin settings\n\n[Hotkeys]\n  low = Ctrl+Alt+1  \r\n# note\nstray line\n"
                             "[Sending]\nEnterCount=3";
    EXPECT_EQ(TIniStore::Parse(text).Serialize(),
              "; Tarvin settings\r\n\r\n[Hotkeys]\r\n  low = Ctrl+Alt+1  \r\n"
              "# note\r\nstray line\r\n[Sending]\r\nEnterCount=3\r\n");
}

TEST(IniStoreSerialize, KeepsAByteOrderMarkOnlyWhenTheTextHadOne) {
    EXPECT_EQ(TIniStore::Parse("\xEF\xBB\xBF[S]\nk=v\n").Serialize(), "\xEF\xBB\xBF[S]\r\nk=v\r\n");
    EXPECT_EQ(TIniStore::Parse("[S]\nk=v\n").Serialize(), "[S]\r\nk=v\r\n");
    EXPECT_EQ(TIniStore().Serialize(), "");
}

TEST(IniStoreSerialize, BytesThatAreNotUtf8SurviveARewriteOfAnotherKey) {
    TIniStore store = TIniStore::Parse("[S]\nname=Caf\xE9\nk=1\n");
    store.Set(u"S", u"k", u"2");
    EXPECT_EQ(store.Serialize(), "[S]\r\nname=Caf\xE9\r\nk=2\r\n");
}

struct SetCase {
    const char* Name;
    std::string Before;
    std::u16string Section;
    std::u16string Key;
    std::u16string Value;
    std::string After;
};

TEST(IniStoreSet, ChangesOnlyWhatItMust) {
    const SetCase cases[] = {
        {"into an empty text", "", u"S", u"k", u"v", "[S]\r\nk=v\r\n"},
        {"replaces the value, keeps the key's spelling and spacing", "[S]\n  Key = old\n", u"s", u"KEY",
         u"new", "[S]\r\n  Key =new\r\n"},
        {"updates the first of duplicates only", "[S]\nk=1\nk=2\n", u"S", u"k", u"9",
         "[S]\r\nk=9\r\nk=2\r\n"},
        {"updates the key where it is found in a repeated section", "[S]\na=1\n[T]\n[S]\nk=1\n", u"S", u"k",
         u"2", "[S]\r\na=1\r\n[T]\r\n[S]\r\nk=2\r\n"},
        {"adds after the last key of the section's first block", "[S]\na=1\n; about T\n\n[T]\nb=2\n", u"S",
         u"c", u"3", "[S]\r\na=1\r\nc=3\r\n; about T\r\n\r\n[T]\r\nb=2\r\n"},
        {"adds right after a header without keys", "[S]\n\n[T]\n", u"S", u"k", u"v",
         "[S]\r\nk=v\r\n\r\n[T]\r\n"},
        {"adds a section after a blank line", "[S]\na=1\n", u"T", u"k", u"v",
         "[S]\r\na=1\r\n\r\n[T]\r\nk=v\r\n"},
        {"adds a section without doubling a blank line", "[S]\na=1\n\n", u"T", u"k", u"v",
         "[S]\r\na=1\r\n\r\n[T]\r\nk=v\r\n"},
        {"writes trimmed names", "", u" S ", u" k ", u" v ", "[S]\r\nk= v \r\n"},
        {"empty value", "[S]\nk=v\n", u"S", u"k", u"", "[S]\r\nk=\r\n"},
        {"keeps comments and stray lines", "; c\n[S]\n# d\nx\nk=1\n", u"S", u"k", u"2",
         "; c\r\n[S]\r\n# d\r\nx\r\nk=2\r\n"},
        {"a key without '=' is not the key", "[S]\nk\n", u"S", u"k", u"v", "[S]\r\nk=v\r\nk\r\n"},
    };
    for (const SetCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TIniStore store = TIniStore::Parse(c.Before);
        store.Set(c.Section, c.Key, c.Value);
        EXPECT_EQ(store.Serialize(), c.After);
    }
}

TEST(IniStoreSet, WhatIsSetReadsBackUnchangedAfterARoundTrip) {
    const std::u16string values[] = {u"",
                                     u"  padded  ",
                                     u"a=b",
                                     u";not a comment",
                                     u"[not a section]",
                                     u"\"quoted\"",
                                     u"\u2733 Claude Code",
                                     u"\u6A19\u6E96\u7A97",
                                     u"\U0001F600 outside the BMP",
                                     u"tab\there"};
    TIniStore store;
    for (const std::u16string& value : values) {
        SCOPED_TRACE(base::Utf16ToUtf8(value));
        store.Set(u"\u2733 Section", u"\u6A19\u6E96 key", value);
        const TIniStore reread = TIniStore::Parse(store.Serialize());
        EXPECT_EQ(reread.Get(u"\u2733 Section", u"\u6A19\u6E96 key"), value);
        EXPECT_EQ(reread.Keys(u"\u2733 Section").size(), 1u);
    }
}

struct FaultCase {
    const char* Name;
    std::u16string Section;
    std::u16string Key;
    std::u16string Value;
    TIniEntryFault Expected;
};

TEST(IniStoreSet, RefusesEntriesThatWouldBreakTheFile) {
    const FaultCase cases[] = {
        {"ordinary", u"S", u"k", u"v", TIniEntryFault::None},
        {"'=' and brackets inside a value", u"S", u"k", u"=[x];#", TIniEntryFault::None},
        {"LF in the value", u"S", u"k", u"a\n[Evil]\nb=c", TIniEntryFault::LineBreakInValue},
        {"CR in the value", u"S", u"k", u"a\rb", TIniEntryFault::LineBreakInValue},
        {"LF in the key", u"S", u"k\nx", u"v", TIniEntryFault::LineBreakInKey},
        {"CR in the section", u"S\r", u"k", u"v", TIniEntryFault::LineBreakInSection},
        {"empty key", u"S", u"", u"v", TIniEntryFault::InvalidKey},
        {"blank key", u"S", u"  ", u"v", TIniEntryFault::InvalidKey},
        {"'=' in the key", u"S", u"a=b", u"v", TIniEntryFault::InvalidKey},
        {"key opening a section", u"S", u"[k", u"v", TIniEntryFault::InvalidKey},
        {"key opening a comment", u"S", u" ;k", u"v", TIniEntryFault::InvalidKey},
        {"key opening a hash comment", u"S", u"#k", u"v", TIniEntryFault::InvalidKey},
        {"NUL in the key", u"S", u"k\0"s, u"v", TIniEntryFault::InvalidKey},
        {"']' in the section", u"a]b", u"k", u"v", TIniEntryFault::InvalidSection},
        {"NUL in the section", u"S\0"s, u"k", u"v", TIniEntryFault::InvalidSection},
        {"NUL in the value", u"S", u"k", u"a\0b"s, TIniEntryFault::NulInValue},
    };
    for (const FaultCase& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(TIniStore::CheckEntry(c.Section, c.Key, c.Value), c.Expected);
        if (c.Expected != TIniEntryFault::None) {
            TIniStore store = TIniStore::Parse("[S]\nk=old\n");
            EXPECT_THROW(store.Set(c.Section, c.Key, c.Value), EAssertionFailed);
            EXPECT_EQ(store.Serialize(), "[S]\r\nk=old\r\n");
        }
    }
}

TEST(IniStoreParse, LoneCarriageReturnEndsALineSoNoValueHoldsOne) {
    const TIniStore store = TIniStore::Parse("[Hotkeys]\r\nmedium=Ctrl+Alt+2\r3\rhigh=Ctrl+Alt+3\n");
    EXPECT_EQ(store.Get(u"Hotkeys", u"medium"), u"Ctrl+Alt+2");
    EXPECT_EQ(store.Get(u"Hotkeys", u"high"), u"Ctrl+Alt+3");
}

TEST(IniStoreEncoding, UnicodeTextStaysInItsEncodingThroughARewrite) {
    using test::Utf16BEBytes;
    using test::Utf16LEBytes;
    const std::u16string before = u"[S]\r\nname=\u2733 Claude\r\nk=1\r\n";
    const std::u16string after = u"[S]\r\nname=\u2733 Claude\r\nk=\u7A97\r\nnew=2\r\n";
    struct TCase {
        const char* Name;
        std::string Before;
        std::string After;
        TIniTextForm Form;
    };
    const TCase cases[] = {
        {"UTF-16 LE",
         "\xFF\xFE" + Utf16LEBytes(before),
         "\xFF\xFE" + Utf16LEBytes(after),
         {TIniEncoding::Utf16LE, true}},
        {"UTF-16 BE",
         "\xFE\xFF" + Utf16BEBytes(before),
         "\xFE\xFF" + Utf16BEBytes(after),
         {TIniEncoding::Utf16BE, true}},
        {"UTF-8 with mark",
         "\xEF\xBB\xBF" + base::Utf16ToUtf8(before),
         "\xEF\xBB\xBF" + base::Utf16ToUtf8(after),
         {TIniEncoding::Utf8, true}},
        {"UTF-8", base::Utf16ToUtf8(before), base::Utf16ToUtf8(after), {TIniEncoding::Utf8, false}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TIniStore store = TIniStore::Parse(c.Before);
        EXPECT_EQ(store.TextForm(), c.Form);
        EXPECT_EQ(store.Get(u"S", u"name"), u"\u2733 Claude");
        store.Set(u"S", u"k", u"\u7A97");
        store.Set(u"S", u"new", u"2");
        EXPECT_EQ(store.Serialize(), c.After);
    }
}

TEST(IniStoreEncoding, AnsiLinesKeepTheirBytesWhileEveryEntryFitsTheCodePage) {
    TIniStore store = TIniStore::Parse("[Target]\r\nAcceptedClasses=\xC9"
                                       "cran\r\n; \x80 note\r\nk=1\r\n");
    EXPECT_EQ(store.TextForm(), (TIniTextForm{TIniEncoding::Ansi, false}));
    EXPECT_EQ(store.Get(u"Target", u"AcceptedClasses"), u"\u00C9cran");
    store.Set(u"Target", u"k", u"\u00E9t\u00E9 \u20AC");
    EXPECT_EQ(store.Serialize(), "[Target]\r\nAcceptedClasses=\xC9"
                                 "cran\r\n; \x80 note\r\nk=\xE9t\xE9 \x80\r\n");
}

TEST(IniStoreEncoding, AnsiTextBecomesUtf8WithAMarkRatherThanLoseACharacter) {
    TIniStore store = TIniStore::Parse("[Target]\r\nAcceptedClasses=\xC9"
                                       "cran\r\n");
    store.Set(u"Target", u"Marker", u"\u2733");
    EXPECT_EQ(store.TextForm(), (TIniTextForm{TIniEncoding::Utf8, true}));
    EXPECT_EQ(store.Serialize(), "\xEF\xBB\xBF[Target]\r\nAcceptedClasses=\xC3\x89"
                                 "cran\r\nMarker=\xE2\x9C\xB3\r\n");
    const TIniStore reread = TIniStore::Parse(store.Serialize());
    EXPECT_EQ(reread.Get(u"Target", u"AcceptedClasses"), u"\u00C9cran");
    EXPECT_EQ(reread.Get(u"Target", u"Marker"), u"\u2733");
}

TEST(IniStoreEncoding, AnsiTextStaysReadableWhenItsLastNonUtf8ByteIsReplaced) {
    // Only plain ASCII is left: the same text in UTF-8, which is how it will be read.
    TIniStore ascii = TIniStore::Parse("[S]\r\nk=\xC9\r\n");
    ascii.Set(u"S", u"k", u"x");
    EXPECT_EQ(ascii.TextForm(), (TIniTextForm{TIniEncoding::Utf8, false}));
    EXPECT_EQ(ascii.Serialize(), "[S]\r\nk=x\r\n");

    // "\xC3\xA9" is "Ã©" in ANSI but "é" in UTF-8: without a mark the name would change.
    TIniStore latin = TIniStore::Parse("[S]\r\nname=\xC3\xA9\r\nk=\xC9\r\n");
    ASSERT_EQ(latin.Get(u"S", u"name"), u"\u00C3\u00A9");
    latin.Set(u"S", u"k", u"x");
    EXPECT_EQ(latin.Serialize(), "\xEF\xBB\xBF[S]\r\nname=\xC3\x83\xC2\xA9\r\nk=x\r\n");
    EXPECT_EQ(TIniStore::Parse(latin.Serialize()).Get(u"S", u"name"), u"\u00C3\u00A9");
}

TEST(IniStoreEncoding, ConvertingKeepsTheTextOfEveryLine) {
    TIniStore store = TIniStore::Parse("\xFF\xFE" + test::Utf16LEBytes(u"; \u00FC\r\n[S]\r\nk = \u7A97\r\n"));
    store.ConvertTo({TIniEncoding::Utf8, true});
    EXPECT_EQ(store.Serialize(), "\xEF\xBB\xBF; \xC3\xBC\r\n[S]\r\nk = \xE7\xAA\x97\r\n");
    store.Set(u"S", u"k", u"v");
    EXPECT_EQ(store.Serialize(), "\xEF\xBB\xBF; \xC3\xBC\r\n[S]\r\nk =v\r\n");
    EXPECT_THROW(store.ConvertTo({TIniEncoding::Ansi, false}), EAssertionFailed);
}

TEST(IniStoreEncoding, OddLastByteOfAUtf16TextIsKeptAtTheEnd) {
    const std::string text = "\xFF\xFE" + test::Utf16LEBytes(u"[S]\r\nk=1\r\n") + "\x41";
    TIniStore store = TIniStore::Parse(text);
    EXPECT_EQ(store.Get(u"S", u"k"), u"1");
    EXPECT_EQ(store.Serialize(), text);
    store.Set(u"S", u"m", u"2");
    EXPECT_EQ(store.Serialize(), "\xFF\xFE" + test::Utf16LEBytes(u"[S]\r\nk=1\r\nm=2\r\n") + "\x41");
}

TEST(IniStoreSet, LinesThatAreNoEntryStayAsTheyAre) {
    const std::string before = "[S]\nk\nx\0=1\n[\n[T\0]\nk=1\n"s;
    TIniStore store = TIniStore::Parse(before);
    store.Set(u"S", u"k", u"2");
    EXPECT_EQ(store.Serialize(), "[S]\r\nk\r\nx\0=1\r\n[\r\n[T\0]\r\nk=2\r\n"s);
}

} // namespace
} // namespace orvel

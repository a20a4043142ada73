// The list-of-lines block read from arbitrary bytes, then written and read back.
#include "framework/core/OrvelCore.LogLinesS.h"
#include "framework/core/OrvelCore.StreamMem.h"
#include "tests/fuzz/Fuzz.Support.h"

#include <array>

using orvel::TKestroMemStream;
using orvel::TLogLinesSingleThreaded;

namespace {

TKestroMemStream Quiet() {
    TKestroMemStream s;
    s.SetErrorLineSink([](const std::u16string&) {});
    return s;
}

// The viewer's questions must agree with a plain walk over the lines.
void CheckFilters(const TLogLinesSingleThreaded& lines) {
    std::array<orvel::PLogLine, 8> page{};
    for (int level = orvel::LogVerbLvlFirst; level <= orvel::LogVerbLvlLast; ++level) {
        const auto filter = static_cast<orvel::TLogVerbLvl>(level);
        int passing = 0;
        for (int i = 0; i < lines.Count(); ++i) {
            passing += orvel::PassesFilter(lines.Items(i)->Level, filter) ? 1 : 0;
        }
        FUZZ_CHECK(lines.CountFiltered(filter) == passing);
        const int skip = passing > 4 ? passing - 4 : 0;
        const int got = lines.GetFilteredSlice(filter, skip, page);
        FUZZ_CHECK(got == std::min<int>(static_cast<int>(page.size()), passing - skip));
        for (int k = 0; k < got; ++k) {
            FUZZ_CHECK(lines.Items(lines.Row2FilteredRow(skip + k, filter)) ==
                       page[static_cast<std::size_t>(k)]);
        }
        FUZZ_CHECK(lines.Row2FilteredRow(passing, filter) == -1);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::TFixedClock clock;
    TLogLinesSingleThreaded lines(clock);
    TKestroMemStream in = Quiet();
    in.PushData(std::string_view(reinterpret_cast<const char*>(data), size));
    in.SetPosition(0);
    try {
        lines.ReadFromStream(in);
    } catch (const orvel::EOrvelException&) {
        // Corrupt input raises; the lines read before the error stay.
    }
    FUZZ_CHECK(in.Position() <= in.Size());
    CheckFilters(lines);

    // Whatever was read is written as a block that reads back line for line.
    TKestroMemStream out = Quiet();
    lines.WriteToStream(out);
    out.SetPosition(0);
    TLogLinesSingleThreaded back(clock);
    back.ReadFromStream(out);
    FUZZ_CHECK(out.Position() == out.Size());
    FUZZ_CHECK(back.Count() == lines.Count());
    for (int i = 0; i < lines.Count(); ++i) {
        const orvel::RLogLine& a = *lines.Items(i);
        const orvel::RLogLine& b = *back.Items(i);
        FUZZ_CHECK(a.Msg == b.Msg && a.Level == b.Level && a.Indent == b.Indent && a.Bold == b.Bold &&
                   fuzz::SameBits(a.Time, b.Time));
    }
    return 0;
}

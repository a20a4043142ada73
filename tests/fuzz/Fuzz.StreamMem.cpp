// The binary conventions' readers on arbitrary bytes, through the memory stream.
#include "tests/fuzz/Fuzz.StreamMem.h"
#include "framework/core/OrvelCore.StreamMem.h"
#include "tests/fuzz/Fuzz.Support.h"

#include <vector>

using orvel::TKestroMemStream;

namespace {

// A limit from 1 byte to 2^30 bytes, chosen by the op's parameter.
std::uint32_t LimitOf(std::uint8_t param) {
    return 1u << (2 * param);
}

TKestroMemStream Quiet() {
    TKestroMemStream s;
    s.SetErrorLineSink([](const std::u16string&) {});
    return s;
}

// A value the stream gave back is written by the writer and must read back unchanged.
void RoundTripString(const std::u16string& value) {
    TKestroMemStream s = Quiet();
    s.WriteString(value);
    s.SetPosition(0);
    FUZZ_CHECK(s.ReadString(static_cast<std::uint32_t>(s.Size())) == value);
}

void RunOp(TKestroMemStream& in, std::uint8_t opByte) {
    const std::uint8_t param = opByte >> 4;
    const std::int64_t before = in.Position();
    switch (static_cast<fuzz::TStreamOp>((opByte & 0x0F) % fuzz::opCount)) {
    case fuzz::opHeader:
        if (param & 1) {
            (void)in.ReadHeader("TLogLines", static_cast<std::uint16_t>(param));
        } else {
            (void)in.ReadHeader("TLogLines");
        }
        break;
    case fuzz::opCheckPoint:
        if (param & 1) {
            in.ReadCheckPointE("Fuzz");
        } else {
            (void)in.ReadCheckPoint("Fuzz");
        }
        break;
    case fuzz::opString: {
        const std::u16string value = in.ReadString(LimitOf(param));
        RoundTripString(value);
        break;
    }
    case fuzz::opStringA: {
        const std::string value = in.ReadStringA(LimitOf(param));
        FUZZ_CHECK(value.size() <= LimitOf(param));
        TKestroMemStream s = Quiet();
        s.WriteStringA(value);
        s.SetPosition(0);
        FUZZ_CHECK(s.ReadStringA(LimitOf(param)) == value);
        break;
    }
    case fuzz::opStringCnt: {
        const std::uint32_t count = param * 3u;
        switch (param & 3) {
        case 0:
            RoundTripString(in.ReadStringCnt(count, 64));
            break;
        case 1:
            FUZZ_CHECK(in.ReadCharsA(count, 64).size() == count);
            break;
        case 2:
            FUZZ_CHECK(in.ReadStringACnt(count, 64).size() <= count);
            break;
        default:
            FUZZ_CHECK(in.TryReadStringA(count).size() <= count);
            break;
        }
        break;
    }
    case fuzz::opIntegers: {
        std::vector<std::int32_t> list;
        in.ReadIntegers(list);
        TKestroMemStream s = Quiet();
        s.WriteIntegers(list);
        s.SetPosition(0);
        std::vector<std::int32_t> back;
        s.ReadIntegers(back);
        FUZZ_CHECK(back == list);
        break;
    }
    case fuzz::opDoubles: {
        std::vector<double> list;
        in.ReadDoubles(list);
        TKestroMemStream s = Quiet();
        s.WriteDoubles(list);
        s.SetPosition(0);
        std::vector<double> back;
        s.ReadDoubles(back);
        FUZZ_CHECK(back.size() == list.size());
        for (std::size_t i = 0; i < list.size(); ++i) {
            FUZZ_CHECK(fuzz::SameBits(back[i], list[i]));
        }
        break;
    }
    case fuzz::opStrings: {
        in.StringListSafetyLimit = LimitOf(param);
        const orvel::TStringList list = in.ReadStrings();
        // The text form splits at every break, so the lines hold none.
        for (const auto& line : list) {
            FUZZ_CHECK(line.find_first_of(u"\r\n") == std::u16string::npos);
        }
        break;
    }
    case fuzz::opByteChunk:
        (void)in.ReadByteChunk();
        break;
    case fuzz::opPadding:
        if (param & 1) {
            in.ReadPaddingValidation((param >> 1) * 8);
        } else {
            in.ReadPadding0((param >> 1) * 8);
        }
        break;
    case fuzz::opScalars:
        switch (param % 8) {
        case 0:
            (void)in.ReadDate();
            break;
        case 1:
            (void)in.ReadRect();
            break;
        case 2:
            (void)in.ReadRectF();
            break;
        case 3:
            (void)in.RevReadCardinal();
            (void)in.RevReadInteger();
            break;
        case 4:
            (void)in.RevReadSmallInt();
            (void)in.RevReadWord();
            break;
        case 5:
            (void)in.ReadEnter();
            break;
        case 6:
            (void)in.ReadChar();
            (void)in.ReadBoolean();
            break;
        default:
            (void)in.ReadInt64();
            (void)in.ReadSingle();
            break;
        }
        break;
    case fuzz::opSubStream: {
        TKestroMemStream sub = TKestroMemStream::CreateFromStream(in, in.Position());
        FUZZ_CHECK(sub.Position() == 0 && sub.Size() == in.BytesLeft());
        FUZZ_CHECK(in.Position() == before);
        sub.SetErrorLineSink([](const std::u16string&) {});
        (void)sub.ReadString(LimitOf(param));
        in.SetPosition(in.Position() + sub.Position());
        break;
    }
    default:
        break;
    }
    // Reading never moves past the end.
    FUZZ_CHECK(in.Position() <= in.Size());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::size_t ops = std::min<std::size_t>((data[0] & 0x0F) + 1u, size - 1);
    const std::uint8_t* program = data + 1;
    TKestroMemStream in = Quiet();
    in.PushData(std::string_view(reinterpret_cast<const char*>(program + ops), size - 1 - ops));
    in.SetPosition(0);
    for (std::size_t i = 0; i < ops; ++i) {
        try {
            RunOp(in, program[i]);
        } catch (const orvel::EOrvelException&) {
            // Malformed input is reported by raising; the next operation reads on from here.
        }
    }
    return 0;
}

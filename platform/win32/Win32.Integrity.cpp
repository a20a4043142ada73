#include "platform/win32/Win32.Integrity.h"

#include "platform/win32/Win32.Handles.h"

#include <vector>

namespace platform::win32 {

namespace {

// The last sub-authority of the token's mandatory-label SID.
std::uint32_t LevelOfToken(HANDLE Token) {
    DWORD size = 0;
    GetTokenInformation(Token, TokenIntegrityLevel, nullptr, 0, &size);
    if (size == 0)
        return UnknownIntegrityLevel;

    // The SID follows the label in the same buffer; whole label elements keep it aligned.
    std::vector<TOKEN_MANDATORY_LABEL> buffer((size + sizeof(TOKEN_MANDATORY_LABEL) - 1) /
                                              sizeof(TOKEN_MANDATORY_LABEL));
    if (!GetTokenInformation(Token, TokenIntegrityLevel, buffer.data(), size, &size))
        return UnknownIntegrityLevel;

    const PSID sid = buffer.front().Label.Sid;
    if (sid == nullptr)
        return UnknownIntegrityLevel;
    const PUCHAR count = GetSidSubAuthorityCount(sid);
    if (count == nullptr || *count == 0)
        return UnknownIntegrityLevel;
    const PDWORD level = GetSidSubAuthority(sid, *count - 1u);
    if (level == nullptr)
        return UnknownIntegrityLevel;
    return *level;
}

std::uint32_t ProcessTokenLevel(HANDLE Process) {
    TKernelHandle token;
    if (!OpenProcessToken(Process, TOKEN_QUERY, token.Receive())) {
        token.Release(); // the out value of a failed call is no handle of ours
        return UnknownIntegrityLevel;
    }
    return LevelOfToken(token.Get());
}

} // namespace

std::uint32_t TWin32Integrity::OwnIntegrityLevel() const {
    return ProcessTokenLevel(GetCurrentProcess());
}

std::uint32_t TWin32Integrity::ProcessIntegrityLevel(TProcessId Pid) const {
    if (Pid == 0)
        return UnknownIntegrityLevel;
    const TKernelHandle process(OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, Pid));
    if (!process)
        return UnknownIntegrityLevel;
    return ProcessTokenLevel(process.Get());
}

} // namespace platform::win32

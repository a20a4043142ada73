#include "framework/core/OrvelCore.LogRam.h"

#include "base/Base.Exceptions.h"
#include "base/Base.Format.h"
#include "base/Base.Text.h"
#include "base/Base.Unicode.h"
#include "framework/core/OrvelCore.AppData.h"
#include "framework/core/OrvelCore.Exceptions.h"
#include "framework/core/OrvelCore.IO.h"
#include "framework/core/OrvelCore.LogLinesM.h"
#include "framework/core/OrvelCore.LogLinesS.h"
#include "framework/core/OrvelCore.StrBuilder.h"
#include "framework/core/OrvelCore.StreamBuff.h"
#include "framework/core/OrvelCore.h"

#include <cmath>
#include <functional>
#include <string>
#include <thread>

namespace orvel {

namespace {

constexpr std::int32_t ValidationBytes = 64;
constexpr std::int32_t TextBuilderStep = 10000;

// Whole seconds between two local times. Date-time values carry the time of day as a fraction,
// so the span is first rounded to the millisecond; otherwise 60 s could come out as 59.999... and
// truncate to 59.
std::int64_t WholeSecondsBetween(platform::TDateTime A, platform::TDateTime B) {
    const double ms = std::fabs(A - B) * 86400000.0;
    return static_cast<std::int64_t>(std::llround(ms)) / 1000;
}

bool HasNonAscii(const std::u16string& Text) {
    for (const char16_t c : Text) {
        if (c > 127) {
            return true;
        }
    }
    return false;
}

} // namespace

// --- TNotifyCoalesceFlag ---

bool TNotifyCoalesceFlag::TryAcquire() {
    std::int32_t expected = 0;
    return FState.compare_exchange_strong(expected, 1);
}

void TNotifyCoalesceFlag::Release() {
    FState.store(0);
}

// --- TRamLog ---

TRamLog::TRamLog(bool aShowOnError, ILogObserver* Observer, bool MultiThreaded, platform::TServices& Os)
    : FOs(Os), FObserver(std::make_shared<TObserverSlot>()),
      FNotifyFlag(std::make_shared<TNotifyCoalesceFlag>()) {
    ShowOnError = aShowOnError;
    FLastSaveTime.store(FOs.Clock.Now(), std::memory_order_relaxed);
    if (MultiThreaded) {
        FLines = std::make_unique<TLogLinesMultiThreaded>(FOs.Clock);
    } else {
        FLines = std::make_unique<TLogLinesSingleThreaded>(FOs.Clock);
    }
    if (Observer != nullptr) {
        RegisterLogObserver(Observer);
    }
}

TRamLog::~TRamLog() {
    {
        const std::lock_guard lock(FObserver->Lock);
        FObserver->Set(nullptr);
    }
    // Queued calls hold the shared slot, not the log, but there is no point running them.
    FOs.MainThread.RemoveQueued(this);
}

std::u16string TRamLog::SanitizeMsg(const std::u16string& Msg) {
    std::u16string text = Msg;
    if (base::HasLineBreak(text)) {
        text = ReplaceLineBreaks(text, u" ");
    }
    if (text.size() > MaxMsgLength) {
        std::size_t cut = MaxMsgLength;
        if (base::IsHighSurrogate(text[cut - 1])) {
            --cut;
        }
        text.resize(cut);
        text += TruncatedMarker;
    }
    return text;
}

// --- adding ---

bool TRamLog::NeedsSanitizing(std::u16string_view Msg) {
    return Msg.size() > MaxMsgLength || base::HasLineBreak(Msg);
}

void TRamLog::AddAtLevel(const std::u16string& Msg, TLogVerbLvl Level, bool Bold) {
    if (NeedsSanitizing(Msg)) {
        AddPreparedLine(SanitizeMsg(Msg), Level, Bold);
    } else {
        AddPreparedLine(Msg, Level, Bold);
    }
}

void TRamLog::AddPreparedLine(std::u16string_view Text, TLogVerbLvl Level, bool Bold) {
    // One clock reading serves the line's stamp and the periodic check.
    const platform::TDateTime now = FOs.Clock.Now();
    const int count = FLines->AddStampedLine(Text, Level, Bold, 0, now);
    // Neither check can do anything while the count is within the limit and the interval has not
    // passed, so only then is the automatic-save lock tried at all.
    if (count > MaxEntries() || PeriodicSaveDue(now)) {
        tryAutoSave(now);
    }
}

void TRamLog::AddDebug(const std::u16string& Msg, bool Bold) {
    AddAtLevel(Msg, lvDebug, Bold);
    NotifyLogObserver();
}

void TRamLog::AddVerb(const std::u16string& Msg, bool Bold) {
    AddAtLevel(Msg, lvVerbose, Bold);
    NotifyLogObserver();
}

void TRamLog::AddHint(const std::u16string& Msg, bool Bold) {
    AddAtLevel(Msg, lvHints, Bold);
    NotifyLogObserver();
}

void TRamLog::AddInfo(const std::u16string& Msg, bool Bold) {
    AddAtLevel(Msg, lvInfos, Bold);
    NotifyLogObserver();
}

void TRamLog::AddMsg(const std::u16string& Msg, bool Bold) {
    AddAtLevel(Msg, lvInfos, Bold);
    NotifyLogObserver();
}

void TRamLog::AddMsgInt(const std::u16string& Msg, std::int32_t i, bool Bold) {
    AddPreparedLine(base::Format(u"{0}{1}", SanitizeMsg(Msg), i), lvInfos, Bold);
    NotifyLogObserver();
}

void TRamLog::AddBold(const std::u16string& Msg) {
    AddInfo(Msg, true);
}

void TRamLog::AddEmptyRow() {
    AddMsg(std::u16string(), false);
}

void TRamLog::AddImpo(const std::u16string& Msg, bool Bold) {
    AddAtLevel(Msg, lvImportant, Bold);
    NotifyLogObserver();
}

void TRamLog::AddWarn(const std::u16string& Msg, bool Bold) {
    AddAtLevel(Msg, lvWarnings, Bold);
    NotifyLogObserverAndShow();
}

void TRamLog::AddError(const std::u16string& Msg, bool Bold) {
    AddAtLevel(Msg, lvErrors, Bold);
    NotifyLogObserverAndShow();
}

void TRamLog::Clear() {
    FLines->Clear();
    NotifyLogObserver();
}

int TRamLog::Count(bool Filtered, TLogVerbLvl Filter) const {
    return Filtered ? FLines->CountFiltered(Filter) : FLines->Count();
}

// --- automatic saves ---

namespace {

// Runs Save. Stream errors are reported and swallowed (false); anything else is reported and
// passed on.
template <typename TSave, typename TReport>
bool GuardedSave(const std::u16string& What, TSave Save, TReport Report) {
    try {
        Save();
        return true;
    } catch (const EFCreateError& e) {
        Report(What + u" (file create) failed: " + e.Message());
    } catch (const EWriteError& e) {
        Report(What + u" (write) failed: " + e.Message());
    } catch (const EReadError& e) {
        Report(What + u" (stream) failed: " + e.Message());
    } catch (const std::exception& e) {
        Report(What + u" (unexpected " + base::ExceptionClassName(e) + u"): " + base::ExceptionMessage(e));
        throw;
    } catch (...) {
        Report(What + u" (unexpected unknown error): no message");
        throw;
    }
    return false;
}

} // namespace

void TRamLog::tryAutoSave(platform::TDateTime Now) {
    // Another thread saving means this Add simply skips the checks; nobody waits for a save.
    std::unique_lock lock(FAutoSaveLock, std::try_to_lock);
    if (!lock.owns_lock()) {
        return;
    }
    if (tryOverflowSave()) {
        Now = FOs.Clock.Now(); // the save took its time
    }
    tryPeriodicSave(Now);
}

bool TRamLog::PeriodicSaveDue(platform::TDateTime Now) const {
    const std::int32_t interval = SaveInterval();
    const platform::TDateTime last = FLastSaveTime.load(std::memory_order_relaxed);
    // A span a second short of the interval cannot round up to it: the exact count is left for
    // the rare Add near the end of an interval.
    if (std::fabs(Now - last) * 86400.0 < interval - 1) {
        return false;
    }
    return WholeSecondsBetween(Now, last) >= interval;
}

bool TRamLog::tryOverflowSave() {
    if (FLines->Count() <= MaxEntries()) {
        return false;
    }
    std::shared_ptr<TAbstractLogLines> snapshot = FLines->SnapshotAndClear();
    GuardedSave(
        u"Overflow save", [&] { SaveSnapshotToFile(snapshot.get(), AppDataFile(OverflowFileName)); },
        [this](const std::u16string& Text) { DebugOut(Text); });

    const TObserverRef ref = GetObserver();
    if (ref.Observer == nullptr) {
        return true;
    }
    if (FOs.MainThread.IsMainThread()) {
        ref.Observer->Populate();
        return true;
    }
    // An overflow refresh is always queued: the lines it has to show away from are gone already.
    const bool acquired = FNotifyFlag->TryAcquire();
    FOs.MainThread.Queue(
        [slot = FObserver, flag = FNotifyFlag, ref, acquired, snapshot]() mutable {
            if (acquired) {
                flag->Release();
            }
            CallIfCurrent(*slot, ref, &ILogObserver::Populate);
            snapshot.reset();
        },
        this);
    return true;
}

void TRamLog::tryPeriodicSave(platform::TDateTime Now) {
    if (!PeriodicSaveDue(Now)) {
        return;
    }
    const bool saved = GuardedSave(
        u"Periodic save", [&] { SaveToFile(AppDataFile(PeriodicFileName)); },
        [this](const std::u16string& Text) { DebugOut(Text); });
    if (saved) {
        FLastSaveTime.store(FOs.Clock.Now(), std::memory_order_relaxed);
    }
}

std::u16string TRamLog::AppDataFile(const char16_t* Name) const {
    return TAppDataCore::AppDataFolder(false) + Name;
}

void TRamLog::DebugOut(const std::u16string& Text) const {
    FOs.Debug.WriteDebugString(u"TRamLog: " + Text);
}

// --- observer ---

TRamLog::TObserverRef TRamLog::TObserverSlot::Read() const {
    for (;;) {
        const std::uint64_t before = Generation.load();
        if (before % 2 != 0) {
            std::this_thread::yield(); // a change is under way on the main thread
            continue;
        }
        ILogObserver* observer = Observer.load();
        if (Generation.load() == before) {
            return TObserverRef{observer, before};
        }
    }
}

void TRamLog::TObserverSlot::Set(ILogObserver* Value) {
    Generation.fetch_add(1);
    Observer.store(Value);
    Generation.fetch_add(1);
}

void TRamLog::RegisterLogObserver(ILogObserver* Observer) {
    Assert(Observer != nullptr,
           u"RegisterLogObserver: Observer cannot be nil. Call UnregisterLogObserver to detach.");
    const std::lock_guard lock(FObserver->Lock);
    ILogObserver* const current = FObserver->Observer.load();
    if (current == Observer) {
        return;
    }
    Assert(current == nullptr, u"RegisterLogObserver: an observer is already registered. Call "
                               u"UnregisterLogObserver on the previous one first.");
    FObserver->Set(Observer);
}

void TRamLog::UnregisterLogObserver() {
    {
        const std::lock_guard lock(FObserver->Lock);
        if (FObserver->Observer.load() == nullptr) {
            return;
        }
        FObserver->Set(nullptr);
    }
    // Calls queued for the old observer are of no use any more. A dropped refresh never releases
    // the flag itself, so it is released here, or worker threads would never queue one again.
    FOs.MainThread.RemoveQueued(this);
    FNotifyFlag->Release();
}

TRamLog::TObserverRef TRamLog::GetObserver() const {
    return FObserver->Read();
}

void TRamLog::CallIfCurrent(TObserverSlot& Slot, const TObserverRef& Ref, void (ILogObserver::*Proc)()) {
    const TObserverRef current = Slot.Read();
    // Unregistering happens on the main thread, so the observer cannot go away between the check
    // and the call.
    if (Ref.Observer != nullptr && current.Observer == Ref.Observer && current.Generation == Ref.Generation) {
        (Ref.Observer->*Proc)();
    }
}

void TRamLog::NotifyLogObserver() {
    const TObserverRef ref = GetObserver();
    if (ref.Observer == nullptr) {
        return;
    }
    if (FOs.MainThread.IsMainThread()) {
        ref.Observer->Populate();
        return;
    }
    // A refresh already queued and not yet started will read this line too.
    if (!FNotifyFlag->TryAcquire()) {
        return;
    }
    FOs.MainThread.Queue(
        [slot = FObserver, flag = FNotifyFlag, ref] {
            flag->Release();
            CallIfCurrent(*slot, ref, &ILogObserver::Populate);
        },
        this);
}

void TRamLog::PopUpWindow() {
    const TObserverRef ref = GetObserver();
    if (ref.Observer == nullptr) {
        return;
    }
    if (FOs.MainThread.IsMainThread()) {
        ref.Observer->PopUpWindow();
        return;
    }
    FOs.MainThread.Queue([slot = FObserver, ref] { CallIfCurrent(*slot, ref, &ILogObserver::PopUpWindow); },
                         this);
}

void TRamLog::NotifyLogObserverAndShow() {
    NotifyLogObserver();
    if (ShowOnError) {
        PopUpWindow();
    }
}

// --- limits ---

void TRamLog::SetMaxEntries(std::int32_t Value) {
    Assert(Value > 0, u"TRamLog.MaxEntries must be > 0. A non-positive value would trigger an overflow "
                      u"save on every Add.");
    FMaxEntries.store(Value, std::memory_order_relaxed);
}

void TRamLog::SetSaveInterval(std::int32_t Value) {
    Assert(Value > 0, u"TRamLog.SaveInterval must be > 0 (seconds). A non-positive value would trigger a "
                      u"periodic save on every Add.");
    FSaveInterval.store(Value, std::memory_order_relaxed);
}

// --- text export ---

std::u16string TRamLog::GetAsText() const {
    TCStringBuilder builder(TextBuilderStep);
    bool first = true;
    FLines->ForEachLocked([&](PLogLine Line) {
        if (!first) {
            builder.AddEnter();
        }
        first = false;
        builder.AddString(Line->Msg);
    });
    return builder.AsText();
}

void TRamLog::SaveAsText(const std::u16string& FullPath) const {
    const std::u16string prefix = u"Error writing to file " + FullPath + u": ";
    platform::TFsResult result;
    try {
        const std::u16string text = GetAsText();
        if (IsValidPath(FullPath)) {
            const std::u16string folder = ExtractFolder(FullPath, true);
            if (!folder.empty()) {
                ForceFolder(FOs.Files, folder);
            }
        }
        std::string bytes;
        if (HasNonAscii(text)) {
            bytes = "\xEF\xBB\xBF";
        }
        bytes += base::Utf16ToUtf8(text);
        result = FOs.Files.WriteFileAtomic(FullPath, bytes);
    } catch (const std::exception& e) {
        throw EOrvelException(prefix + base::ExceptionMessage(e));
    }
    if (!result.Ok) {
        throw EOrvelException(prefix + result.Message);
    }
}

// --- binary log format ---

void TRamLog::SaveToStream(TOrvelStreamBase& Stream) const {
    Stream.WriteHeader(StreamSignature, StreamVersion);
    FLines->WriteToStream(Stream);
    Stream.WritePaddingValidation(ValidationBytes);
}

bool TRamLog::LoadFromStream(TOrvelStreamBase& Stream) {
    if (Stream.ReadHeader(StreamSignature) != StreamVersion) {
        return false;
    }
    FLines->Clear();
    FLines->ReadFromStream(Stream);
    Stream.ReadPaddingValidation(ValidationBytes);
    return true;
}

void TRamLog::SaveToFile(const std::u16string& FullPath) const {
    TOrvelStream stream = TOrvelStream::CreateWrite(FOs.FileStreams, FullPath, SaveBufferSize);
    SaveToStream(stream);
    stream.Close();
}

bool TRamLog::LoadFromFile(const std::u16string& FullPath) {
    if (!FOs.Files.FileExists(FullPath)) {
        return false;
    }
    TOrvelStream stream = TOrvelStream::CreateRead(FOs.FileStreams, FullPath);
    if (!LoadFromStream(stream)) {
        stream.Close();
        return false;
    }
    stream.Close();
    NotifyLogObserver();
    return true;
}

void TRamLog::SaveSnapshotToFile(const TAbstractLogLines* Snapshot, const std::u16string& FileName) const {
    Assert(Snapshot != nullptr, u"SaveSnapshotToFile: Snapshot cannot be nil");
    TOrvelStream stream = TOrvelStream::CreateWrite(FOs.FileStreams, FileName, SaveBufferSize);
    stream.WriteHeader(StreamSignature, StreamVersion);
    Snapshot->WriteToStream(stream);
    stream.WritePaddingValidation(ValidationBytes);
    stream.Close();
}

} // namespace orvel

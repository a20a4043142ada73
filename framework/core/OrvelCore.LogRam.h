#pragma once
// TRamLog: the application's in-memory log. It keeps its lines in one container, tells one
// observer (the log viewer) when they change and asks it to come forward on warnings and errors,
// moves every line to "LargeLogSave.logbin" when a line limit is passed, saves itself to
// "PeriodicLogSave.logbin" at a fixed interval, and exports its lines as text or in the binary log
// format.
//
// Observer calls happen only on the main thread: directly when the change is made there, queued
// otherwise. From other threads at most one plain refresh is pending at a time (the coalescing
// flag); pop-ups and overflow refreshes are always queued. A queued call never reaches an observer
// that was unregistered after it was queued.
#include "framework/core/OrvelCore.LogLinesAbstract.h"
#include "platform/Platform.Services.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

namespace orvel {

class TOrvelStreamBase;

// The display of a log. Both calls arrive on the main thread only.
class ILogObserver {
public:
    virtual ~ILogObserver() = default;
    // Refresh the display; the observer reads the lines itself through TRamLog::Lines.
    virtual void Populate() = 0;
    // Show the window holding the display and bring it forward.
    virtual void PopUpWindow() = 0;
};

// "A refresh is queued and has not started yet", shared between the log and its queued calls.
class INotifyCoalesceFlag {
public:
    virtual ~INotifyCoalesceFlag() = default;
    // 0 -> 1 atomically; true when this call made the change.
    virtual bool TryAcquire() = 0;
    // Back to 0.
    virtual void Release() = 0;
};

class TNotifyCoalesceFlag final : public INotifyCoalesceFlag {
public:
    bool TryAcquire() override;
    void Release() override;
    // 0 idle, 1 a refresh is queued.
    std::int32_t State() const { return FState.load(); }

private:
    std::atomic<std::int32_t> FState{0};
};

class TRamLog {
public:
    // The longest message kept, in UTF-16 units; longer ones are cut and marked.
    static constexpr std::size_t MaxMsgLength = 4194304;
    static constexpr char16_t TruncatedMarker[] = u" [truncated]";
    static constexpr char StreamSignature[] = "TRamLog";
    static constexpr std::uint16_t StreamVersion = 5;
    static constexpr char16_t OverflowFileName[] = u"LargeLogSave.logbin";
    static constexpr char16_t PeriodicFileName[] = u"PeriodicLogSave.logbin";
    // A saved log is written to its file this many bytes at a time: a full log is a hundred
    // megabytes, and handing it over in the stream's usual 32 KiB steps costs the system more
    // than twice the time of the copy itself. The bytes in the file are the same.
    static constexpr std::size_t SaveBufferSize = 1048576;

    // Observer may be null. With MultiThreaded the container may be shared between threads;
    // otherwise one thread at a time uses the log. The objects behind Os must outlive the log.
    TRamLog(bool aShowOnError, ILogObserver* Observer, bool MultiThreaded, platform::TServices& Os);
    // Drops the observer and every queued call of this log; does not save. Destroy on the main
    // thread.
    ~TRamLog();
    TRamLog(const TRamLog&) = delete;
    TRamLog& operator=(const TRamLog&) = delete;

    // Line breaks become blanks; a message longer than MaxMsgLength is cut (never inside a
    // surrogate pair) and gets TruncatedMarker.
    static std::u16string SanitizeMsg(const std::u16string& Msg);
    // Whether SanitizeMsg would change Msg at all (most messages it would not).
    static bool NeedsSanitizing(std::u16string_view Msg);

    // --- adding lines ---
    // Each stamps the line with the current local time, runs the automatic saves, then notifies
    // the observer (warnings and errors also ask it to show its window when ShowOnError is set).
    void AddDebug(const std::u16string& Msg, bool Bold = false);
    void AddVerb(const std::u16string& Msg, bool Bold = false);
    void AddHint(const std::u16string& Msg, bool Bold = false);
    void AddInfo(const std::u16string& Msg, bool Bold = false);
    void AddMsg(const std::u16string& Msg, bool Bold = false);
    // The prepared Msg followed directly by the decimal form of i.
    void AddMsgInt(const std::u16string& Msg, std::int32_t i, bool Bold = false);
    void AddBold(const std::u16string& Msg);
    void AddEmptyRow();
    void AddImpo(const std::u16string& Msg, bool Bold = false);
    void AddWarn(const std::u16string& Msg, bool Bold = false);
    void AddError(const std::u16string& Msg, bool Bold = false);

    void Clear();
    int Count(bool Filtered, TLogVerbLvl Filter) const;
    TAbstractLogLines& Lines() const { return *FLines; }

    // --- observer ---
    // A null observer, or a second one while another is registered, fails an assertion;
    // registering the registered one again changes nothing.
    void RegisterLogObserver(ILogObserver* Observer);
    // Call on the main thread, before the observer is destroyed: calls already queued for it are
    // dropped or, if one slips through, find it gone and do nothing.
    void UnregisterLogObserver();
    void NotifyLogObserver();
    void PopUpWindow();
    void NotifyLogObserverAndShow();

    // --- limits ---
    std::int32_t MaxEntries() const { return FMaxEntries.load(std::memory_order_relaxed); }
    // A value of 0 or less fails an assertion and keeps the old one.
    void SetMaxEntries(std::int32_t Value);
    std::int32_t SaveInterval() const { return FSaveInterval.load(std::memory_order_relaxed); }
    // Seconds; a value of 0 or less fails an assertion and keeps the old one.
    void SetSaveInterval(std::int32_t Value);

    // --- text export ---
    // Every message, oldest first, joined by CR LF.
    std::u16string GetAsText() const;
    // UTF-8, with a byte-order mark only when some character is above 127. The folder is created
    // when missing. Failure raises EOrvelException "Error writing to file {path}: {reason}".
    void SaveAsText(const std::u16string& FullPath) const;

    // --- binary log format ---
    void SaveToStream(TOrvelStreamBase& Stream) const;
    // False, with the log unchanged, when the header is not this format's version.
    bool LoadFromStream(TOrvelStreamBase& Stream);
    void SaveToFile(const std::u16string& FullPath) const;
    // False for a missing file or a foreign header; true and a refreshed observer otherwise.
    bool LoadFromFile(const std::u16string& FullPath);
    // A detached container in the log file layout; a null snapshot fails an assertion.
    void SaveSnapshotToFile(const TAbstractLogLines* Snapshot, const std::u16string& FileName) const;

    // Bring the log window forward when a warning or an error is added.
    bool ShowOnError = false;

private:
    struct TObserverRef {
        ILogObserver* Observer = nullptr;
        std::uint64_t Generation = 0;
    };
    // Who is registered, shared with the queued calls so that they can tell, when they run,
    // whether the observer they were queued for is still the registered one. Every Add looks the
    // observer up, from any thread, so a look-up takes no lock: the generation is odd while a
    // change is under way and moves on with every change, and a reader that sees it move while it
    // reads the observer reads again. Changes (on the main thread) are serialised by Lock.
    struct TObserverSlot {
        std::mutex Lock;
        std::atomic<ILogObserver*> Observer{nullptr};
        std::atomic<std::uint64_t> Generation{0};

        TObserverRef Read() const;
        void Set(ILogObserver* Value);
    };

    // Adds the prepared text, runs the automatic saves when one may be due, and notifies.
    void AddPreparedLine(std::u16string_view Text, TLogVerbLvl Level, bool Bold);
    // SanitizeMsg only when the message needs it: most are taken as they are, without a copy.
    void AddAtLevel(const std::u16string& Msg, TLogVerbLvl Level, bool Bold);
    void tryAutoSave(platform::TDateTime Now);
    // True when the line limit was passed and the lines went to the overflow file.
    bool tryOverflowSave();
    void tryPeriodicSave(platform::TDateTime Now);
    bool PeriodicSaveDue(platform::TDateTime Now) const;
    TObserverRef GetObserver() const;
    // Runs on the main thread: Proc(observer) when Ref is still the registered observer.
    static void CallIfCurrent(TObserverSlot& Slot, const TObserverRef& Ref, void (ILogObserver::*Proc)());
    void DebugOut(const std::u16string& Text) const;
    std::u16string AppDataFile(const char16_t* Name) const;

    platform::TServices FOs;
    std::unique_ptr<TAbstractLogLines> FLines;
    std::shared_ptr<TObserverSlot> FObserver;
    std::recursive_mutex FAutoSaveLock;
    // Read by every Add without a lock, so each is an atomic of its own.
    std::atomic<platform::TDateTime> FLastSaveTime{0.0};
    std::atomic<std::int32_t> FSaveInterval{60};
    std::atomic<std::int32_t> FMaxEntries{1000000};
    std::shared_ptr<INotifyCoalesceFlag> FNotifyFlag;
};

} // namespace orvel

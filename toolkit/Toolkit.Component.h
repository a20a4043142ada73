#pragma once
// TComponent: name, tag, owner and the components it owns, the class name and "is a", and the
// published text properties that the form translator and the form persistence reach by name.
#include "toolkit/Toolkit.Types.h"

#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace toolkit {

class TApplication;
class TComponentRefBase;
class TFreeWatch;

enum class TOperation : std::uint8_t { opInsert, opRemove };

// Which class of the toolkit a component is, or is built on: every toolkit class reports its own
// and a class derived elsewhere inherits its base's. Code that treats classes differently (a
// backend picking a native counterpart, form persistence picking how a value is stored) switches
// over it without a default, so that a kind added here and not handled there stops the build.
enum class TComponentKind : std::uint8_t {
    // not controls
    ckComponent,
    ckApplication,
    ckTimer,
    ckAction,
    ckMenuItem,
    ckMenu,
    ckMainMenu,
    ckPopupMenu,
    ckTrayIcon,
    ckCommonDialog,
    ckOpenDialog,
    ckSaveDialog,
    ckFontDialog,
    ckColorDialog,
    // controls
    ckControl,
    ckForm,
    ckFrame,
    ckCustomLabel,
    ckLabel,
    ckBoundLabel,
    ckButtonControl,
    ckButton,
    ckCheckBox,
    ckRadioButton,
    ckCustomEdit,
    ckEdit,
    ckCustomLabeledEdit,
    ckLabeledEdit,
    ckSpinEdit,
    ckNumberBox,
    ckMemo,
    ckCustomComboBox,
    ckComboBox,
    ckFilterComboBox,
    ckCustomListBox,
    ckListBox,
    ckFileListBox,
    ckDirectoryListBox,
    ckCustomGroupBox,
    ckGroupBox,
    ckCustomRadioGroup,
    ckRadioGroup,
    ckScrollBar,
    ckCustomPanel,
    ckPanel,
    ckImage,
    ckShape,
    ckSplitter,
    ckListView,
    ckTrackBar,
    ckTabSheet,
    ckPageControl,
    ckHotKey,
    ckCustomGrid,
    ckDrawGrid,
    ckStringGrid,
    ckToggleSwitch // the last kind: ComponentKindCount counts up to it
};
inline constexpr int ComponentKindCount = static_cast<int>(TComponentKind::ckToggleSwitch) + 1;

// One published text property of a class: its name and how it is read and written.
struct TTextProperty {
    std::u16string_view Name;
    std::u16string (*Get)(const TComponent& Component);
    void (*Set)(TComponent& Component, const std::u16string& Value);
};

// The table entry for a property that class T reads with Getter and writes with Setter.
template <class T, auto Getter, auto Setter> constexpr TTextProperty TextProperty(std::u16string_view Name) {
    return TTextProperty{Name,
                         [](const TComponent& Component) -> std::u16string {
                             return (static_cast<const T&>(Component).*Getter)();
                         },
                         [](TComponent& Component, const std::u16string& Value) {
                             (static_cast<T&>(Component).*Setter)(Value);
                         }};
}

// A component lives until it is freed, either by Free() or by its owner's destruction, which frees
// what it owns from the last to the first. Free() runs BeforeDestruction() while the whole object is
// still alive, so descendants get a virtual hook that a C++ destructor cannot give them. Deleting a
// component with `delete` skips that hook: use Free() or TOwnedPtr. Calls queued on the
// application bound to a component are dropped when it is destroyed.
class TComponent {
public:
    // An owned component; the owner must not be null and lends its application.
    explicit TComponent(TComponent* AOwner);
    // A component without an owner (a form the application does not own, a test root).
    explicit TComponent(TApplication& App);
    virtual ~TComponent();
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    void Free();
    // Free() for callers that cannot pass an error on (a destructor, an owner freeing what it
    // owns): an error of a destruction hook goes to the application's exception handler.
    void FreeReportingErrors();

    virtual std::u16string ClassName() const { return u"TComponent"; }
    virtual TComponentKind ComponentKind() const { return TComponentKind::ckComponent; }
    // "is a": this class or one derived from it.
    template <class T> bool Is() const { return dynamic_cast<const T*>(this) != nullptr; }

    const std::u16string& Name() const { return FName; }
    void SetName(std::u16string Value) { FName = std::move(Value); }
    std::intptr_t Tag() const { return FTag; }
    void SetTag(std::intptr_t Value) { FTag = Value; }

    TComponent* Owner() const { return FOwner; }
    TApplication& Application() const { return *FApplication; }
    // The owned components in the order they were added.
    const std::vector<TComponent*>& Components() const { return FComponents; }
    int ComponentCount() const { return static_cast<int>(FComponents.size()); }
    // The owned component of that name (case-insensitive), or null.
    TComponent* FindComponent(std::u16string_view Name) const;

    // True while the form this component belongs to is still being constructed (its components
    // created and set up); handlers that must not react to the set-up ask this.
    virtual bool Loading() const;
    bool Destroying() const { return FDestroying; }

    // Published text properties ("Caption", "Hint", "TextHint"), by name (ASCII case-insensitive).
    // Reading or writing a name the class does not publish raises.
    bool HasTextProperty(std::u16string_view Name) const;
    std::u16string GetTextProperty(std::u16string_view Name) const;
    void SetTextProperty(std::u16string_view Name, const std::u16string& Value);
    // The published `Action` property: whether the class has one, and the action it holds (or null).
    virtual bool HasActionProperty() const { return false; }
    virtual TComponent* Action() const { return nullptr; }

    // `Other` is told through Notification(this, opRemove) when this component is destroyed, so it
    // can drop a reference it holds. Owners are always told about what they own.
    void FreeNotification(TComponent* Other);
    void RemoveFreeNotification(TComponent* Other);

protected:
    // The class's published text properties, the inherited ones included.
    virtual std::span<const TTextProperty> TextProperties() const { return {}; }
    virtual void Notification(TComponent* AComponent, TOperation Operation);
    virtual void BeforeDestruction() {}
    // Frees the owned components, last first. Destructors of classes whose members the owned
    // components still reach (a parent's child list) call it first; ~TComponent calls it again.
    void DestroyComponents();
    // For destructors of objects not destroyed through Free(): Destroying() answers true from here.
    void MarkDestroying() { FDestroying = true; }

private:
    friend class TComponentRefBase;
    friend class TFreeWatch;
    const TTextProperty* FindTextProperty(std::u16string_view Name) const;
    void InsertComponent(TComponent* Child);
    void RemoveComponent(TComponent* Child);

    std::u16string FName;
    std::intptr_t FTag = 0;
    TComponent* FOwner = nullptr;
    TApplication* FApplication = nullptr;
    std::vector<TComponent*> FComponents;
    std::vector<TComponent*> FFreeNotifies;
    std::vector<TFreeWatch*> FWatches;
    std::vector<TComponentRefBase*> FRefs;
    bool FDestroying = false;
    // The application is a component of itself; its own destructor empties the queue.
    bool FIsApplication = false;
};

// Tells a caller whether a component survived a call that may have freed it (an event handler, a
// nested loop), so that it reads nothing of a freed one. Lives on the caller's stack.
class TFreeWatch {
public:
    explicit TFreeWatch(TComponent& Component);
    ~TFreeWatch();
    TFreeWatch(const TFreeWatch&) = delete;
    TFreeWatch& operator=(const TFreeWatch&) = delete;

    // True from the start of the component's destructor on.
    bool Freed() const { return FComponent == nullptr; }

private:
    friend class TComponent;
    TComponent* FComponent;
};

// What TComponentRef keeps apart from its type: the component it watches, which knows the
// reference and clears it when it is freed.
class TComponentRefBase {
public:
    TComponentRefBase(const TComponentRefBase&) = delete;
    TComponentRefBase& operator=(const TComponentRefBase&) = delete;

protected:
    TComponentRefBase() = default;
    explicit TComponentRefBase(std::function<void()> OnFreed) : FOnFreed(std::move(OnFreed)) {}
    ~TComponentRefBase() { Watch(nullptr); }
    // Stops watching the old component and starts watching Target (null: none).
    void Watch(TComponent* Target);
    // False once the watched component was freed, or when there is none.
    bool Watching() const { return FTarget != nullptr; }

private:
    friend class TComponent;
    void TargetFreed();

    TComponent* FTarget = nullptr;
    std::function<void()> FOnFreed;
};

// A reference to a component that becomes null when the component is freed, so that whoever holds
// it never reaches a freed one. Assigning another component stops watching the old one, and a
// reference that goes first leaves nothing behind in the component. OnFreed, when given, runs
// right after the reference became null through a free (not through an assignment); the component
// is then in its destructor, past the components it owns, where Notification would reach its
// watchers. A reference is known to its component by address, so it is neither copied nor moved.
// T may be incomplete where the reference is declared and read; assigning needs the whole class.
template <class T> class TComponentRef final : private TComponentRefBase {
public:
    TComponentRef() = default;
    explicit TComponentRef(std::function<void()> OnFreed) : TComponentRefBase(std::move(OnFreed)) {}

    TComponentRef& operator=(T* Value) {
        if (Value != Get()) {
            Watch(Value);
            FValue = Value;
        }
        return *this;
    }
    T* Get() const { return Watching() ? FValue : nullptr; }
    operator T*() const { return Get(); }
    T* operator->() const { return Get(); }

private:
    T* FValue = nullptr;
};

// Frees through Free(), so the destruction hooks run; a hook's error cannot leave a destructor,
// so it goes to the application's exception handler.
struct TFreeDeleter {
    void operator()(TComponent* Component) const {
        if (Component != nullptr) {
            Component->FreeReportingErrors();
        }
    }
};
template <class T> using TOwnedPtr = std::unique_ptr<T, TFreeDeleter>;

} // namespace toolkit

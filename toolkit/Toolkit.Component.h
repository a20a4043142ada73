#pragma once
// TComponent: name, tag, owner and the components it owns, the class name and "is a", and the
// published text properties that the form translator and the form persistence reach by name.
#include "toolkit/Toolkit.Types.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace toolkit {

class TApplication;
class TFreeWatch;

enum class TOperation : std::uint8_t { opInsert, opRemove };

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

    // Published text properties ("Caption", "Hint", "TextHint"), by name. Reading or writing a name
    // the class does not publish raises.
    virtual bool HasTextProperty(std::u16string_view Name) const;
    virtual std::u16string GetTextProperty(std::u16string_view Name) const;
    virtual void SetTextProperty(std::u16string_view Name, const std::u16string& Value);
    // The published `Action` property: whether the class has one, and the action it holds (or null).
    virtual bool HasActionProperty() const { return false; }
    virtual TComponent* Action() const { return nullptr; }

    // `Other` is told through Notification(this, opRemove) when this component is destroyed, so it
    // can drop a reference it holds. Owners are always told about what they own.
    void FreeNotification(TComponent* Other);
    void RemoveFreeNotification(TComponent* Other);

protected:
    virtual void Notification(TComponent* AComponent, TOperation Operation);
    virtual void BeforeDestruction() {}
    // Frees the owned components, last first. Destructors of classes whose members the owned
    // components still reach (a parent's child list) call it first; ~TComponent calls it again.
    void DestroyComponents();
    // For destructors of objects not destroyed through Free(): Destroying() answers true from here.
    void MarkDestroying() { FDestroying = true; }

private:
    friend class TFreeWatch;
    void InsertComponent(TComponent* Child);
    void RemoveComponent(TComponent* Child);

    std::u16string FName;
    std::intptr_t FTag = 0;
    TComponent* FOwner = nullptr;
    TApplication* FApplication = nullptr;
    std::vector<TComponent*> FComponents;
    std::vector<TComponent*> FFreeNotifies;
    std::vector<TFreeWatch*> FWatches;
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

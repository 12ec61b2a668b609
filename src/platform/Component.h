#pragma once

// TComponent: a named object that may belong to an owner (a form or a data module), hears when a
// component it refers to goes away, and keeps stored properties that its owner writes to a byte
// stream and reads back when the owner is built again.
//
// An owner is a naming and loading scope, not a memory owner: whoever created a component frees
// it. A component that goes away leaves its owner's list; an owner that goes away first leaves its
// components without one.

#include "platform/EnumSet.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class TStream;

enum TOperation : std::uint8_t { opInsert, opRemove };

enum TComponentStateFlag : std::uint8_t {
    // Its owner's stored properties are being read; Loaded ends it.
    csLoading,
    // Stored properties are being read; other components may not have theirs yet.
    csReading,
    csDestroying,
};
using TComponentState = EnumSet<TComponentStateFlag>;

// Collects the stored properties of one component while it is written or read.
class TFiler
{
public:
    using TStreamProc = std::function<void(TStream &stream)>;

    virtual ~TFiler() = default;
    // A property kept as bytes. writeData runs only when hasData is set; readData gets exactly the
    // bytes that writeData wrote.
    virtual void DefineBinaryProperty(const std::string &name, TStreamProc readData, TStreamProc writeData,
                                      bool hasData) = 0;
};

class TComponent
{
public:
    explicit TComponent(TComponent *owner = nullptr);
    virtual ~TComponent();
    TComponent(const TComponent &) = delete;
    TComponent &operator=(const TComponent &) = delete;

    const std::string &Name() const { return name_; }
    void SetName(const std::string &name) { name_ = name; }

    TComponent *Owner() const { return owner_; }
    int ComponentCount() const { return static_cast<int>(components_.size()); }
    TComponent *Components(int index) const { return components_[static_cast<std::size_t>(index)]; }
    // The owned component of that name (case-insensitive), or none.
    TComponent *FindComponent(const std::string &name) const;
    // Takes component from its former owner.
    void InsertComponent(TComponent *component);
    void RemoveComponent(TComponent *component);

    // Both sides hear (Notification with opRemove) when the other goes away.
    void FreeNotification(TComponent *component);
    void RemoveFreeNotification(TComponent *component);

    TComponentState ComponentState() const { return state_; }

    // Offers the component's stored properties to filer; the base has none.
    virtual void DefineProperties(TFiler &filer);

protected:
    virtual void Notification(TComponent *component, TOperation operation);
    // Runs once every component of the owner has read its stored properties; the base ends the
    // loading state.
    virtual void Loaded();

private:
    friend void ReadComponentsState(TComponent &owner, TStream &stream);

    void unlink(TComponent *component);

    std::string name_;
    TComponent *owner_ = nullptr;
    std::vector<TComponent *> components_;
    std::vector<TComponent *> freeNotifies_;
    TComponentState state_;
};

// Writes the stored properties of every component owner holds.
void WriteComponentsState(TComponent &owner, TStream &stream);
// Reads what WriteComponentsState wrote into owner's components of the same names, then lets each
// of them finish loading (Loaded). Components and properties the stream names but owner lacks
// are passed over; a stream that is not such a stream raises EReadError.
void ReadComponentsState(TComponent &owner, TStream &stream);

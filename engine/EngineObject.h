// Root of every engine object reached through a table of virtual operations.
//
// The table layout is part of the binary interface: slot 0 is an explicit deleting destructor (a C++
// virtual destructor would take two slots under g++), slots 1 and 2 are Release and Init, and every
// operation uses the callee-cleans convention so callers built with other tool chains can use it.
#pragma once
#include <cstdint>
#include <memory>
#include <mutex>
#include <new>

#include "EngineTypes.h"

class IEngineObject {
public:
    virtual IEngineObject* FK_STDCALL DeleteSelf(uint32_t flags) = 0;  // flags & 1: free the storage
    virtual void FK_STDCALL Release() = 0;
    virtual bool FK_STDCALL Init() = 0;

protected:
    ~IEngineObject() = default;
};

// Null-safe release; a member could not test `this` against null.
inline void ReleaseObject(IEngineObject* object) {
    if (object) object->Release();
}

// Supplies slots 0 to 2 for a concrete class. Primary is the interface whose table the object
// starts with (IEngineObject or an interface derived from it).
template <class Derived, class Primary = IEngineObject>
class EngineObject : public Primary {
public:
    IEngineObject* FK_STDCALL DeleteSelf(uint32_t flags) override {
        auto* self = static_cast<Derived*>(this);
        if (flags & 1) {
            delete self;
        } else {
            self->~Derived();
        }
        return this;
    }
    void FK_STDCALL Release() override { DeleteSelf(1); }
    bool FK_STDCALL Init() override { return true; }
};

// The creating factory: construct, Init through the table, null (after Release) when Init fails.
template <class T>
IEngineObject* CreateEngineObject() {
    T* object = new (std::nothrow) T;
    if (!object) return nullptr;
    IEngineObject* root = object;
    if (!root->Init()) {
        root->Release();
        return nullptr;
    }
    return root;
}

// The static-instance factory: one instance per class, Init retried until it once succeeds.
template <class T>
IEngineObject* StaticEngineObject() {
    static std::mutex guard;
    static T instance;
    static bool ready = false;
    std::lock_guard<std::mutex> lock(guard);
    if (!ready) ready = instance.T::Init();
    return ready ? static_cast<IEngineObject*>(&instance) : nullptr;
}

#define FK_DEFINE_FACTORIES(NAME, Class)                                                       \
    extern "C" IEngineObject* FK_STDCALL NEW_##NAME(void) { return CreateEngineObject<Class>(); } \
    extern "C" IEngineObject* FK_STDCALL NEW_00_##NAME(void) { return StaticEngineObject<Class>(); }

// Owner of an object from a creating factory: Release when it goes out of scope.
struct EngineReleaser {
    void operator()(IEngineObject* object) const { ReleaseObject(object); }
};
template <class T>
using EnginePtr = std::unique_ptr<T, EngineReleaser>;

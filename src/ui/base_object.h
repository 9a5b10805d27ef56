// Reference-counted base of every object of the view library. [ui-thread]
#pragma once

#include <atomic>
#include <cstring>
#include <memory>

namespace VSTGUI {

class CBaseObject {
public:
    CBaseObject() { liveCount()++; }
    virtual ~CBaseObject() { liveCount()--; }
    CBaseObject(const CBaseObject &) : CBaseObject() {}
    CBaseObject &operator=(const CBaseObject &) { return *this; }

    // A new object holds one reference; forget() deletes it when the last one goes.
    void remember() { ++references; }
    void forget()
    {
        if (--references == 0)
            delete this;
    }
    int getNbReference() const { return references; }

    // Answers true for the class's own name and for the names of all its bases.
    virtual bool isTypeOf(const char *name) const { return std::strcmp(name, "CBaseObject") == 0; }

    // Objects of the library alive in this process; leak checks compare it before and after.
    static int liveObjects() { return liveCount().load(); }

private:
    static std::atomic<int> &liveCount()
    {
        static std::atomic<int> count{0};
        return count;
    }
    int references = 1;
};

// Holds one reference and gives it back when it goes.
struct ForgetReference {
    void operator()(CBaseObject *object) const
    {
        if (object)
            object->forget();
    }
};
template <class T> using OwningPointer = std::unique_ptr<T, ForgetReference>;

// Keeps an object alive for a scope, also when an exception leaves it: a handler that runs may
// remove the object that runs it.
class ReferenceGuard {
public:
    explicit ReferenceGuard(CBaseObject *object) : object(object) { object->remember(); }
    ~ReferenceGuard() { object->forget(); }
    ReferenceGuard(const ReferenceGuard &) = delete;
    ReferenceGuard &operator=(const ReferenceGuard &) = delete;

private:
    CBaseObject *object;
};

// Implements isTypeOf for a class with one library base.
#define VSTGUI_TYPE(ClassName, BaseName)                                                                               \
    bool isTypeOf(const char *name) const override                                                                     \
    {                                                                                                                  \
        return std::strcmp(name, #ClassName) == 0 || BaseName::isTypeOf(name);                                         \
    }

}  // namespace VSTGUI

// SPDX-License-Identifier: GPL-3.0-or-later
// Base of the widgets' settings objects: every change travels up to the owning widget.
#pragma once

#include <functional>

class TAbPersistent {
public:
    using TNotify = std::function<void(TAbPersistent* sender)>;

    TAbPersistent() = default;
    TAbPersistent(const TAbPersistent&) = delete;
    TAbPersistent& operator=(const TAbPersistent&) = delete;
    virtual ~TAbPersistent() = default;

    TNotify OnChange;

    virtual void Changed() {
        if (OnChange)
            OnChange(this);
    }
    virtual void ChildChanged(TAbPersistent* sender) {
        if (OnChange)
            OnChange(sender);
    }

protected:
    // An owned sub-object reports through this object's ChildChanged.
    void Own(TAbPersistent& child) {
        child.OnChange = [this](TAbPersistent* s) { ChildChanged(s); };
    }
    template <class T, class U> void Store(T& field, const U& value) {
        if (!(field == value)) {
            field = value;
            Changed();
        }
    }
};

// Getter and store-when-different setter of one settings field.
#define AB_PROPERTY(Type, Name, init)                                                              \
public:                                                                                            \
    const Type& Name() const {                                                                     \
        return f##Name;                                                                            \
    }                                                                                              \
    void Set##Name(const Type& v) {                                                                \
        Store(f##Name, v);                                                                         \
    }                                                                                              \
                                                                                                   \
private:                                                                                           \
    Type f##Name = init;

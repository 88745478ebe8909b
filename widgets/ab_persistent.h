// SPDX-License-Identifier: GPL-3.0-or-later
// Base of the widgets' settings objects: every change travels up to the owning widget.
#pragma once

#include <functional>

namespace kuvar {

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
#define AB_PROPERTY(Type, Name, field, init)                                                       \
public:                                                                                            \
    const Type& Name() const {                                                                     \
        return field;                                                                              \
    }                                                                                              \
    void Set##Name(const Type& v) {                                                                \
        Store(field, v);                                                                           \
    }                                                                                              \
                                                                                                   \
private:                                                                                           \
    Type field = init;

} // namespace kuvar

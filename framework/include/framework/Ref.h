#pragma once

#include <framework/Exceptions.h>

#include <cstddef>
#include <memory>
#include <type_traits>
#include <utility>

namespace fw {

// A counted reference to a framework or program object. Nil is a value like
// any other; using it (->, *) raises NilObjectException, as the program
// expects of every object reference.
template <class T>
class Ref {
public:
    using element_type = T;

    Ref() = default;
    Ref(std::nullptr_t) {}
    explicit Ref(std::shared_ptr<T> p) : p_(std::move(p)) {}

    template <class U, class = std::enable_if_t<std::is_convertible_v<U*, T*>>>
    Ref(const Ref<U>& other) : p_(other.Shared()) {}

    T* operator->() const
    {
        if (!p_)
            ThrowNil();
        return p_.get();
    }
    T& operator*() const
    {
        if (!p_)
            ThrowNil();
        return *p_;
    }

    bool IsNil() const { return !p_; }
    explicit operator bool() const { return static_cast<bool>(p_); }
    T* Get() const { return p_.get(); }
    const std::shared_ptr<T>& Shared() const { return p_; }

    template <class U>
    bool operator==(const Ref<U>& other) const { return p_ == other.Shared(); }
    bool operator==(std::nullptr_t) const { return !p_; }

private:
    std::shared_ptr<T> p_;
};

// A reference that does not keep its object alive. Lock() answers nil once
// the object is gone.
template <class T>
class WeakRef {
public:
    WeakRef() = default;
    template <class U, class = std::enable_if_t<std::is_convertible_v<U*, T*>>>
    WeakRef(const Ref<U>& r) : p_(r.Shared()) {}

    Ref<T> Lock() const { return Ref<T>(p_.lock()); }
    bool Expired() const { return p_.expired(); }

private:
    std::weak_ptr<T> p_;
};

template <class T, class... Args>
Ref<T> New(Args&&... args)
{
    return Ref<T>(std::make_shared<T>(std::forward<Args>(args)...));
}

// A verified cast: nil when the object is not of class T.
template <class T, class U>
Ref<T> Cast(const Ref<U>& r)
{
    return Ref<T>(std::dynamic_pointer_cast<T>(r.Shared()));
}

} // namespace fw

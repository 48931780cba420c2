#pragma once

#include <framework/Ref.h>

#include <functional>
#include <utility>

namespace fw {

// An event that a class declares and raises, with at most one handler
// attached by the control's owner.
template <class... Args>
class Event {
public:
    using Handler = std::function<void(Args...)>;

    void Attach(Handler handler) { handler_ = std::move(handler); }
    void Detach() { handler_ = nullptr; }
    bool IsAttached() const { return static_cast<bool>(handler_); }
    void Raise(Args... args) const
    {
        if (handler_)
            handler_(args...);
    }

private:
    Handler handler_;
};

// A delegate on a method of `owner` that holds the owner weakly: once the
// owner is gone, calling it raises NilObjectException instead.
template <class Owner, class Method>
auto BindWeak(const Ref<Owner>& owner, Method method)
{
    WeakRef<Owner> weak(owner);
    return [weak, method](auto&&... args) {
        Ref<Owner> self = weak.Lock();
        ((*self).*method)(std::forward<decltype(args)>(args)...);
    };
}

} // namespace fw

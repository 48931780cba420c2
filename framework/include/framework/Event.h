#pragma once

#include <framework/Ref.h>

#include <functional>
#include <type_traits>
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
        // A copy runs, so a handler may detach or replace itself.
        if (Handler h = handler_)
            h(args...);
    }

private:
    Handler handler_;
};

namespace detail {
template <class P>
struct RefArg {
    template <class A>
    static decltype(auto) From(A&& a) { return std::forward<A>(a); }
};
// A control handed to a method that takes a more derived class is cast
// (verified: nil when it is of another class).
template <class T>
struct RefArg<Ref<T>> {
    template <class U>
    static Ref<T> From(const Ref<U>& r) { return Cast<T>(r); }
};
} // namespace detail

// A delegate on a method of `owner` that holds the owner weakly: once the
// owner is gone, calling it raises NilObjectException instead. The method
// may take the sender as a subclass of what the event passes:
//     canvas->MouseEnter.Attach(BindWeak(Self(this), &AboutWindow::AppIcon_MouseEnter));
// with AppIcon_MouseEnter(Ref<Canvas> sender) and MouseEnter passing a
// Ref<RectControl>.
template <class Owner, class C, class R, class... P>
auto BindWeak(const Ref<Owner>& owner, R (C::*method)(P...))
{
    WeakRef<Owner> weak(owner);
    return [weak, method](auto&&... args) {
        Ref<Owner> self = weak.Lock();
        ((*self).*method)(detail::RefArg<std::remove_cvref_t<P>>::From(std::forward<decltype(args)>(args))...);
    };
}

} // namespace fw

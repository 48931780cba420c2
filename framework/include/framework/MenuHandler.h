#pragma once

#include <framework/Ref.h>

#include <cstdint>
#include <functional>
#include <type_traits>
#include <utility>

namespace fw {

class MenuItem;

// What a menu command runs: registered under an item name by a window or by
// the application. A handler that takes an Int32 receives the chosen item's
// Index. The Boolean answers whether the command was handled.
class MenuHandler {
public:
    MenuHandler() = default;
    MenuHandler(std::function<bool()> handler) : plain_(std::move(handler)) {}
    MenuHandler(std::function<bool(int32_t)> handler) : indexed_(std::move(handler)) {}
    // Any callable answering a Boolean, with no argument or with the Index.
    template <class F, class = std::enable_if_t<!std::is_same_v<std::decay_t<F>, MenuHandler>>,
        class = std::enable_if_t<std::is_invocable_r_v<bool, F&> || std::is_invocable_r_v<bool, F&, int32_t>>>
    MenuHandler(F handler)
    {
        if constexpr (std::is_invocable_r_v<bool, F&>)
            plain_ = std::move(handler);
        else
            indexed_ = std::move(handler);
    }

    explicit operator bool() const { return plain_ || indexed_; }
    bool TakesIndex() const { return static_cast<bool>(indexed_); }
    bool Invoke(const MenuItem& item) const;

private:
    std::function<bool()> plain_;
    std::function<bool(int32_t)> indexed_;
};

// A handler bound to a method of `owner` that holds the owner strongly, as
// menu handlers do: the owner lives at least as long as the registration.
template <class Owner, class Result>
MenuHandler BindMenuHandler(const Ref<Owner>& owner, Result (Owner::*method)())
{
    return MenuHandler(std::function<bool()>([owner, method] { return ((*owner).*method)(); }));
}

template <class Owner, class Result>
MenuHandler BindMenuHandler(const Ref<Owner>& owner, Result (Owner::*method)(int32_t))
{
    return MenuHandler(
        std::function<bool(int32_t)>([owner, method](int32_t index) { return ((*owner).*method)(index); }));
}

} // namespace fw

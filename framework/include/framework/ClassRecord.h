#pragma once

#include <framework/Color.h>
#include <framework/MenuHandler.h>
#include <framework/Ref.h>

#include <cstdint>
#include <array>
#include <cstddef>
#include <functional>
#include <string>
#include <type_traits>
#include <variant>
#include <vector>

namespace fw {

class Object;

enum class Scope { Public, Protected, Private, Hidden };

// Int16 only names what a getter answers; property records carry no Int16.
enum class PropertyType { Int32, Int16, Boolean, String, Color, Single, Double, Object };

using Value = std::variant<int32_t, bool, std::string, Color, float, double, Ref<Object>>;

struct PropertyRecord {
    std::string Name;
    PropertyType Type = PropertyType::Int32;
    Scope Access = Scope::Public;
    // Empty for properties the program keeps to itself.
    std::function<void(Object&, const Value&)> Setter;
};

struct MethodRecord {
    std::string Name;
    // Writes the signature, e.g. "(Int32, Int32): Boolean", from the
    // member's C++ type. Rendered on request: an argument of a class type
    // is named by that class's record, which may still be under
    // construction while this record is built.
    std::string (*RenderSignature)() = nullptr;
    Scope Access = Scope::Public;

    std::string Signature() const { return RenderSignature(); }
};

// What the runtime knows of one class: its name, its superclass, its
// properties with their types and setters, its methods in slot order and
// the events it declares.
struct ClassRecord {
    std::string Name;
    const ClassRecord* Super = nullptr;
    std::vector<PropertyRecord> Properties;
    std::vector<MethodRecord> Methods;
    std::vector<std::string> Events;

    // Looks the property up on this class and then on its superclasses.
    const PropertyRecord* FindProperty(const std::string& name) const;
    bool IsA(const ClassRecord& other) const;
};

// The one table of class records, by name and in order of registration;
// start-up fills it and the exit empties it. Nothing looks classes up in it
// at run time: property records are read by the object's own class record.
class ClassRegistry {
public:
    static void Register(const ClassRecord& record);
    static const ClassRecord* Find(const std::string& name);
    static const std::vector<const ClassRecord*>& All();
    static void Clear();
};

namespace detail {
// The runtime's name of each C++ type that a record may show; a type with no
// name here does not compile.
template <class T> struct TypeName;
template <> struct TypeName<int32_t> { static std::string Get() { return "Int32"; } };
template <> struct TypeName<int16_t> { static std::string Get() { return "Int16"; } };
template <> struct TypeName<bool> { static std::string Get() { return "Boolean"; } };
template <> struct TypeName<std::string> { static std::string Get() { return "String"; } };
template <> struct TypeName<double> { static std::string Get() { return "Double"; } };
template <> struct TypeName<float> { static std::string Get() { return "Single"; } };
template <> struct TypeName<Color> { static std::string Get() { return "Color"; } };
template <> struct TypeName<MenuHandler> { static std::string Get() { return "MenuHandler"; } };
template <class T> struct TypeName<Ref<T>> { static std::string Get() { return T::Record().Name; } };
template <class T> struct TypeName<std::vector<T>> { static std::string Get() { return TypeName<T>::Get() + "()"; } };
template <class T, std::size_t N> struct TypeName<std::array<T, N>> : TypeName<std::vector<T>> {};

template <class F> struct SignatureOf;
template <class R, class... A> struct SignatureOf<R(A...)> {
    static std::string Render()
    {
        std::string s = "(";
        ((s += (s.size() > 1 ? ", " : "") + TypeName<std::remove_cvref_t<A>>::Get()), ...);
        s += ")";
        if constexpr (!std::is_void_v<R>)
            s += ": " + TypeName<std::remove_cvref_t<R>>::Get();
        return s;
    }
};
template <class R, class... A> struct SignatureOf<R(A...) const> : SignatureOf<R(A...)> {};
template <class R, class... A> struct SignatureOf<R(A...) noexcept> : SignatureOf<R(A...)> {};
template <class R, class... A> struct SignatureOf<R(A...) const noexcept> : SignatureOf<R(A...)> {};

template <class V>
struct PropertyTypeOf;
template <> struct PropertyTypeOf<int32_t> { static constexpr PropertyType value = PropertyType::Int32; };
template <> struct PropertyTypeOf<int16_t> { static constexpr PropertyType value = PropertyType::Int16; };
template <> struct PropertyTypeOf<bool> { static constexpr PropertyType value = PropertyType::Boolean; };
template <> struct PropertyTypeOf<std::string> { static constexpr PropertyType value = PropertyType::String; };
template <> struct PropertyTypeOf<Color> { static constexpr PropertyType value = PropertyType::Color; };
template <> struct PropertyTypeOf<float> { static constexpr PropertyType value = PropertyType::Single; };
template <> struct PropertyTypeOf<double> { static constexpr PropertyType value = PropertyType::Double; };
template <class T> struct PropertyTypeOf<Ref<T>> { static constexpr PropertyType value = PropertyType::Object; };
// Arrays are objects to the runtime.
template <class T> struct PropertyTypeOf<std::vector<T>> { static constexpr PropertyType value = PropertyType::Object; };
template <class T, std::size_t N> struct PropertyTypeOf<std::array<T, N>> { static constexpr PropertyType value = PropertyType::Object; };

// The C++ types a property record can hand to a setter.
template <class V>
constexpr bool Settable = std::is_same_v<V, int32_t> || std::is_same_v<V, bool> || std::is_same_v<V, std::string>
    || std::is_same_v<V, Color> || std::is_same_v<V, float> || std::is_same_v<V, double>;
template <class T>
constexpr bool Settable<Ref<T>> = true;

template <class V>
V FromValue(const Value& v)
{
    if constexpr (std::is_same_v<V, int32_t> || std::is_same_v<V, bool> || std::is_same_v<V, std::string>
                  || std::is_same_v<V, Color> || std::is_same_v<V, float> || std::is_same_v<V, double>)
        return std::get<V>(v);
    else
        return Cast<typename V::element_type>(std::get<Ref<Object>>(v));
}
} // namespace detail

// A property record whose setter calls C::set with the decoded value.
template <class C, class Arg>
PropertyRecord Property(std::string name, void (C::*set)(Arg), Scope access = Scope::Public)
{
    using V = std::remove_cvref_t<Arg>;
    return PropertyRecord { std::move(name), detail::PropertyTypeOf<V>::value, access,
        [set](Object& object, const Value& value) {
            (dynamic_cast<C&>(object).*set)(detail::FromValue<V>(value));
        } };
}

// A property that the class accepts (from a property record, say) and keeps
// without acting on it; Object::KeptValue reads it back.
PropertyRecord Kept(std::string name, PropertyType type);

// A property kept in a data member; a public one may be set by a record.
template <class C, class V>
    requires(!std::is_function_v<V>)
PropertyRecord Property(std::string name, V C::*member, Scope access = Scope::Protected)
{
    PropertyRecord record { std::move(name), detail::PropertyTypeOf<V>::value, access, {} };
    if constexpr (detail::Settable<V>)
        if (access == Scope::Public)
            record.Setter = [member](Object& object, const Value& value) {
                dynamic_cast<C&>(object).*member = detail::FromValue<V>(value);
            };
    return record;
}

// A property the runtime reads through its getter; records cannot set it.
template <class C, class R>
PropertyRecord GetterProperty(std::string name, R (C::*)() const, Scope access = Scope::Public)
{
    return PropertyRecord { std::move(name), detail::PropertyTypeOf<std::remove_cvref_t<R>>::value, access, {} };
}

// A method, its signature taken from the member's type. An overloaded member
// names the overload by its type: Method<Ref<MenuItem>(const std::string&) const>("Lookup", &MenuItem::Lookup).
template <class F, class C>
    requires std::is_function_v<F>
MethodRecord Method(std::string name, F C::*, Scope access = Scope::Public)
{
    return MethodRecord { std::move(name), &detail::SignatureOf<F>::Render, access };
}

// The constructor that takes these arguments; a class without one does not
// compile.
template <class C, class... A>
MethodRecord Constructor(Scope access = Scope::Public)
{
    static_assert(std::is_constructible_v<C, A...>, "no such constructor");
    return MethodRecord { "Constructor", &detail::SignatureOf<void(A...)>::Render, access };
}

// A shared method (no object): a plain function of the class.
template <class F>
    requires std::is_function_v<F>
MethodRecord Method(std::string name, F*, Scope access = Scope::Public)
{
    return MethodRecord { std::move(name), &detail::SignatureOf<F>::Render, access };
}

} // namespace fw

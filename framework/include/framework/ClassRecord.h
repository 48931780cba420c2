#pragma once

#include <framework/Color.h>
#include <framework/Ref.h>

#include <cstdint>
#include <functional>
#include <string>
#include <type_traits>
#include <variant>
#include <vector>

namespace fw {

class Object;

enum class Scope { Public, Protected, Private, Hidden };

enum class PropertyType { Int32, Boolean, String, Color, Single, Double, Object };

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
    std::string Signature; // e.g. "(x As Int32, y As Int32) As Boolean"
    Scope Access = Scope::Public;
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

// The one table of class records; start-up fills it, property records read it.
class ClassRegistry {
public:
    static void Register(const ClassRecord& record);
    static const ClassRecord* Find(const std::string& name);
    static const std::vector<const ClassRecord*>& All();
    static void Clear();
};

namespace detail {
template <class V>
struct PropertyTypeOf;
template <> struct PropertyTypeOf<int32_t> { static constexpr PropertyType value = PropertyType::Int32; };
template <> struct PropertyTypeOf<bool> { static constexpr PropertyType value = PropertyType::Boolean; };
template <> struct PropertyTypeOf<std::string> { static constexpr PropertyType value = PropertyType::String; };
template <> struct PropertyTypeOf<Color> { static constexpr PropertyType value = PropertyType::Color; };
template <> struct PropertyTypeOf<float> { static constexpr PropertyType value = PropertyType::Single; };
template <> struct PropertyTypeOf<double> { static constexpr PropertyType value = PropertyType::Double; };
template <class T> struct PropertyTypeOf<Ref<T>> { static constexpr PropertyType value = PropertyType::Object; };

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

// A property known to the runtime only by name and type.
inline PropertyRecord Property(std::string name, PropertyType type, Scope access = Scope::Protected)
{
    return PropertyRecord { std::move(name), type, access, {} };
}

} // namespace fw

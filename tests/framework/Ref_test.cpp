#include <framework/ClassRecord.h>
#include <framework/Event.h>
#include <framework/Object.h>
#include <framework/Ref.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

using namespace fw;

namespace {
class Base : public Object {
public:
    int value = 1;
    void Poke(int v) { value = v; }
};
class Derived : public Base {
public:
    static const ClassRecord& Record()
    {
        static const ClassRecord r { "Derived", &Object::Record(),
            { Property<Derived>("Value", &Derived::SetValue), Property("Hidden", &Derived::hidden),
                Property("Shown", &Derived::shown, Scope::Public) },
            { Method("SetValue", &Derived::SetValue), Method("Near", &Derived::Near),
                Method<int16_t(const std::string&, const Ref<Derived>&) const>("Pick", &Derived::Pick),
                Method("Make", &Derived::Make), Constructor<Derived>() },
            {} };
        return r;
    }
    const ClassRecord& ClassInfo() const override { return Record(); }
    void SetValue(int32_t v) { value = v; }
    bool Near(int32_t, int32_t) { return false; }
    int16_t Pick(const std::string&, const Ref<Derived>&) const { return 0; }
    void Pick() {}
    static std::vector<Ref<Derived>> Make(double, float, Color) { return {}; }
    bool hidden = false;
    std::string shown;
};
class Other : public Object { };
} // namespace

TEST(Ref, UsingNilRaisesNilObjectException)
{
    Ref<Base> nil;
    EXPECT_TRUE(nil.IsNil());
    EXPECT_TRUE(nil == nullptr);
    EXPECT_THROW(nil->Poke(2), NilObjectException);
    EXPECT_THROW((void)*nil, NilObjectException);
}

TEST(Ref, CastsAreVerified)
{
    Ref<Object> o = New<Derived>();
    EXPECT_TRUE(Cast<Base>(o));
    EXPECT_TRUE(Cast<Derived>(o));
    EXPECT_FALSE(Cast<Other>(o));
    EXPECT_FALSE(Cast<Other>(Ref<Object>()));
}

TEST(Ref, WeakRefDoesNotKeepItsObject)
{
    WeakRef<Base> weak;
    {
        Ref<Base> strong = New<Base>();
        weak = strong;
        EXPECT_FALSE(weak.Lock().IsNil());
    }
    EXPECT_TRUE(weak.Lock().IsNil());
}

TEST(Ref, AHandlerMayDetachItselfWhileItRuns)
{
    Event<int> event;
    auto state = std::make_shared<std::string>("still here");
    std::string seen;
    event.Attach([&event, &seen, state](int) {
        event.Detach(); // would destroy this very function, and `state` with it
        seen = *state;
    });
    state.reset();
    event.Raise(1);
    EXPECT_EQ(seen, "still here");
    EXPECT_FALSE(event.IsAttached());
}

TEST(Ref, WeakDelegateRaisesOnceItsOwnerIsGone)
{
    Event<int> event;
    Ref<Base> owner = New<Base>();
    event.Attach(BindWeak(owner, &Base::Poke));
    event.Raise(5);
    EXPECT_EQ(owner->value, 5);
    owner = nullptr;
    EXPECT_THROW(event.Raise(6), NilObjectException);
    event.Detach();
    EXPECT_NO_THROW(event.Raise(7));
}

TEST(ClassRecord, SignaturesAreWrittenFromTheMembersTypes)
{
    std::vector<std::string> signatures;
    for (const MethodRecord& m : Derived::Record().Methods)
        signatures.push_back(m.Name + m.Signature());
    EXPECT_EQ(signatures,
        (std::vector<std::string> { "SetValue(Int32)", "Near(Int32, Int32): Boolean", "Pick(String, Derived): Int16",
            "Make(Double, Single, Color): Derived()", "Constructor()" }));
}

TEST(ClassRecord, PropertiesAreFoundThroughTheRegistryAndSetByType)
{
    ClassRegistry::Register(Derived::Record());
    ClassRegistry::Register(Derived::Record());
    const ClassRecord* r = ClassRegistry::Find("Derived");
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(std::count(ClassRegistry::All().begin(), ClassRegistry::All().end(), r), 1) << "registered once";
    const PropertyRecord* p = r->FindProperty("Value");
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->Type, PropertyType::Int32);
    Ref<Derived> d = New<Derived>();
    p->Setter(*d, Value(int32_t { 42 }));
    EXPECT_EQ(d->value, 42);
    EXPECT_EQ(r->FindProperty("Hidden")->Type, PropertyType::Boolean);
    EXPECT_FALSE(r->FindProperty("Hidden")->Setter) << "a protected member has no setter";
    r->FindProperty("Shown")->Setter(*d, Value(std::string("yes")));
    EXPECT_EQ(d->shown, "yes");
    EXPECT_EQ(r->FindProperty("Nope"), nullptr);
    EXPECT_TRUE(r->IsA(Object::Record()));
    EXPECT_FALSE(Object::Record().IsA(*r));
}

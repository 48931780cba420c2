#include <framework/ClassRecord.h>
#include <framework/Event.h>
#include <framework/Object.h>
#include <framework/Ref.h>

#include <gtest/gtest.h>

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
            { Property<Derived>("Value", &Derived::SetValue), Property("Hidden", PropertyType::Boolean) }, {}, {} };
        return r;
    }
    const ClassRecord& ClassInfo() const override { return Record(); }
    void SetValue(int32_t v) { value = v; }
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
    EXPECT_FALSE(r->FindProperty("Hidden")->Setter) << "a property without setter";
    EXPECT_EQ(r->FindProperty("Nope"), nullptr);
    EXPECT_TRUE(r->IsA(Object::Record()));
    EXPECT_FALSE(Object::Record().IsA(*r));
}

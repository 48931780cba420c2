#include <framework/ClassRecord.h>
#include <framework/Object.h>

#include <algorithm>
#include <map>

namespace fw {

const PropertyRecord* ClassRecord::FindProperty(const std::string& name) const
{
    for (const ClassRecord* c = this; c; c = c->Super)
        for (const PropertyRecord& p : c->Properties)
            if (p.Name == name)
                return &p;
    return nullptr;
}

bool ClassRecord::IsA(const ClassRecord& other) const
{
    for (const ClassRecord* c = this; c; c = c->Super)
        if (c == &other)
            return true;
    return false;
}

namespace {
struct Registry {
    std::vector<const ClassRecord*> order;
    std::map<std::string, const ClassRecord*> byName;
};
Registry& TheRegistry()
{
    static Registry r;
    return r;
}
} // namespace

void ClassRegistry::Register(const ClassRecord& record)
{
    Registry& r = TheRegistry();
    auto [it, inserted] = r.byName.emplace(record.Name, &record);
    if (inserted)
        r.order.push_back(&record);
}

const ClassRecord* ClassRegistry::Find(const std::string& name)
{
    Registry& r = TheRegistry();
    auto it = r.byName.find(name);
    return it == r.byName.end() ? nullptr : it->second;
}

const std::vector<const ClassRecord*>& ClassRegistry::All() { return TheRegistry().order; }

void ClassRegistry::Clear()
{
    TheRegistry().order.clear();
    TheRegistry().byName.clear();
}

PropertyRecord Kept(std::string name, PropertyType type)
{
    std::string key = name;
    return PropertyRecord { std::move(name), type, Scope::Public,
        [key](Object& object, const Value& value) { object.KeepValue(key, value); } };
}

Object::~Object() = default;

const Value* Object::KeptValue(const std::string& name) const
{
    auto it = kept_.find(name);
    return it == kept_.end() ? nullptr : &it->second;
}

void Object::KeepValue(const std::string& name, const Value& value) { kept_[name] = value; }

const ClassRecord& Object::Record()
{
    static const ClassRecord record { "Object", nullptr, {}, {}, {} };
    return record;
}

const ClassRecord& Object::ClassInfo() const { return Record(); }

} // namespace fw

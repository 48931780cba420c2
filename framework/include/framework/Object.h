#pragma once

#include <framework/ClassRecord.h>
#include <framework/Ref.h>

#include <map>
#include <memory>
#include <string>

namespace fw {

// Root of every framework and program class: counted, and able to tell its
// class record.
class Object : public std::enable_shared_from_this<Object> {
public:
    Object() = default;
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;
    virtual ~Object();

    static const ClassRecord& Record();
    virtual const ClassRecord& ClassInfo() const;

    // The value last set of a property that the class accepts and keeps
    // without acting on it (declared with Kept, ClassRecord.h); null when
    // it was never set.
    const Value* KeptValue(const std::string& name) const;
    void KeepValue(const std::string& name, const Value& value);

protected:
    // A counted reference to this object; it must have been made with New.
    template <class T>
    Ref<T> Self(T* self)
    {
        (void)self;
        return Ref<T>(std::static_pointer_cast<T>(shared_from_this()));
    }

private:
    std::map<std::string, Value> kept_;
};

} // namespace fw

#include <framework/AppleMenuItem.h>

namespace fw {

const ClassRecord& AppleMenuItem::Record()
{
    static const ClassRecord record { "AppleMenuItem", &MenuItem::Record(), {}, {}, {} };
    return record;
}

const ClassRecord& AppleMenuItem::ClassInfo() const { return Record(); }

} // namespace fw

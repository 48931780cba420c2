#include <framework/MenuBar.h>

namespace fw {

const ClassRecord& MenuBar::Record()
{
    static const ClassRecord record { "MenuBar", &MenuItem::Record(), {}, {}, {} };
    return record;
}

const ClassRecord& MenuBar::ClassInfo() const { return Record(); }

} // namespace fw

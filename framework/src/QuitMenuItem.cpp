#include <framework/QuitMenuItem.h>

#include "ApplicationLink.h"

namespace fw {

const ClassRecord& QuitMenuItem::Record()
{
    static const ClassRecord record { "QuitMenuItem", &MenuItem::Record(), {}, {}, {} };
    return record;
}

const ClassRecord& QuitMenuItem::ClassInfo() const { return Record(); }

bool QuitMenuItem::Action()
{
    detail::QuitApplication();
    return true;
}

} // namespace fw

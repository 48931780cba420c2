#include "offscreen/TargetSystemDisplay.h"

#include "offscreen/TargetSystemPict.h"

using namespace fw;

const ClassRecord& TargetSystemDisplay::Record()
{
    static const ClassRecord record { "TargetSystemDisplay", &Canvas::Record(), {},
        {
            Method("Event_Paint", &TargetSystemDisplay::Event_Paint),
            Method("VersionInfo", &TargetSystemDisplay::VersionInfo),
        },
        {} };
    return record;
}

const ClassRecord& TargetSystemDisplay::ClassInfo() const { return Record(); }

void TargetSystemDisplay::Event_Paint(const Ref<Graphics>& g)
{
    g->DrawPicture(TargetSystemPict(), 0, 0, 16, 8, 0, 32, 16, 8);
}

std::string TargetSystemDisplay::VersionInfo() { return "2011-12-22,1"; }

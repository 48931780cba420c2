#include "offscreen/TargetSystemDisplay.h"

#include "offscreen/TargetSystemPict.h"

using namespace fw;

const ClassRecord& TargetSystemDisplay::Record()
{
    static const ClassRecord record { "TargetSystemDisplay", &Canvas::Record(), {},
        {
            { "Event_Paint", "(g As Graphics)" },
            { "VersionInfo", "() As String" },
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

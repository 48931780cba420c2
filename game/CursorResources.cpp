#include "game/CursorResources.h"

#include "game/Appl.h"

#include <framework/ResourceFork.h>

using namespace fw;

namespace {

constexpr int32_t kPointCursorID = 168;
constexpr int32_t kStartCursorID = 169;

Ref<MouseCursor> Load(Ref<MouseCursor>& permacursor, int32_t id)
{
    if (!permacursor) {
        Ref<ResourceFork> fork = App()->ResourceFork();
        permacursor = fork->GetCursor(id);
    }
    return permacursor;
}

Ref<MouseCursor> pointCursor, startCursor;

} // namespace

Ref<MouseCursor> PointCursor() { return Load(pointCursor, kPointCursorID); }
Ref<MouseCursor> StartCursor() { return Load(startCursor, kStartCursorID); }

void ReleaseCursorCaches()
{
    pointCursor = nullptr;
    startCursor = nullptr;
}

#include "offscreen/TargetSystemPict.h"

#include "offscreen/PictureCache.h"

using namespace fw;

Ref<Picture> TargetSystemPict()
{
    static PictureCache cache("TargetSystemPict.png");
    return cache.Get();
}

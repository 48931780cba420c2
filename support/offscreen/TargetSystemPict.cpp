#include "offscreen/TargetSystemPict.h"

#include <framework/ApplicationBundle.h>

using namespace fw;

namespace {
Ref<Picture> pic;
bool firstCallDone = false;
} // namespace

Ref<Picture> TargetSystemPict()
{
    if (!firstCallDone) {
        firstCallDone = true;
        pic = nullptr;
    }
    if (!pic) {
        Ref<FolderItem> resources = GetApplicationBundleResources();
        if (!resources)
            return pic;
        Ref<FolderItem> file = resources->Child("TargetSystemPict.png");
        pic = file->OpenAsPicture();
    }
    return pic;
}

#include "game/PictureResources.h"

#include <framework/ApplicationBundle.h>

using namespace fw;

namespace {

// The cache of one picture accessor.
struct PictureCache {
    Ref<Picture> pic;
    bool firstCallDone = false;
};

enum class WhiteIs { Opaque, Transparent };

Ref<Picture> Load(PictureCache& cache, const char* fileName, WhiteIs white)
{
    if (!cache.firstCallDone) {
        cache.firstCallDone = true;
        cache.pic = nullptr;
    }
    if (!cache.pic) {
        Ref<FolderItem> resources = GetApplicationBundleResources();
        if (!resources)
            return cache.pic;
        Ref<FolderItem> file = resources->Child(fileName);
        cache.pic = file->OpenAsPicture();
        // Once per loaded picture, so a caller may change it afterwards.
        if (cache.pic && white == WhiteIs::Transparent)
            cache.pic->Transparent(1);
    }
    return cache.pic;
}

PictureCache iconPict, tamberlynPict, markerPict, back0Pict, back1Pict, back2Pict, back3Pict, back4Pict, hitPict,
    nearPict;

} // namespace

Ref<Picture> IconPict() { return Load(iconPict, "IconPict.png", WhiteIs::Opaque); }
Ref<Picture> TamberlynPict() { return Load(tamberlynPict, "TamberlynPict.png", WhiteIs::Opaque); }
Ref<Picture> MarkerPict() { return Load(markerPict, "MarkerPict.png", WhiteIs::Transparent); }
Ref<Picture> Back0Pict() { return Load(back0Pict, "Back0Pict.png", WhiteIs::Opaque); }
Ref<Picture> Back1Pict() { return Load(back1Pict, "Back1Pict.png", WhiteIs::Opaque); }
Ref<Picture> Back2Pict() { return Load(back2Pict, "Back2Pict.png", WhiteIs::Opaque); }
Ref<Picture> Back3Pict() { return Load(back3Pict, "Back3Pict.png", WhiteIs::Opaque); }
Ref<Picture> Back4Pict() { return Load(back4Pict, "Back4Pict.png", WhiteIs::Opaque); }
Ref<Picture> HitPict() { return Load(hitPict, "HitPict.png", WhiteIs::Transparent); }
Ref<Picture> NearPict() { return Load(nearPict, "NearPict.png", WhiteIs::Transparent); }

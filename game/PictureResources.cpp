#include "game/PictureResources.h"

#include "offscreen/PictureCache.h"

using namespace fw;

namespace {
using WhiteIs = PictureCache::WhiteIs;
PictureCache iconPict("IconPict.png"), tamberlynPict("TamberlynPict.png"),
    markerPict("MarkerPict.png", WhiteIs::Transparent), back0Pict("Back0Pict.png"), back1Pict("Back1Pict.png"),
    back2Pict("Back2Pict.png"), back3Pict("Back3Pict.png"), back4Pict("Back4Pict.png"),
    hitPict("HitPict.png", WhiteIs::Transparent), nearPict("NearPict.png", WhiteIs::Transparent);
} // namespace

Ref<Picture> IconPict() { return iconPict.Get(); }
Ref<Picture> TamberlynPict() { return tamberlynPict.Get(); }
Ref<Picture> MarkerPict() { return markerPict.Get(); }
Ref<Picture> Back0Pict() { return back0Pict.Get(); }
Ref<Picture> Back1Pict() { return back1Pict.Get(); }
Ref<Picture> Back2Pict() { return back2Pict.Get(); }
Ref<Picture> Back3Pict() { return back3Pict.Get(); }
Ref<Picture> Back4Pict() { return back4Pict.Get(); }
Ref<Picture> HitPict() { return hitPict.Get(); }
Ref<Picture> NearPict() { return nearPict.Get(); }

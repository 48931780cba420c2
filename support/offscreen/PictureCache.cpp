#include "offscreen/PictureCache.h"

#include <framework/ApplicationBundle.h>

using namespace fw;

PictureCache::PictureCache(const char* fileName, WhiteIs white)
    : fileName_(fileName)
    , white_(white)
{
}

Ref<Picture> PictureCache::Get()
{
    if (!pic_) {
        Ref<FolderItem> resources = GetApplicationBundleResources();
        if (!resources)
            return pic_;
        Ref<FolderItem> file = resources->Child(fileName_);
        pic_ = file->OpenAsPicture();
        if (pic_ && white_ == WhiteIs::Transparent)
            pic_->Transparent(1);
    }
    return pic_;
}

#pragma once

#include <framework/Picture.h>

// The cache of one picture accessor: the PNG file of that name in the
// bundle's Resources folder, read on the first call that finds the cache
// empty and kept for the rest of the run; nil while it cannot be read, and
// tried again at the next call. A picture whose white is transparent gets
// Transparent 1 once, right after it loads, so a caller may change it.
class PictureCache {
public:
    enum class WhiteIs { Opaque, Transparent };

    explicit PictureCache(const char* fileName, WhiteIs white = WhiteIs::Opaque);

    fw::Ref<fw::Picture> Get();

private:
    const char* fileName_;
    WhiteIs white_;
    fw::Ref<fw::Picture> pic_;
};

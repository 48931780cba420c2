#pragma once

#include <framework/FolderItem.h>
#include <framework/MemoryBlock.h>
#include <framework/Object.h>

#include <cstdint>
#include <string>

// Replaces the contents of one file, the base, so that a save cut short
// never leaves it half-written: the caller writes the new contents into the
// shadow file that RefShadowFile names, in a private temporary folder on the
// base's own file system, then CleanUp puts the shadow in the base's place
// (by exchanging the two files, else by one atomic rename over the base),
// with the base's permission bits, or Abort throws it away. CleanUp raises
// IOException, the base left as it was, when the base's permissions cannot
// be read (a link, FIFO or device at its name included) or given to the
// shadow.
//
// One object serves one replacement: construct, RefShadowFile, write it,
// then CleanUp or Abort. The constructor makes the shadow, empty, under the
// first free name, so two saves at once never share one; it first removes
// the shadows of the same stem that saves cut short left behind (a live
// save holds its own, see FolderItem::Reserve). Where no shadow can be had
// (status -2 or -3) RefShadowFile answers the base itself, which the
// caller then writes through a stream: that writes a new file beside the
// base and renames it over the base, never empties it in place.
class ShadowFiler : public fw::Object {
public:
    explicit ShadowFiler(const fw::Ref<fw::FolderItem>& base);
    ~ShadowFiler() override;

    static const fw::ClassRecord& Record();
    const fw::ClassRecord& ClassInfo() const override;

    virtual std::string VersionInfo();
    virtual fw::Ref<fw::FolderItem> RefShadowFile();
    virtual bool RefShadowAvail();
    virtual void CleanUp();
    virtual void Abort();
    // 1 ready, 0 nothing to do (a folder), -2 no temporary folder, -3 no
    // free shadow name, 2 committed, 3 aborted.
    virtual int32_t RefStatus();

    // The counter of the last shadow name tried.
    static constexpr int32_t kLastCounter = 900001;

protected:
    virtual bool TbExchangeFiles(const fw::Ref<fw::FolderItem>& first, const fw::Ref<fw::FolderItem>& second);

    fw::Ref<fw::FolderItem> ItsBaseFile;
    fw::Ref<fw::FolderItem> ItsShadowFile;
    bool IsShadowAvail = false;
    int32_t ItsStatus = 0;
    fw::Ref<fw::MemoryBlock> TheFSSP1;
    fw::Ref<fw::MemoryBlock> TheFSSP2;
    bool IsFsspAvail = false;

private:
    static void RemoveStaleShadows(const fw::Ref<fw::FolderItem>& temporary, const std::string& stem);
    static void FillSpec(fw::MemoryBlock& spec, const fw::Ref<fw::FolderItem>& item);
};

#include "prefs/ShadowFiler.h"

#include <carbon/Files.h>

#include <framework/Runtime.h>
#include <framework/Text.h>

using namespace fw;

namespace {
// The longest stem that the shadow name keeps of the base's name, in bytes.
const int32_t kStemBytes = 25;
const int32_t kSpecSize = 70;
}

void ShadowFiler::RemoveStaleShadows(const Ref<FolderItem>& temporary, const std::string& stem)
{
    // A save cut short leaves its shadow behind. A shadow that a live save
    // is writing is held, and Delete leaves it alone.
    for (const std::string& name : temporary->ChildNames()) {
        if (LenB(name) != LenB(stem) + 6 || LeftB(name, LenB(stem)) != stem)
            continue;
        std::string counter = RightB(name, 6);
        if (counter.find_first_not_of("0123456789") == std::string::npos)
            temporary->Child(name)->Delete();
        YieldToBackground();
    }
}

ShadowFiler::ShadowFiler(const Ref<FolderItem>& base)
{
    if (!base)
        ThrowNil();
    if (base->Directory()) {
        ItsBaseFile = nullptr;
        ItsShadowFile = nullptr;
        IsShadowAvail = false;
        ItsStatus = 0;
    } else {
        ItsBaseFile = base;
        Ref<FolderItem> temporary = base->TemporaryFolder();
        if (!temporary) {
            ItsShadowFile = nullptr;
            IsShadowAvail = false;
            ItsStatus = -2;
        } else {
            // Cut by whole characters until the stem fits its bytes.
            std::string stem = base->Name();
            while (LenB(stem) > kStemBytes) {
                stem = Left(stem, Len(stem) - 1);
                YieldToBackground();
            }
            RemoveStaleShadows(temporary, stem);
            // Each save makes a shadow of its own: a name is taken by making
            // the file there, never by finding it free.
            bool reserved = false;
            for (int32_t n = 1; !reserved && n <= kLastCounter; ++n) {
                ItsShadowFile = temporary->Child(stem + Format(n, "000000"));
                reserved = ItsShadowFile->Reserve();
                YieldToBackground();
            }
            if (!reserved) {
                ItsShadowFile = nullptr;
                IsShadowAvail = false;
                ItsStatus = -3;
            } else {
                IsShadowAvail = true;
                ItsStatus = 1;
            }
        }
    }
    // The two records are made whenever a shadow is used, so the exchange is
    // always tried.
    if (IsShadowAvail) {
        TheFSSP1 = New<MemoryBlock>(kSpecSize);
        TheFSSP2 = New<MemoryBlock>(kSpecSize);
    }
    IsFsspAvail = IsShadowAvail;
}

ShadowFiler::~ShadowFiler() = default;

const ClassRecord& ShadowFiler::Record()
{
    static const ClassRecord record { "ShadowFiler", &Object::Record(),
        {
            Property("ItsBaseFile", &ShadowFiler::ItsBaseFile),
            Property("ItsShadowFile", &ShadowFiler::ItsShadowFile),
            Property("IsShadowAvail", &ShadowFiler::IsShadowAvail),
            Property("ItsStatus", &ShadowFiler::ItsStatus),
            Property("TheFSSP1", &ShadowFiler::TheFSSP1),
            Property("TheFSSP2", &ShadowFiler::TheFSSP2),
            Property("IsFsspAvail", &ShadowFiler::IsFsspAvail),
        },
        {
            Constructor<ShadowFiler, const Ref<FolderItem>&>(),
            Method("VersionInfo", &ShadowFiler::VersionInfo),
            Method("RefShadowFile", &ShadowFiler::RefShadowFile),
            Method("RefShadowAvail", &ShadowFiler::RefShadowAvail),
            Method("CleanUp", &ShadowFiler::CleanUp),
            Method("TbExchangeFiles", &ShadowFiler::TbExchangeFiles, Scope::Protected),
            Method("Abort", &ShadowFiler::Abort),
            Method("RefStatus", &ShadowFiler::RefStatus),
        },
        {} };
    return record;
}

const ClassRecord& ShadowFiler::ClassInfo() const { return Record(); }

std::string ShadowFiler::VersionInfo() { return "2011-11-25,1"; }

Ref<FolderItem> ShadowFiler::RefShadowFile() { return IsShadowAvail ? ItsShadowFile : ItsBaseFile; }

bool ShadowFiler::RefShadowAvail() { return IsShadowAvail; }

void ShadowFiler::CleanUp()
{
    if (IsShadowAvail && ItsShadowFile->Exists()) {
        if (!ItsBaseFile->Exists()) {
            ItsShadowFile->MoveFileTo(ItsBaseFile);
        } else {
            // The new contents keep the old file's permissions, so a file the
            // user made private stays private, exchanged or renamed over.
            ItsShadowFile->Permissions(ItsBaseFile->Permissions());
            if (TbExchangeFiles(ItsBaseFile, ItsShadowFile)) {
                // The shadow's name now holds the old contents.
                ItsShadowFile->Delete();
            } else {
                // One rename over the base: it holds the old contents or the
                // new ones at every instant, and a failed move leaves it as it
                // was.
                ItsShadowFile->MoveFileTo(ItsBaseFile);
            }
        }
    }
    ItsBaseFile = nullptr;
    ItsShadowFile = nullptr;
    IsShadowAvail = false;
    ItsStatus = 2;
}

void ShadowFiler::FillSpec(MemoryBlock& spec, const Ref<FolderItem>& item)
{
    spec.Short(0, item->MacVRefNum());
    spec.Long(2, item->MacDirID());
    spec.PString(6, LeftB(ConvertEncoding(item->Name(), Encodings::MacJapanese), 63));
}

bool ShadowFiler::TbExchangeFiles(const Ref<FolderItem>& first, const Ref<FolderItem>& second)
{
    FillSpec(*TheFSSP1, first);
    FillSpec(*TheFSSP2, second);
    auto* spec1 = static_cast<const FSSpec*>(TheFSSP1->Ptr());
    auto* spec2 = static_cast<const FSSpec*>(TheFSSP2->Ptr());
    // A record can name another file than the item: a name cut at 63 bytes,
    // or one that MacJapanese cannot hold. Exchanging with that file would
    // destroy it, so such records take the rename instead.
    std::string path1, path2;
    if (FSpMakePath(spec1, path1) != noErr || path1 != first->NativePath() || FSpMakePath(spec2, path2) != noErr
        || path2 != second->NativePath())
        return false;
    return FSpExchangeFiles(spec1, spec2) == noErr;
}

void ShadowFiler::Abort()
{
    if (IsShadowAvail && ItsShadowFile->Exists())
        ItsShadowFile->Delete();
    ItsBaseFile = nullptr;
    ItsShadowFile = nullptr;
    IsShadowAvail = false;
    ItsStatus = 3;
}

int32_t ShadowFiler::RefStatus() { return ItsStatus; }

#include "prefs/ApplPreferences.h"

#include "prefs/ShadowFiler.h"

#include <framework/Exceptions.h>
#include <framework/Numbers.h>
#include <framework/Runtime.h>
#include <framework/SpecialFolder.h>
#include <framework/Text.h>
#include <framework/TextInputStream.h>
#include <framework/TextOutputStream.h>

#include <cerrno>
#include <string>

using namespace fw;

namespace {
const char kMark[] = "00";
const char kType[] = "PREF";
// Far more than any application's settings. A larger file is not one this
// store wrote (it writes none), and read whole it could take all the memory
// there is.
const int64_t kMaxFileBytes = 1048576;

// `is` says whether the file is that large or would be.
[[noreturn]] void RaiseTooLarge(const Ref<FolderItem>& f, const std::string& is, int64_t size)
{
    throw IOException("the settings file " + f->NativePath() + " " + is + " " + std::to_string(size)
            + " bytes, more than the " + std::to_string(kMaxFileBytes) + " a settings file may have",
        EFBIG);
}

}

ApplPreferences::ApplPreferences(const std::string& name, const std::string& creator)
{
    FileName = name;
    FileCreator = creator;
    ItsData = "";
    SavedData = "";
}

ApplPreferences::~ApplPreferences() = default;

const ClassRecord& ApplPreferences::Record()
{
    static const ClassRecord record { "ApplPreferences", &Object::Record(),
        {
            Property("FileName", &ApplPreferences::FileName),
            Property("FileCreator", &ApplPreferences::FileCreator),
            Property("ItsData", &ApplPreferences::ItsData),
            Property("SavedData", &ApplPreferences::SavedData),
            Property("SaveMode", &ApplPreferences::SaveMode),
        },
        {
            Constructor<ApplPreferences, const std::string&, const std::string&>(),
            Method("Save", &ApplPreferences::Save),
            Method("Restore", &ApplPreferences::Restore),
            Method("MacRestore", &ApplPreferences::MacRestore, Scope::Protected),
            Method("MacSave", &ApplPreferences::MacSave, Scope::Protected),
            Method("SetData", &ApplPreferences::SetData),
            Method("GetData", &ApplPreferences::GetData),
            Method("MacFileMake", &ApplPreferences::MacFileMake, Scope::Protected),
            Method("VersionInfo", &ApplPreferences::VersionInfo),
            Method("WinFileMake", &ApplPreferences::WinFileMake, Scope::Protected),
            Method("WinSave", &ApplPreferences::WinSave, Scope::Protected),
            Method("WinRestore", &ApplPreferences::WinRestore, Scope::Protected),
            Method("GetPartData", &ApplPreferences::GetPartData),
            Method("SetPartData", &ApplPreferences::SetPartData),
            Method("DefaultData", &ApplPreferences::DefaultData),
            Method("SetPartInteger", &ApplPreferences::SetPartInteger),
            Method("GetPartInteger", &ApplPreferences::GetPartInteger),
            Method("SetPartBoolean", &ApplPreferences::SetPartBoolean),
            Method("GetPartBoolean", &ApplPreferences::GetPartBoolean),
            Method("GetTailData", &ApplPreferences::GetTailData),
            Method("SetTailData", &ApplPreferences::SetTailData),
            Method("GetPartColor", &ApplPreferences::GetPartColor),
            Method("SetPartColor", &ApplPreferences::SetPartColor),
            Method("SetSaveMode", &ApplPreferences::SetSaveMode),
        },
        {} };
    return record;
}

const ClassRecord& ApplPreferences::ClassInfo() const { return Record(); }

void ApplPreferences::Save()
{
    if (StrComp(ItsData, SavedData, 0) != 0 || SaveMode > 0)
        MacSave();
}

void ApplPreferences::Restore()
{
    ItsData = "";
    MacRestore();
    SavedData = ItsData;
}

void ApplPreferences::MacRestore()
{
    Ref<FolderItem> f = MacFileMake(false);
    if (!f) {
        ItsData = "";
        return;
    }
    Ref<TextInputStream> in = TextInputStream::Open(f);
    if (int64_t size = in->Length(); size > kMaxFileBytes)
        RaiseTooLarge(f, "is", size);
    ItsData = in->ReadAll();
    in->Close();
    if (LenB(ItsData) < 3)
        ItsData = "";
    else if (LeftB(ItsData, 2) != kMark)
        ItsData = "";
    else
        ItsData = MidB(ItsData, 3);
}

void ApplPreferences::MacSave()
{
    // With create True the search answers the store's file or a free name,
    // never nil.
    Ref<FolderItem> f = MacFileMake(true);
    // What the next Restore would refuse is never written: checked before
    // a shadow is made, so the old file stays as it is.
    if (const int64_t size = static_cast<int64_t>(sizeof kMark - 1 + ItsData.size()); size > kMaxFileBytes)
        RaiseTooLarge(f, "would be", size);
    Ref<ShadowFiler> shadow = New<ShadowFiler>(f);
    Ref<FolderItem> g = shadow->RefShadowFile();
    Ref<TextOutputStream> out = TextOutputStream::Create(g);
    out->Write(kMark);
    out->Write(ItsData);
    out->Close();
    g->MacCreator(FileCreator);
    g->MacType(kType);
    shadow->CleanUp();
}

void ApplPreferences::SetData(const std::string& data) { ItsData = data; }

std::string ApplPreferences::GetData() { return ItsData; }

Ref<FolderItem> ApplPreferences::MacFileMake(bool create)
{
    Ref<FolderItem> folder = SpecialFolder::Preferences();
    for (int64_t n = 0;; ++n) {
        Ref<FolderItem> f = folder->Child(n == 0 ? FileName : FileName + "_" + Str(n));
        if (!f->Exists())
            return create ? f : nullptr;
        if (f->MacCreator() == FileCreator && f->MacType() == kType)
            return f;
        YieldToBackground();
    }
}

std::string ApplPreferences::VersionInfo() { return "2011-12-04,1"; }

Ref<FolderItem> ApplPreferences::WinFileMake(bool create)
{
    (void)create;
    return nullptr;
}

void ApplPreferences::WinSave() {}

void ApplPreferences::WinRestore() {}

std::string ApplPreferences::GetPartData(int32_t start, int32_t length) { return MidB(ItsData, start, length); }

void ApplPreferences::SetPartData(const std::string& data, int32_t start)
{
    // Widened: a start near the end of the Int32 range must not wrap.
    if (static_cast<int64_t>(start) - 1 + LenB(data) <= LenB(ItsData))
        ItsData = LeftB(ItsData, start - 1) + data + MidB(ItsData, start + LenB(data));
}

bool ApplPreferences::DefaultData(const std::string& templ)
{
    if (LenB(templ) > LenB(ItsData)) {
        ItsData = ItsData + MidB(templ, LenB(ItsData) + 1);
        return true;
    }
    return false;
}

void ApplPreferences::SetPartInteger(int32_t value, int32_t start, int32_t width)
{
    SetPartData(RightB(Format(value, "0000000000"), width), start);
}

int32_t ApplPreferences::GetPartInteger(int32_t start, int32_t width) { return ToInt32(Val(GetPartData(start, width))); }

void ApplPreferences::SetPartBoolean(bool value, int32_t start) { SetPartData(value ? "1" : "0", start); }

bool ApplPreferences::GetPartBoolean(int32_t start) { return GetPartData(start, 1) != "0"; }

std::string ApplPreferences::GetTailData(int32_t start) { return MidB(ItsData, start); }

void ApplPreferences::SetTailData(const std::string& data, int32_t start)
{
    if (static_cast<int64_t>(start) - 1 <= LenB(ItsData))
        ItsData = LeftB(ItsData, start - 1) + data;
}

Color ApplPreferences::GetPartColor(int32_t start)
{
    std::string rgb = GetPartData(start, 6);
    if (LenB(rgb) < 6)
        return RGB(0, 0, 0);
    int32_t red = ToInt32(Val("&H" + MidB(rgb, 1, 2)));
    int32_t green = ToInt32(Val("&H" + MidB(rgb, 3, 2)));
    int32_t blue = ToInt32(Val("&H" + MidB(rgb, 5, 2)));
    return RGB(red, green, blue);
}

void ApplPreferences::SetPartColor(Color value, int32_t start)
{
    int32_t red = static_cast<int32_t>(value.Value >> 16) & 255;
    int32_t green = static_cast<int32_t>(value.Value >> 8) & 255;
    int32_t blue = static_cast<int32_t>(value.Value) & 255;
    SetPartData(RightB("00" + Hex(red), 2) + RightB("00" + Hex(green), 2) + RightB("00" + Hex(blue), 2), start);
}

void ApplPreferences::SetSaveMode(int32_t mode) { SaveMode = mode; }

#pragma once

#include <framework/Color.h>
#include <framework/FolderItem.h>
#include <framework/Object.h>

#include <cstdint>
#include <string>

// An application's settings as one string addressed by 1-based byte
// positions, kept in a settings file in the user's Preferences folder: the
// format mark "00" followed by the string's bytes, Mac type "PREF" and the
// creator given. Saving goes through a ShadowFiler, so an interrupted save
// leaves the old file whole. A settings file holds at most 1 MiB: Save
// raises IOException (EFBIG) before it makes or moves anything when the
// file would be larger, and Restore raises the same for a larger file
// found there, leaving it as it is.
//
// The part setters never change the string's length: a part can only be
// written once the string reaches that far. DefaultData, SetTailData,
// SetData and Restore change it.
class ApplPreferences : public fw::Object {
public:
    ApplPreferences(const std::string& name, const std::string& creator);
    ~ApplPreferences() override;

    static const fw::ClassRecord& Record();
    const fw::ClassRecord& ClassInfo() const override;

    // Writes the file when the settings differ from what was read, or
    // always while the save mode is above 0.
    virtual void Save();
    virtual void Restore();
    virtual void SetData(const std::string& data);
    virtual std::string GetData();
    virtual std::string VersionInfo();
    virtual std::string GetPartData(int32_t start, int32_t length);
    virtual void SetPartData(const std::string& data, int32_t start);
    // Appends what the template has beyond the settings' length; True when
    // it did.
    virtual bool DefaultData(const std::string& templ);
    virtual void SetPartInteger(int32_t value, int32_t start, int32_t width);
    virtual int32_t GetPartInteger(int32_t start, int32_t width);
    virtual void SetPartBoolean(bool value, int32_t start);
    virtual bool GetPartBoolean(int32_t start);
    virtual std::string GetTailData(int32_t start);
    virtual void SetTailData(const std::string& data, int32_t start);
    virtual fw::Color GetPartColor(int32_t start);
    virtual void SetPartColor(fw::Color value, int32_t start);
    virtual void SetSaveMode(int32_t mode);

protected:
    virtual void MacRestore();
    virtual void MacSave();
    // The settings file, looked for under the name, then the name followed
    // by "_1", "_2", ..., up to the first name that nothing has: the first
    // file there of this store's (type "PREF" and the creator), else (create
    // True) that free name, else nil. A file of the store's after a free
    // name is not found. Raises IOException when a name cannot be looked at
    // (a Preferences folder the user may not search).
    virtual fw::Ref<fw::FolderItem> MacFileMake(bool create);
    // Another platform's file handling; nothing here.
    virtual fw::Ref<fw::FolderItem> WinFileMake(bool create);
    virtual void WinSave();
    virtual void WinRestore();

    std::string FileName;
    std::string FileCreator;
    std::string ItsData;
    std::string SavedData;
    int32_t SaveMode = 0;
};

#pragma once

#include <framework/FileType.h>

// The file types the application registers with the framework: the settings
// file's, PrefsData.
namespace FileTypes {

// The settings file's type, from start-up until the release at exit.
extern fw::Ref<fw::FileType> pPrefsData;

// Makes PrefsData (type "PREF", creator "HRMN", no extension) and registers
// it.
void Initialize();

} // namespace FileTypes

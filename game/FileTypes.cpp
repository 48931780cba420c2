#include "game/FileTypes.h"

namespace FileTypes {

fw::Ref<fw::FileType> pPrefsData;

void Initialize()
{
    pPrefsData = fw::New<fw::FileType>();
    pPrefsData->Name("PrefsData");
    pPrefsData->Extensions("");
    pPrefsData->MacType("PREF");
    pPrefsData->MacCreator("HRMN");
    // Every setter withdraws a registration, so the String is taken last.
    (void)static_cast<std::string>(*pPrefsData);
}

} // namespace FileTypes

#pragma once

#include <cstdint>
#include <string>

// The platform's file record and its exchange call. The record names a file
// by volume reference number, parent folder ID and a length-prefixed name
// in MacJapanese; the numbers are those of carbon/FileIDs.h.

using OSErr = int16_t;

enum : OSErr {
    noErr = 0,
    ioErr = -36,
    bdNamErr = -37,
    fnfErr = -43,
    wPrErr = -44,
    paramErr = -50,
    permErr = -54,
    nsvErr = -35,
    dirNFErr = -120,
    wrgVolTypErr = -123,
    notAFileErr = -1302,
    diffVolErr = -1303,
};

#pragma pack(push, 2)
struct FSSpec {
    int16_t vRefNum;        // offset 0
    int32_t parID;          // offset 2
    unsigned char name[64]; // offset 6: length byte, then at most 63 bytes
};
#pragma pack(pop)
static_assert(sizeof(FSSpec) == 70, "the record is 70 bytes");

extern "C" {

// Exchanges the contents of two files on one volume, each given by its
// record. noErr: the first record's name now holds what the second held and
// the other way round; type and creator go with the contents. Any other
// result: nothing was exchanged.
OSErr FSpExchangeFiles(const FSSpec* source, const FSSpec* destination);

} // extern "C"

// The path a record names (noErr), whether or not a file of that name
// exists; an error when its volume, folder or name does not resolve (a name
// that is not whole MacJapanese, for instance one cut inside a character,
// gives fnfErr).
OSErr FSpMakePath(const FSSpec* spec, std::string& path);

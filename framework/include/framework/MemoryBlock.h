#pragma once

#include <framework/Object.h>

#include <cstdint>
#include <string>
#include <vector>

namespace fw {

// A block of raw bytes read and written at byte offsets in the processor's
// byte order. Accesses outside the block raise OutOfBoundsException.
class MemoryBlock : public Object {
public:
    explicit MemoryBlock(int32_t size);

    static const ClassRecord& Record();
    const ClassRecord& ClassInfo() const override;

    int32_t Size() const;

    int16_t Short(int32_t offset) const;
    void Short(int32_t offset, int16_t value);
    int32_t Long(int32_t offset) const;
    void Long(int32_t offset, int32_t value);
    // A length byte followed by the bytes; writes at most 255 of them.
    std::string PString(int32_t offset) const;
    void PString(int32_t offset, const std::string& value);
    uint8_t Byte(int32_t offset) const;

    void* Ptr();
    const void* Ptr() const;

private:
    void Check(int32_t offset, int32_t width) const;
    std::vector<uint8_t> bytes_;
};

} // namespace fw

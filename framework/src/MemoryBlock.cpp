#include <framework/MemoryBlock.h>

#include <algorithm>
#include <cstring>

namespace fw {

MemoryBlock::MemoryBlock(int32_t size)
    : bytes_(static_cast<size_t>(std::max(size, 0)), 0)
{
}

const ClassRecord& MemoryBlock::Record()
{
    static const ClassRecord record { "MemoryBlock", &Object::Record(), {},
        { Method<int16_t(int32_t) const>("Short", &MemoryBlock::Short),
            Method<int32_t(int32_t) const>("Long", &MemoryBlock::Long),
            Method<std::string(int32_t) const>("PString", &MemoryBlock::PString), Method("Size", &MemoryBlock::Size) },
        {} };
    return record;
}

const ClassRecord& MemoryBlock::ClassInfo() const { return Record(); }

int32_t MemoryBlock::Size() const { return static_cast<int32_t>(bytes_.size()); }

void MemoryBlock::Check(int32_t offset, int32_t width) const
{
    if (offset < 0 || width < 0 || static_cast<int64_t>(offset) + width > static_cast<int64_t>(bytes_.size()))
        throw OutOfBoundsException("offset " + std::to_string(offset) + " is outside the memory block");
}

int16_t MemoryBlock::Short(int32_t offset) const
{
    Check(offset, 2);
    int16_t v;
    std::memcpy(&v, bytes_.data() + offset, 2);
    return v;
}

void MemoryBlock::Short(int32_t offset, int16_t value)
{
    Check(offset, 2);
    std::memcpy(bytes_.data() + offset, &value, 2);
}

int32_t MemoryBlock::Long(int32_t offset) const
{
    Check(offset, 4);
    int32_t v;
    std::memcpy(&v, bytes_.data() + offset, 4);
    return v;
}

void MemoryBlock::Long(int32_t offset, int32_t value)
{
    Check(offset, 4);
    std::memcpy(bytes_.data() + offset, &value, 4);
}

std::string MemoryBlock::PString(int32_t offset) const
{
    Check(offset, 1);
    int32_t n = bytes_[static_cast<size_t>(offset)];
    Check(offset + 1, n);
    return std::string(reinterpret_cast<const char*>(bytes_.data()) + offset + 1, static_cast<size_t>(n));
}

void MemoryBlock::PString(int32_t offset, const std::string& value)
{
    int32_t n = static_cast<int32_t>(std::min<size_t>(value.size(), 255));
    Check(offset, 1 + n);
    bytes_[static_cast<size_t>(offset)] = static_cast<uint8_t>(n);
    std::memcpy(bytes_.data() + offset + 1, value.data(), static_cast<size_t>(n));
}

uint8_t MemoryBlock::Byte(int32_t offset) const
{
    Check(offset, 1);
    return bytes_[static_cast<size_t>(offset)];
}

void* MemoryBlock::Ptr() { return bytes_.data(); }
const void* MemoryBlock::Ptr() const { return bytes_.data(); }

} // namespace fw

#include "common/TestSupport.h"

#include <framework/FolderItem.h>
#include <framework/Graphics.h>

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>

namespace test {

namespace {
bool Capabilities(__user_cap_data_struct (&data)[2], long call)
{
    __user_cap_header_struct header { _LINUX_CAPABILITY_VERSION_3, 0 };
    return syscall(call, &header, data) == 0;
}
} // namespace

PermissionBitsApply::PermissionBitsApply()
{
    __user_cap_data_struct data[2] {};
    if (!Capabilities(data, SYS_capget))
        why = std::string("cannot read the capabilities: ") + std::strerror(errno);
    saved_ = data[0].effective;
    data[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
    if (why.empty() && !Capabilities(data, SYS_capset))
        why = std::string("cannot set the capabilities aside: ") + std::strerror(errno);
}

PermissionBitsApply::~PermissionBitsApply()
{
    __user_cap_data_struct data[2] {};
    if (why.empty() && Capabilities(data, SYS_capget)) {
        data[0].effective = saved_;
        Capabilities(data, SYS_capset);
    }
}

void EmptyPreferencesAndTemporaryFolders()
{
    for (const std::filesystem::path& p : { Home() / ".config", Home() / "tmp" }) {
        std::filesystem::remove_all(p);
        std::filesystem::create_directories(p);
    }
}

std::string Record(fw::RecordKind kind, const std::map<std::string, fw::Value>& values)
{
    fw::RecordWriter w(kind);
    size_t used = 0;
    for (const std::string& key : fw::RecordWriter::Keys(kind)) {
        auto it = values.find(key);
        used += it != values.end();
        fw::PropertyType type = fw::RecordWriter::ClassOf(kind).FindProperty(key)->Type;
        fw::Value v = it != values.end() ? it->second
            : type == fw::PropertyType::Int32 ? fw::Value(0)
            : type == fw::PropertyType::Boolean ? fw::Value(false)
            : type == fw::PropertyType::String ? fw::Value(std::string())
                                               : fw::Value(fw::Color {});
        std::visit([&](const auto& x) {
            if constexpr (requires { w.Set(key, x); })
                w.Set(key, x);
        }, v);
    }
    if (used != values.size())
        throw fw::RuntimeException("a value for a key that the kind does not have");
    return w.Bytes();
}

std::string ReadFile(const std::filesystem::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFile(const std::filesystem::path& p, const std::string& bytes)
{
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

size_t Entries(const std::filesystem::path& folder)
{
    std::error_code ec;
    return static_cast<size_t>(std::distance(std::filesystem::directory_iterator(folder, ec), {}));
}

std::string TypeAndCreator(const std::filesystem::path& p)
{
    auto f = fw::New<fw::FolderItem>(p.string());
    return f->MacType() + f->MacCreator();
}

uint32_t PixelAt(const fw::Ref<fw::Picture>& picture, int32_t x, int32_t y)
{
    return picture->Graphics()->Pixel(x, y).Value;
}

int32_t CountColor(const fw::Ref<fw::Picture>& picture, uint32_t rgb, int32_t x, int32_t y, int32_t w, int32_t h)
{
    fw::Ref<fw::Graphics> g = picture->Graphics();
    int32_t n = 0;
    for (int32_t j = y; j < y + h; ++j)
        for (int32_t i = x; i < x + w; ++i)
            if (g->Pixel(i, j).Value == rgb)
                ++n;
    return n;
}

} // namespace test

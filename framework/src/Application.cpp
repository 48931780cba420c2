#include <framework/Application.h>
#include <framework/ApplicationBundle.h>
#include <framework/FolderItem.h>
#include <framework/ResourceFork.h>

namespace fw {

namespace {
Ref<Application>& AppObject()
{
    static Ref<Application> app;
    return app;
}
} // namespace

Application::Application() = default;
Application::~Application() = default;

const ClassRecord& Application::Record()
{
    static const ClassRecord record { "Application", &Object::Record(), {},
        { { "ResourceFork", "() As ResourceFork" } }, {} };
    return record;
}

const ClassRecord& Application::ClassInfo() const { return Record(); }

const std::string& Application::ResourceFileName()
{
    static const std::string name = "horomine.rsrc";
    return name;
}

Ref<fw::ResourceFork> Application::ResourceFork() const
{
    // Read on each call: the callers ask only until they have what they
    // need, and a file put in place during the run is found.
    Ref<fw::ResourceFork> fork;
    if (Ref<FolderItem> resources = GetApplicationBundleResources())
        fork = fw::ResourceFork::Open(resources->Child(ResourceFileName()));
    if (!fork)
        fork = New<fw::ResourceFork>(std::vector<fw::ResourceFork::Entry> {}, std::vector<uint8_t> {});
    return fork;
}

void RuntimeRegisterAppObject(const Ref<Application>& app) { AppObject() = app; }

Ref<Application> GetAppObject() { return AppObject(); }

} // namespace fw

#pragma once

#include <framework/Object.h>

#include <string>

namespace fw {

class ResourceFork;

// The program's application object: one per run, registered at start-up and
// reached from anywhere through GetAppObject.
class Application : public Object {
public:
    Application();
    ~Application() override;

    static const ClassRecord& Record();
    const ClassRecord& ClassInfo() const override;

    // The application's own resource file, read afresh on every call from
    // the bundle's Resources folder. An application whose file is missing
    // or damaged has an empty resource fork, never a nil one.
    Ref<fw::ResourceFork> ResourceFork() const;

    // The name of that file in the Resources folder.
    static const std::string& ResourceFileName();
};

// Makes the object the application object (nil withdraws it).
void RuntimeRegisterAppObject(const Ref<Application>& app);
// The registered application object, or nil before start-up registers one.
Ref<Application> GetAppObject();

} // namespace fw

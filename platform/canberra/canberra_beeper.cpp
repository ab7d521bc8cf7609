#include "canberra_beeper.h"

#include <canberra.h>
#include <dlfcn.h>

#include <utility>

namespace platform::canberra {
namespace {

// libcanberra is loaded when a beeper is first made, not linked: only a
// desktop whose own beep is silent needs it, and it pulls in the sound
// libraries, which would otherwise cost every start time and memory.
struct Library {
    int (*create)(ca_context**) = nullptr;
    int (*destroy)(ca_context*) = nullptr;
    int (*open)(ca_context*) = nullptr;
    int (*changeProps)(ca_context*, ...) = nullptr;
    int (*play)(ca_context*, std::uint32_t, ...) = nullptr;
    bool usable() const { return create && destroy && open && changeProps && play; }
};

template <typename Fn> void bind(Fn& fn, const char* name) {
    // The global scope, not the library's handle: what the program itself
    // defines comes first there.
    fn = reinterpret_cast<Fn>(::dlsym(RTLD_DEFAULT, name));
}

const Library& library() {
    static const Library lib = [] {
        ::dlopen("libcanberra.so.0", RTLD_NOW | RTLD_GLOBAL);
        Library l;
        bind(l.create, "ca_context_create");
        bind(l.destroy, "ca_context_destroy");
        bind(l.open, "ca_context_open");
        bind(l.changeProps, "ca_context_change_props");
        bind(l.play, "ca_context_play");
        return l;
    }();
    return lib;
}

} // namespace

CanberraBeeper::CanberraBeeper(std::string applicationId, std::string applicationName)
    : applicationId_(std::move(applicationId)), applicationName_(std::move(applicationName)) {
    // Connecting to the sound server now keeps that delay out of the first
    // switching command, which beeps before it writes the port.
    if (ensureContext())
        library().open(context_);
}

CanberraBeeper::~CanberraBeeper() {
    if (context_)
        library().destroy(context_);
}

bool CanberraBeeper::ensureContext() {
    if (context_)
        return true;
    const Library& ca = library();
    if (!ca.usable()) {
        lastResult_ = CA_ERROR_NOTAVAILABLE;
        return false;
    }
    ca_context* context = nullptr;
    lastResult_ = ca.create(&context);
    if (lastResult_ != CA_SUCCESS || !context)
        return false;
    context_ = context;
    ca.changeProps(context_, CA_PROP_APPLICATION_ID, applicationId_.c_str(),
                   CA_PROP_APPLICATION_NAME, applicationName_.c_str(),
                   CA_PROP_APPLICATION_ICON_NAME, applicationId_.c_str(), nullptr);
    return true;
}

void CanberraBeeper::beep() {
    if (!ensureContext())
        return;
    for (const char* event : {windowSystemBell, plainBell}) {
        // "permanent" keeps the sample in the sound server after its first use.
        lastResult_ =
            library().play(context_, 0, CA_PROP_EVENT_ID, event, CA_PROP_EVENT_DESCRIPTION, "Beep",
                           CA_PROP_CANBERRA_CACHE_CONTROL, "permanent", nullptr);
        // Only a theme that lacks the sound is worth a second try; sounds
        // turned off, or no sound device, fail the same for every event.
        if (lastResult_ != CA_ERROR_NOTFOUND)
            return;
    }
}

} // namespace platform::canberra

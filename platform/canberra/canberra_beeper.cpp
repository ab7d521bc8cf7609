#include "canberra_beeper.h"

#include <canberra.h>
#include <utility>

namespace platform::canberra {

CanberraBeeper::CanberraBeeper(std::string applicationId, std::string applicationName)
    : applicationId_(std::move(applicationId)), applicationName_(std::move(applicationName)) {
    // Connecting to the sound server now keeps that delay out of the first
    // switching command, which beeps before it writes the port.
    if (ensureContext())
        ca_context_open(context_);
}

CanberraBeeper::~CanberraBeeper() {
    if (context_)
        ca_context_destroy(context_);
}

bool CanberraBeeper::ensureContext() {
    if (context_)
        return true;
    ca_context* context = nullptr;
    lastResult_ = ca_context_create(&context);
    if (lastResult_ != CA_SUCCESS || !context)
        return false;
    context_ = context;
    ca_context_change_props(context_, CA_PROP_APPLICATION_ID, applicationId_.c_str(),
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
            ca_context_play(context_, 0, CA_PROP_EVENT_ID, event, CA_PROP_EVENT_DESCRIPTION, "Beep",
                            CA_PROP_CANBERRA_CACHE_CONTROL, "permanent", nullptr);
        // Only a theme that lacks the sound is worth a second try; sounds
        // turned off, or no sound device, fail the same for every event.
        if (lastResult_ != CA_ERROR_NOTFOUND)
            return;
    }
}

} // namespace platform::canberra

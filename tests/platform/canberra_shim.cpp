// Stands in for libcanberra so that the real beeper code runs without a sound
// server or a sound card. As a shared library the test links before
// libcanberra, its ca_context_* functions are the ones found.
#include "canberra_shim.h"

#include <canberra.h>
#include <cstdarg>
#include <map>
#include <string>

struct ca_context {
    bool open = false;
};

namespace {

int createResult = CA_SUCCESS;
std::map<std::string, int> playResults;
std::map<std::string, std::string> lastPlay;
std::string callLog;
int liveContexts = 0;

void record(const std::string& call) {
    if (!callLog.empty())
        callLog += ' ';
    callLog += call;
}

// Reads a NULL-terminated list of key, value string pairs.
std::map<std::string, std::string> readProperties(va_list args) {
    std::map<std::string, std::string> properties;
    while (const char* key = va_arg(args, const char*)) {
        const char* value = va_arg(args, const char*);
        properties[key] = value ? value : "";
    }
    return properties;
}

} // namespace

extern "C" {

int ca_context_create(ca_context** context) {
    if (!context)
        return CA_ERROR_INVALID;
    if (createResult != CA_SUCCESS) {
        record("create!" + std::to_string(createResult));
        return createResult;
    }
    *context = new ca_context;
    ++liveContexts;
    record("create");
    return CA_SUCCESS;
}

int ca_context_open(ca_context* context) {
    if (!context)
        return CA_ERROR_INVALID;
    if (context->open)
        return CA_ERROR_STATE; // as the real one answers a second open
    context->open = true;
    record("open");
    return CA_SUCCESS;
}

int ca_context_destroy(ca_context* context) {
    if (!context)
        return CA_ERROR_INVALID;
    delete context;
    --liveContexts;
    record("destroy");
    return CA_SUCCESS;
}

int ca_context_change_props(ca_context* context, ...) {
    if (!context)
        return CA_ERROR_INVALID;
    va_list args;
    va_start(args, context);
    const auto properties = readProperties(args);
    va_end(args);
    std::string call = "props(";
    for (const auto& [key, value] : properties)
        call += (call.back() == '(' ? "" : " ") + key + "=" + value;
    record(call + ")");
    return CA_SUCCESS;
}

int ca_context_play(ca_context* context, uint32_t id, ...) {
    if (!context)
        return CA_ERROR_INVALID;
    va_list args;
    va_start(args, id);
    lastPlay = readProperties(args);
    va_end(args);
    if (!context->open) {
        // The real library opens a context on its first play.
        context->open = true;
        record("open");
    }
    const std::string event = lastPlay.count(CA_PROP_EVENT_ID) ? lastPlay[CA_PROP_EVENT_ID] : "";
    const auto set = playResults.find(event);
    const int result = set == playResults.end() ? CA_SUCCESS : set->second;
    record("play(" + event + ")" + (result == CA_SUCCESS ? "" : "!" + std::to_string(result)));
    return result;
}

void canberra_shim_reset(void) {
    createResult = CA_SUCCESS;
    playResults.clear();
    lastPlay.clear();
    callLog.clear();
    liveContexts = 0;
}
void canberra_shim_set_create_result(int result) {
    createResult = result;
}
void canberra_shim_set_play_result(const char* eventId, int result) {
    playResults[eventId] = result;
}
const char* canberra_shim_log(void) {
    return callLog.c_str();
}
void canberra_shim_clear_log(void) {
    callLog.clear();
}
const char* canberra_shim_last_play_property(const char* key) {
    const auto found = lastPlay.find(key);
    return found == lastPlay.end() ? "" : found->second.c_str();
}
int canberra_shim_live_contexts(void) {
    return liveContexts;
}

} // extern "C"

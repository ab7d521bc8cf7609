#pragma once
// Control side of the libcanberra stand-in (canberra_shim.cpp). Linked into a
// test before libcanberra, the shim takes over ca_context_create, _open,
// _change_props, _play and _destroy, plays nothing, and logs every call:
//   "create props(application.id=com.example.App application.name=App) open
//    play(bell-window-system) play(bell) destroy"
// A play answers with the result set for its event id (CA_SUCCESS unless set);
// a failed call reads e.g. "play(bell-window-system)!-9" (CA_ERROR_NOTFOUND).

#ifdef __cplusplus
extern "C" {
#endif

// No set results, an empty log, no contexts alive.
void canberra_shim_reset(void);
// What ca_context_create returns (CA_SUCCESS by default).
void canberra_shim_set_create_result(int result);
// What ca_context_play returns for this event id.
void canberra_shim_set_play_result(const char* eventId, int result);
const char* canberra_shim_log(void);
void canberra_shim_clear_log(void);
// The value the last play passed for this property, or "" when it passed none.
const char* canberra_shim_last_play_property(const char* key);
// Contexts created and not yet destroyed.
int canberra_shim_live_contexts(void);

#ifdef __cplusplus
}
#endif

// The process-wide login and the sessions open in the speech library, by id.
#pragma once

#include <memory>
#include <mutex>
#include <string_view>

#include "engines/speech/msc_errors.h"

namespace lumoset::msc {

// Base of both kinds of session. Calls on one session are serialised by its mutex.
class Session {
  public:
    virtual ~Session() = default;
    std::mutex mutex;
};

// Starts the login from its parameter string; returns an error code.
int login(const char* parameters);
void logout();
bool loggedIn();

// Registers a session under a fresh id starting with `kind`; the returned string lives until
// the session is removed.
const char* addSession(std::shared_ptr<Session> session, std::string_view kind);

// The open session of that id and kind; null for a null, unknown or ended id or another kind.
std::shared_ptr<Session> findSession(const char* id);
template <class Kind>
std::shared_ptr<Kind> findSessionOf(const char* id) {
    return std::dynamic_pointer_cast<Kind>(findSession(id));
}

// Forgets the session; false when there was none of that id. A call still running on it
// finishes on its own reference.
bool removeSession(const char* id);

// Ends an open session of that kind; returns an error code.
template <class Kind>
int endSessionOf(const char* id) {
    return findSessionOf<Kind>(id) && removeSession(id) ? MSC_OK : MSC_ERROR_INVALID_SESSION;
}

}  // namespace lumoset::msc

#include "engines/speech/sessions.h"

#include <unistd.h>

#include <map>
#include <string>

#include "engines/speech/msc_errors.h"
#include "engines/speech/parameters.h"

namespace lumoset::msc {

namespace {

std::mutex registryMutex;
bool loginActive = false;
unsigned long long sessionCounter = 0;
std::map<std::string, std::shared_ptr<Session>, std::less<>> sessions;

}  // namespace

int login(const char* parameters) {
    Parameters values;
    if (const int error = values.parse(parameters, {"appid"}); error != MSC_OK) {
        return error;
    }
    if (values["appid"].empty()) {
        return MSC_ERROR_MISSING_APPID;
    }
    std::lock_guard lock(registryMutex);
    loginActive = true;
    return MSC_OK;
}

void logout() {
    std::lock_guard lock(registryMutex);
    loginActive = false;
}

bool loggedIn() {
    std::lock_guard lock(registryMutex);
    return loginActive;
}

const char* addSession(std::shared_ptr<Session> session, std::string_view kind) {
    std::lock_guard lock(registryMutex);
    std::string id = std::string(kind) + "-" + std::to_string(::getpid()) + "-" +
                     std::to_string(++sessionCounter);
    auto [position, added] = sessions.emplace(std::move(id), std::move(session));
    return position->first.c_str();
}

std::shared_ptr<Session> findSession(const char* id) {
    if (id == nullptr) {
        return nullptr;
    }
    std::lock_guard lock(registryMutex);
    auto found = sessions.find(std::string_view(id));
    return found == sessions.end() ? nullptr : found->second;
}

bool removeSession(const char* id) {
    if (id == nullptr) {
        return false;
    }
    std::shared_ptr<Session> removed;
    std::lock_guard lock(registryMutex);
    auto found = sessions.find(std::string_view(id));
    if (found == sessions.end()) {
        return false;
    }
    removed = std::move(found->second);
    sessions.erase(found);
    return true;
}

}  // namespace lumoset::msc

#include "engines/speech/parameters.h"

#include <charconv>

#include "engines/speech/msc_errors.h"

namespace lumoset::msc {

namespace {

std::string_view trimSpaces(std::string_view text) {
    while (!text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
    while (!text.empty() && text.back() == ' ') {
        text.remove_suffix(1);
    }
    return text;
}

}  // namespace

std::string asciiLowerCopy(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return lower;
}

int Parameters::parse(const char* text, std::initializer_list<std::string_view> knownKeys) {
    values_.clear();
    std::string_view rest = text == nullptr ? std::string_view() : std::string_view(text);
    while (!rest.empty()) {
        const std::size_t comma = rest.find(',');
        const std::string_view part = rest.substr(0, comma);
        rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
        if (trimSpaces(part).empty()) {
            continue;
        }
        const std::size_t equals = part.find('=');
        if (equals == std::string_view::npos) {
            return MSC_ERROR_MALFORMED_PARAMETERS;
        }
        const std::string key = asciiLowerCopy(trimSpaces(part.substr(0, equals)));
        if (key.empty()) {
            return MSC_ERROR_MALFORMED_PARAMETERS;
        }
        bool known = false;
        for (std::string_view candidate : knownKeys) {
            known = known || candidate == key;
        }
        if (!known) {
            return MSC_ERROR_UNKNOWN_PARAMETER;
        }
        values_[key] = std::string(part.substr(equals + 1));
    }
    return MSC_OK;
}

std::string Parameters::operator[](std::string_view key) const {
    auto found = values_.find(key);
    return found == values_.end() ? std::string() : found->second;
}

bool parseInteger(std::string_view text, int minimum, int maximum, int& value) {
    if (text.empty() || text.front() < '0' || text.front() > '9') {
        return false;
    }
    int parsed = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), parsed);
    if (error != std::errc() || end != text.data() + text.size() || parsed < minimum ||
        parsed > maximum) {
        return false;
    }
    value = parsed;
    return true;
}

}  // namespace lumoset::msc

// Parameter strings of the speech library: "key=value" parts joined by commas.
#pragma once

#include <initializer_list>
#include <map>
#include <string>
#include <string_view>

namespace lumoset::msc {

// Keys in lower case, values as written. A key that is absent reads as empty.
class Parameters {
  public:
    // Parses `text` (null counts as empty) and checks every key against `knownKeys`. Returns
    // MSC_OK, MSC_ERROR_MALFORMED_PARAMETERS or MSC_ERROR_UNKNOWN_PARAMETER. A later
    // duplicate key replaces the earlier value.
    int parse(const char* text, std::initializer_list<std::string_view> knownKeys);

    std::string operator[](std::string_view key) const;

  private:
    std::map<std::string, std::string, std::less<>> values_;
};

std::string asciiLowerCopy(std::string_view text);

// A decimal integer in [minimum, maximum], nothing else (no sign, no spaces).
bool parseInteger(std::string_view text, int minimum, int maximum, int& value);

}  // namespace lumoset::msc

// Header texts that both page requests send when the caller names none of their own.
#pragma once

#include <string_view>

namespace lumoset {

inline constexpr std::string_view defaultAgent =
    "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1; ZARVO; .NET CLR 2.0.50727; "
    ".NET CLR 3.0.04506.648; .NET CLR 3.5.21022)";
inline constexpr std::string_view refererPrefix = "Referer: ";
inline constexpr std::string_view acceptLine = "Accept: */*";
inline constexpr std::string_view acceptLanguageLine = "Accept-Language: zh-cn";
inline constexpr std::string_view formContentTypeLine =
    "Content-Type: application/x-www-form-urlencoded";
inline constexpr std::string_view lineBreak = "\r\n";

}  // namespace lumoset

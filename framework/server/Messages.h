#pragma once
// The texts of the framework's server side that reach visitors, the log and error
// pages. Tests compare these literal strings; change them only together with the tests.
#include <string_view>

namespace orv::msg {

// Sessions.
inline constexpr std::string_view kSessionIdInvalid = "Session ID is invalid.";
inline constexpr std::string_view kSessionExpired = "Your session has expired due to inactivity.";
inline constexpr std::string_view kSessionTerminated = "Session was terminated.";
inline constexpr std::string_view kUnknownBrowser = "Unknown browser type. User Agent string: ";
inline constexpr std::string_view kAddSessionFailed = "Error while trying to add a new session: ";
inline constexpr std::string_view kSessionHoldsListLock =
    "This session already holds a lock in session list";
inline constexpr std::string_view kWrongListObject = "Wrong list object type.";
inline constexpr std::string_view kListHasNoLock =
    "The list instance does not contain lock information";
inline constexpr std::string_view kSessionTerminatedDefault = "This session has been terminated";
inline constexpr std::string_view kCookiesDisabled =
    "Cookies are disabled in your browser. Please enable cookie support and try to restart the "
    "application.";
inline constexpr std::string_view kDifferentIP =
    "The IP you are using is different than the one that initiated the session.";
inline constexpr std::string_view kDifferentUA =
    "The browser you are using is different than the one that initiated the session.";
inline constexpr std::string_view kMainFormNotDefined = "Application main form is not defined";

// Dispatch.
inline constexpr std::string_view kInvalidUrlCharacters = "Invalid characters in URL.";
inline constexpr std::string_view kUrlIllegalCharacters = "URL contains illegal characters.";
inline constexpr std::string_view kContentTypeEmpty = "ContentType cannot be empty";
inline constexpr std::string_view kPong = "Pong";
inline constexpr std::string_view kNotFoundBody = "<html><body>404 - Not Found</body></html>";
inline constexpr std::string_view kBlankPage =
    "<html><head><title></title></head><body></body></html>";
inline constexpr std::string_view kPathMustStartWithSlash = "Path must start with /";
inline constexpr std::string_view kPathMustEndWithSlash = "Path must end with /";
inline constexpr std::string_view kPathAndDocumentEmpty = "Path and Document cannot both be empty.";

// Embedded files, cache files and compression.
inline constexpr std::string_view kCannotFindInternalFile = "Cannot find internal file: ";
inline constexpr std::string_view kResourceNotFoundFmt = "Resource %s not found.";
inline constexpr std::string_view kCacheOwnerMissing = "Cache owner must be specified.";
inline constexpr std::string_view kCacheSessionMissing = "Session object is not defined.";
inline constexpr std::string_view kCacheFormMissing = "IWForm object is not defined.";
inline constexpr std::string_view kInvalidCacheFile = "Invalid cache file";
inline constexpr std::string_view kCorruptCacheFile = "Cache file is corrupted";
inline constexpr std::string_view kCompressProcNotSet = "IWCompressStreamProc is not set";

// Error pages.
inline constexpr std::string_view kSecurityCheckFailed =
    "Security check failed. Please restart the application.";
inline constexpr std::string_view kErrorDetailsDisabled =
    "[Error details are disabled in server configuration]";
inline constexpr std::string_view kSessionTimeoutFmt =
    "Your session has expired. You will have to restart the application. In order to keep "
    "sessions from expiring you may set the session timeout parameter to a higher value. The "
    "current session timeout value is %d minute%s.";
inline constexpr std::string_view kRestartPossible =
    "Depending on the error condition, it might be possible to restart the application.";
inline constexpr std::string_view kErrorDetailsTitle = "Error details:";

}  // namespace orv::msg

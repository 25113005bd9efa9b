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

// Server controller: freezing, validation, cache directory, start-up.
inline constexpr std::string_view kIsLockedSuffix =
    " is locked. Suggestion: Set in ServerController OnConfig event instead.";
inline constexpr std::string_view kAppNameEmpty = "Application name cannot be empty";
inline constexpr std::string_view kAppNameInvalid =
    "Invalid application name. Application name must follow the same rules of TComponent name";
inline constexpr std::string_view kInvalidSessionTimeout = "Invalid session timeout value.";
inline constexpr std::string_view kDocTypeMustStartWith =
    "Invalid value for DocType property: DocType must start with";
inline constexpr std::string_view kDocTypeMustEndWith =
    "Invalid value for DocType property: DocType must end with";
inline constexpr std::string_view kDocTypeStart = "<!DOCTYPE";
inline constexpr std::string_view kDocTypeEnd = ">";
inline constexpr std::string_view kUseCookiesRequired =
    "You must set CookieOptions.UseCookies to TRUE before setting "
    "ServerController.AllowMultipleSessionsPerUser to FALSE.";
inline constexpr std::string_view kMultipleSessionsRequired =
    "In order to disable cookies you must set ServerController.AllowMultipleSessionsPerUser to "
    "TRUE.";
inline constexpr std::string_view kUnableToCreateCacheDir = "Unable to create cache directory";
inline constexpr std::string_view kCacheDirCreated = "Cache directory created";
inline constexpr std::string_view kSessionNotStarted = "Session is not started.";
inline constexpr std::string_view kNoServerController = "No server controller is defined.";
inline constexpr std::string_view kServerVersion = "14.0.52";
inline constexpr std::string_view kDefaultAppName = "MyIWApp";
inline constexpr std::string_view kDefaultDescription = "Web Application Server";
inline constexpr std::string_view kPortIniFile = "port.ini";
inline constexpr std::string_view kPortIniSection = "PORTS";
inline constexpr std::string_view kPortIniPortKey = "Port";
inline constexpr std::string_view kPortIniSSLPortKey = "SSLPort";
inline constexpr std::string_view kMainThreadName = "IW Main Thread";
// Our own texts for input the controller cannot take (no fixed wording exists).
inline constexpr std::string_view kControllerExists =
    "A server controller already exists in this process.";
inline constexpr std::string_view kInvalidPort = "Invalid port value: ";
inline constexpr std::string_view kInvalidCompressionLevel =
    "Invalid compression level (1 to 9): ";

// The browser is told to log this (with ": " and the name) for an unknown callback.
inline constexpr std::string_view kCallbackMethodNotFound = "Callback method not found";

}  // namespace orv::msg

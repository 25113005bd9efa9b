#pragma once
// A small HTTP client for the loopback tests of the server side: one request per
// connection (as the server answers), optional binding to a source address (127.0.0.2
// plays a foreign visitor), and a cookie-keeping "browser" that walks the start
// sequence the way a real browser does.
#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace orv::test {

// A browser the framework supports.
inline constexpr const char* kChromeUA =
    "Mozilla/5.0 (X11; Linux x86_64) AppleWebKit/537.36 (KHTML, like Gecko) "
    "Chrome/120.0.0.0 Safari/537.36";

struct HttpReply {
  bool valid = false;
  int code = 0;
  std::string statusLine;
  std::vector<std::pair<std::string, std::string>> headers;
  std::string body;

  // First value of a header (any letter case), or "".
  std::string header(const std::string& name) const;
  bool hasHeader(const std::string& name) const;
  std::vector<std::string> all(const std::string& name) const;
  // The Set-Cookie value for a cookie name, or nullopt.
  std::optional<std::string> setCookie(const std::string& name) const;
};

HttpReply parseHttpReply(const std::string& raw);

struct HttpRequestSpec {
  std::string method = "GET";
  std::string target = "/";
  std::vector<std::pair<std::string, std::string>> headers;  // Host is added
  std::string body;
  std::string sourceIP;  // bind the client to this address first (empty: any)
  std::string host = "127.0.0.1";
};

// One request on a new connection; reads until the server closes (20 s limit).
HttpReply httpRequest(int port, const HttpRequestSpec& spec);
// The raw bytes of the answer to raw request bytes.
std::string rawExchange(int port, const std::string& bytes, const std::string& sourceIP = {});

// Keeps cookies like a browser and sends them with each request.
class TestBrowser {
 public:
  explicit TestBrowser(int port, std::string userAgent = kChromeUA, std::string sourceIP = {});

  HttpReply get(const std::string& target,
                std::vector<std::pair<std::string, std::string>> headers = {});
  HttpReply post(const std::string& target, const std::string& formBody,
                 std::vector<std::pair<std::string, std::string>> headers = {});
  HttpReply request(HttpRequestSpec spec);

  // The four requests of a new visitor: "/" (start page), the start check, the form
  // post to "/" (redirect page) and "/$/" (the page). Returns the last reply.
  HttpReply startSession(const std::string& query = {});

  std::map<std::string, std::string> cookies;
  std::string userAgent;
  std::string sourceIP;
  std::string host = "127.0.0.1";

 private:
  void applyCookies(const HttpReply& reply);
  int port_;
};

// The URL a start page's script requests (between the quotes of "var u=").
std::string startPageTarget(const std::string& body);
// The action of the start check page's form.
std::string startCheckAction(const std::string& body);
// The target of a redirect page (window.location.replace).
std::string redirectTarget(const std::string& body);

}  // namespace orv::test

#include "tests/framework/server/HttpTestClient.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

namespace orv::test {
namespace {

bool equalsNoCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

std::string unescapeJs(const std::string& s) {
  std::string r;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\\' && i + 1 < s.size()) {
      const char n = s[++i];
      if (n == 'x' && i + 2 < s.size()) {
        r += static_cast<char>(std::stoi(s.substr(i + 1, 2), nullptr, 16));
        i += 2;
      } else if (n == 'n') {
        r += '\n';
      } else if (n == 'r') {
        r += '\r';
      } else {
        r += n;
      }
    } else {
      r += s[i];
    }
  }
  return r;
}

std::string between(const std::string& body, const std::string& open, const std::string& close) {
  const auto a = body.find(open);
  if (a == std::string::npos) return {};
  const auto b = body.find(close, a + open.size());
  if (b == std::string::npos) return {};
  return body.substr(a + open.size(), b - a - open.size());
}

std::string htmlUnescape(std::string s) {
  const std::pair<const char*, const char*> map[] = {
      {"&quot;", "\""}, {"&lt;", "<"}, {"&gt;", ">"}, {"&amp;", "&"}};
  for (const auto& [from, to] : map) {
    std::size_t pos = 0;
    while ((pos = s.find(from, pos)) != std::string::npos) {
      s.replace(pos, std::strlen(from), to);
      pos += std::strlen(to);
    }
  }
  return s;
}

}  // namespace

std::string HttpReply::header(const std::string& name) const {
  for (const auto& [n, v] : headers)
    if (equalsNoCase(n, name)) return v;
  return {};
}

bool HttpReply::hasHeader(const std::string& name) const {
  for (const auto& [n, v] : headers)
    if (equalsNoCase(n, name)) return true;
  return false;
}

std::vector<std::string> HttpReply::all(const std::string& name) const {
  std::vector<std::string> r;
  for (const auto& [n, v] : headers)
    if (equalsNoCase(n, name)) r.push_back(v);
  return r;
}

std::optional<std::string> HttpReply::setCookie(const std::string& name) const {
  for (const std::string& v : all("Set-Cookie"))
    if (v.rfind(name + "=", 0) == 0) return v;
  return std::nullopt;
}

HttpReply parseHttpReply(const std::string& raw) {
  HttpReply r;
  const auto end = raw.find("\r\n\r\n");
  if (end == std::string::npos) return r;
  std::size_t pos = raw.find("\r\n");
  r.statusLine = raw.substr(0, pos);
  if (r.statusLine.size() >= 12) r.code = std::atoi(r.statusLine.substr(9, 3).c_str());
  pos += 2;
  while (pos < end) {
    const auto eol = raw.find("\r\n", pos);
    const std::string line = raw.substr(pos, eol - pos);
    const auto colon = line.find(':');
    if (colon != std::string::npos) {
      std::string value = line.substr(colon + 1);
      while (!value.empty() && value.front() == ' ') value.erase(0, 1);
      r.headers.emplace_back(line.substr(0, colon), value);
    }
    pos = eol + 2;
  }
  r.body = raw.substr(end + 4);
  r.valid = true;
  return r;
}

std::string rawExchange(int port, const std::string& bytes, const std::string& sourceIP) {
  Fd fd(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
  if (fd.get() < 0) throw std::runtime_error("socket failed");
  if (!sourceIP.empty()) {
    sockaddr_in local{};
    local.sin_family = AF_INET;
    ::inet_pton(AF_INET, sourceIP.c_str(), &local.sin_addr);
    if (::bind(fd.get(), reinterpret_cast<sockaddr*>(&local), sizeof local) != 0)
      throw std::runtime_error("bind to " + sourceIP + " failed: " + std::strerror(errno));
  }
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_port = htons(static_cast<std::uint16_t>(port));
  ::inet_pton(AF_INET, "127.0.0.1", &addr.sin_addr);
  if (::connect(fd.get(), reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0)
    throw std::runtime_error(std::string("connect failed: ") + std::strerror(errno));
  std::size_t sent = 0;
  while (sent < bytes.size()) {
    const ssize_t n = ::send(fd.get(), bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    if (n <= 0) break;
    sent += static_cast<std::size_t>(n);
  }
  std::string out;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) break;
    pollfd p{fd.get(), POLLIN, 0};
    if (::poll(&p, 1, static_cast<int>(left.count())) <= 0) break;
    char buf[65536];
    const ssize_t n = ::recv(fd.get(), buf, sizeof buf, 0);
    if (n <= 0) break;
    out.append(buf, static_cast<std::size_t>(n));
  }
  return out;
}

HttpReply httpRequest(int port, const HttpRequestSpec& spec) {
  std::string req = spec.method + " " + spec.target + " HTTP/1.1\r\nHost: " + spec.host + "\r\n";
  bool hasLength = false;
  for (const auto& [n, v] : spec.headers) {
    req += n + ": " + v + "\r\n";
    if (equalsNoCase(n, "Content-Length")) hasLength = true;
  }
  if (!spec.body.empty() && !hasLength)
    req += "Content-Length: " + std::to_string(spec.body.size()) + "\r\n";
  req += "\r\n" + spec.body;
  return parseHttpReply(rawExchange(port, req, spec.sourceIP));
}

TestBrowser::TestBrowser(int port, std::string ua, std::string source)
    : userAgent(std::move(ua)), sourceIP(std::move(source)), port_(port) {}

HttpReply TestBrowser::request(HttpRequestSpec spec) {
  spec.sourceIP = sourceIP;
  spec.host = host;
  if (!userAgent.empty()) spec.headers.emplace_back("User-Agent", userAgent);
  if (!cookies.empty()) {
    std::string c;
    for (const auto& [n, v] : cookies) {
      if (!c.empty()) c += "; ";
      c += n + "=" + v;
    }
    spec.headers.emplace_back("Cookie", c);
  }
  HttpReply r = httpRequest(port_, spec);
  applyCookies(r);
  return r;
}

HttpReply TestBrowser::get(const std::string& target,
                           std::vector<std::pair<std::string, std::string>> headers) {
  HttpRequestSpec spec;
  spec.target = target;
  spec.headers = std::move(headers);
  return request(std::move(spec));
}

HttpReply TestBrowser::post(const std::string& target, const std::string& formBody,
                            std::vector<std::pair<std::string, std::string>> headers) {
  HttpRequestSpec spec;
  spec.method = "POST";
  spec.target = target;
  spec.headers = std::move(headers);
  spec.headers.emplace_back("Content-Type", "application/x-www-form-urlencoded");
  spec.headers.emplace_back("Content-Length", std::to_string(formBody.size()));
  spec.body = formBody;
  return request(std::move(spec));
}

void TestBrowser::applyCookies(const HttpReply& reply) {
  for (const std::string& v : reply.all("Set-Cookie")) {
    const auto eq = v.find('=');
    const auto semi = v.find(';');
    const std::string name = v.substr(0, eq);
    const std::string value = v.substr(eq + 1, semi == std::string::npos ? std::string::npos
                                                                         : semi - eq - 1);
    // A cookie set with an empty value and no Max-Age (an expiry in the past) is gone.
    if (value.empty() && v.find("Max-Age=") == std::string::npos)
      cookies.erase(name);
    else
      cookies[name] = value;
  }
}

HttpReply TestBrowser::startSession(const std::string& query) {
  const HttpReply start = get("/" + query);
  const std::string check = startPageTarget(start.body);
  if (check.empty()) return start;
  const std::string sep = check.find('?') == std::string::npos ? "?" : "&";
  const HttpReply checkPage = get(check + sep + "IW_AjaxID=1&IW_width=1024&IW_height=768");
  const std::string action = startCheckAction(checkPage.body);
  if (action.empty()) return checkPage;
  // The start check page posts its hidden fields with the measured window size.
  const auto between = [](const std::string& body, const std::string& field) {
    const std::string open = "name=\"" + field + "\" value=\"";
    const auto a = body.find(open);
    if (a == std::string::npos) return std::string();
    const auto b = body.find('"', a + open.size());
    return body.substr(a + open.size(), b - a - open.size());
  };
  const HttpReply redirect =
      post(action, "IW_width=1024&IW_height=768&IW_SessionID_=" +
                       between(checkPage.body, "IW_SessionID_") +
                       "&IW_TrackID_=" + between(checkPage.body, "IW_TrackID_"));
  const std::string page = redirectTarget(redirect.body);
  if (page.empty()) return redirect;
  return get(page);
}

std::string startPageTarget(const std::string& body) {
  return unescapeJs(between(body, "var u=\"", "\";"));
}

std::string startCheckAction(const std::string& body) {
  return htmlUnescape(between(body, "method=\"post\" action=\"", "\""));
}

std::string redirectTarget(const std::string& body) {
  return unescapeJs(between(body, "window.location.replace(\"", "\");"));
}

}  // namespace orv::test

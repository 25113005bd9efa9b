// The transport under load: the application's HTTP server on a loopback port with a
// hook that answers every request with the same 300-byte page, going the whole way a
// real request goes (request packet, hook, reply packet, response). Driven by
// bench/transport_wrk.sh; runs until SIGINT or SIGTERM.
//
//   bench_transport_server --port N [--port-file PATH] [--page-file PATH]
//
// --port-file receives the port actually bound (for --port 0); --page-file receives the
// page's bytes, so that a reference server can serve exactly the same.
//
// Without arguments it only prints its usage (so that running every bench_* program
// of a build does not start a server that never ends).
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

#include "transport/HttpHook.h"
#include "transport/THTTPServerIn.h"
#include "transport/THttpReply.h"
#include "transport/THttpRequest.h"

namespace {

// 300 bytes of HTML.
std::string fixedPage() {
  std::string page = "<!DOCTYPE html><html><head><title>ORVWS</title></head><body><p>";
  const std::string tail = "</p></body></html>\n";
  page.append(300 - page.size() - tail.size(), 'x');
  page += tail;
  return page;
}

}  // namespace

int main(int argc, char** argv) {
  int port = -1;
  std::string portFile;
  std::string pageFile;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (std::strcmp(argv[i], "--port") == 0) port = std::atoi(argv[i + 1]);
    if (std::strcmp(argv[i], "--port-file") == 0) portFile = argv[i + 1];
    if (std::strcmp(argv[i], "--page-file") == 0) pageFile = argv[i + 1];
  }
  if (port < 0) {
    std::puts(
        "usage: bench_transport_server --port N [--port-file PATH] [--page-file PATH]"
        " (see bench/transport_wrk.sh)");
    return 0;
  }

  // Signals are taken by sigwait below, never by a connection thread.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

  const std::string page = fixedPage();
  if (!pageFile.empty()) std::ofstream(pageFile, std::ios::binary) << page;
  orv::setHttpHook([&page](std::uint8_t* block, std::size_t size) {
    const orv::THttpRequest request = orv::THttpRequest::fromPacket({block, size});
    orv::THttpReply reply;
    reply.WriteString(page);
    reply.Commit({block, size});
  });

  orv::THTTPServerIn server("127.0.0.1", port);
  server.SetActive(true);
  if (!portFile.empty()) {
    std::ofstream(portFile) << server.Port() << "\n";
  }
  std::printf("listening on 127.0.0.1:%d\n", server.Port());
  std::fflush(stdout);

  int signal = 0;
  sigwait(&stopSignals, &signal);
  server.SetActive(false);
  return 0;
}

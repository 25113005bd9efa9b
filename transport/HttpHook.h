#pragma once
// The process-wide entry points between the transport and the framework above it.
//
// The HTTP hook: called on a connection thread with the packet block (32768 bytes)
// holding a request packet; it leaves the reply packet in the same block. The
// framework installs its request entry at start-up; tests install their own. While no
// hook is installed, requests fail with "HTTP hook has not been set.".
//
// The compression hook: called after a reply has been turned into a response, so that
// the framework can compress the content (it does nothing while unset).
//
// The packet directory: where request and reply packets too large for the block, and
// request bodies too large for memory, are written (the framework points it at its
// cache directory; the system temporary directory until then).
//
// All three may be replaced at any time from any thread; a call already running keeps
// the hook it started with.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace orv {

class TInHTTPRequestInfo;
class TInHTTPResponseInfo;

using HttpHookFunction = std::function<void(std::uint8_t* block, std::size_t size)>;
using HttpCompressFunction =
    std::function<void(const TInHTTPRequestInfo& request, TInHTTPResponseInfo& response)>;

// Installs (or, with an empty function, removes) the HTTP hook.
void setHttpHook(HttpHookFunction hook);
bool httpHookInstalled();
// Calls the installed hook; raises "HTTP hook has not been set." when there is none.
void callHttpHook(std::uint8_t* block, std::size_t size);

void setHttpCompressHook(HttpCompressFunction hook);
void callHttpCompressHook(const TInHTTPRequestInfo& request, TInHTTPResponseInfo& response);

void setPacketTempDir(const std::string& directory);
std::string packetTempDir();

}  // namespace orv

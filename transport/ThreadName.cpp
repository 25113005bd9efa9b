#include "transport/ThreadName.h"

#include <pthread.h>

namespace orv {

namespace {
thread_local std::string tThreadName = "InThread (unknown)";
}

void setCurrentThreadName(const std::string& name) {
  tThreadName = name.empty() ? std::string("InThread (unknown)") : name;
  ::pthread_setname_np(::pthread_self(), tThreadName.substr(0, 15).c_str());
}

const std::string& currentThreadName() { return tThreadName; }

}  // namespace orv

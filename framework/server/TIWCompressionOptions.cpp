#include "framework/server/TIWCompressionOptions.h"

#include <stdexcept>
#include <string>

#include "framework/server/Messages.h"

namespace orv {

void TIWCompressionOptions::SetEnabled(bool v) {
  checkLock();
  enabled_ = v;
  if (v && !allowGZip_ && !allowDeflate_) {
    allowGZip_ = true;
    allowDeflate_ = true;
  }
}

void TIWCompressionOptions::SetLevel(int v) {
  checkLock();
  if (v < 1 || v > 9) {
    throw std::runtime_error(std::string(msg::kInvalidCompressionLevel) + std::to_string(v));
  }
  level_ = v;
}

void TIWCompressionOptions::SetMinSize(int v) {
  checkLock();
  minSize_ = v < 0 ? 0 : v;
}

void TIWCompressionOptions::SetAllowGZip(bool v) {
  checkLock();
  allowGZip_ = v;
  if (!allowGZip_ && !allowDeflate_) enabled_ = false;
}

void TIWCompressionOptions::SetAllowDeflate(bool v) {
  checkLock();
  allowDeflate_ = v;
  if (!allowGZip_ && !allowDeflate_) enabled_ = false;
}

void TIWCompressionOptions::SetPreCompress(bool v) {
  checkLock();
  preCompress_ = v;
}

void TIWCompressionOptions::Assign(const TIWCompressionOptions& source) {
  checkLock();
  enabled_ = source.enabled_;
  level_ = source.level_;
  minSize_ = source.minSize_;
  allowGZip_ = source.allowGZip_;
  allowDeflate_ = source.allowDeflate_;
  preCompress_ = source.preCompress_;
}

}  // namespace orv

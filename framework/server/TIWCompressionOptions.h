#pragma once
// Compression of replies. The switches stay consistent: turning both AllowGZip and
// AllowDeflate off turns Enabled off, and turning Enabled on while both are off turns
// both on. Frozen with the controller's settings after start-up (property name
// "Compression").
#include "framework/server/OptionGroup.h"

namespace orv {

class TIWCompressionOptions : public OptionGroup {
 public:
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v);
  // zlib level, 1 (fastest) to 9; anything else raises kInvalidCompressionLevel.
  int Level() const { return level_; }
  void SetLevel(int v);
  // Replies smaller than this many bytes are sent as they are.
  int MinSize() const { return minSize_; }
  void SetMinSize(int v);
  bool AllowGZip() const { return allowGZip_; }
  void SetAllowGZip(bool v);
  bool AllowDeflate() const { return allowDeflate_; }
  void SetAllowDeflate(bool v);
  // Compress the embedded scripts and style sheets once at start-up.
  bool PreCompress() const { return preCompress_; }
  void SetPreCompress(bool v);

  void Assign(const TIWCompressionOptions& source);

 private:
  bool enabled_ = true;
  int level_ = 1;
  int minSize_ = 1024;
  bool allowGZip_ = true;
  bool allowDeflate_ = true;
  bool preCompress_ = true;
};

}  // namespace orv

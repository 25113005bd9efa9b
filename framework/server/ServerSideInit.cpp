#include "framework/server/ServerSideInit.h"

#include "framework/server/TIWCompressor.h"
#include "framework/server/TIWServerControllerBase.h"
#include "framework/server/TIWServerInternalFiles.h"

namespace orv {

void InitServerSide(const TIWServerControllerBase& controller) {
  TIWServerInternalFiles& files = TIWServerInternalFiles::Instance();
  files.RegisterFrameworkFiles();
  files.SetUseUncompressedFiles(controller.JavaScriptOptions().UseUncompressedFiles());
  files.SetPreCompressFiles(controller.Compression().PreCompress());
  if (controller.Compression().PreCompress()) files.PreCompress();
  if (controller.Compression().Enabled())
    TIWCompressor::Init(controller.Compression());
  else
    TIWCompressor::Done();
}

}  // namespace orv

#pragma once
// The server side's part of the framework's start-up (AppInit), after the controller
// has been built: the embedded file table is filled with the framework's files and
// takes the controller's JavaScriptOptions.UseUncompressedFiles and
// Compression.PreCompress (compressing the scripts and style sheets once when that is
// on), and the reply compressor is made with a copy of the controller's compression
// options and installed as the transport's compression hook. Runs on the main thread
// before the server starts; calling it again (a new controller) redoes both.
namespace orv {

class TIWServerControllerBase;

void InitServerSide(const TIWServerControllerBase& controller);

}  // namespace orv

#include "transport/THttpReply.h"

#include "transport/HttpDate.h"
#include "transport/HttpHook.h"
#include "transport/InErrors.h"
#include "transport/Messages.h"

namespace orv {

namespace {
constexpr std::string_view kDefaultP3P = "CP=\"NO P3P\"";
constexpr std::string_view kHtmlUtf8 = "text/html; charset=UTF-8";
}  // namespace

void THttpReply::chooseKind(ReplyKind kind) {
  // A reply without data so far (none, or "no data" such as a redirect) may still get
  // a body; any other body kind is final.
  if (mDataType != ReplyKind::None && mDataType != ReplyKind::NoData && mDataType != kind) {
    throw EInException(msg::kReplyTypeAlreadySet);
  }
  mDataType = kind;
}

void THttpReply::WriteString(std::string_view text) {
  chooseKind(ReplyKind::Inline);
  if (!mContentStream) mContentStream = std::make_unique<MemoryStream>();
  auto* sink = dynamic_cast<ByteSink*>(mContentStream.get());
  if (sink == nullptr) throw EInException(msg::kContentStreamExists);
  sink->write(text);
}

void THttpReply::SendStream(std::unique_ptr<ByteStream> stream) {
  chooseKind(ReplyKind::Inline);
  if (mContentStream) throw EInException(msg::kContentStreamExists);
  mContentStream = std::move(stream);
}

void THttpReply::SendRenderStream(std::string rendered) {
  SendStream(std::make_unique<MemoryStream>(std::move(rendered)));
}

void THttpReply::SendFile(const std::string& path, bool disableCacheControl, bool deleteAfter) {
  if (mDataType == ReplyKind::File) throw EInException(msg::kReplyTypeAlreadySet);
  chooseKind(ReplyKind::File);
  mFilePathname = path;
  mFileDelete = deleteAfter;
  mSendingFile = true;
  if (disableCacheControl) mCacheControlEnabled = false;
}

void THttpReply::SendCacheFile(const std::string& path) {
  if (mDataType == ReplyKind::CacheFile) throw EInException(msg::kReplyTypeAlreadySet);
  chooseKind(ReplyKind::CacheFile);
  mFilePathname = path;
  mFileDelete = false;
  mSendingFile = true;
}

void THttpReply::SendRedirect(const std::string& url) {
  mCode = 302;
  addHeader("Location", url);
  mCookies.clear();
  if (mDataType == ReplyKind::None) mDataType = ReplyKind::NoData;
}

void THttpReply::SetCode(std::uint16_t code, const std::string& codeText) {
  mCode = code;
  mCodeText = codeText;
}

void THttpReply::ResetReplyType() {
  mDataType = ReplyKind::None;
  mContentStream.reset();
  mFilePathname.clear();
  mFileDelete = false;
  mSendingFile = false;
}

void THttpReply::addHeader(std::string_view name, std::string_view value) {
  std::string line(name);
  line += ':';
  line += value;
  mHeaders.push_back(std::move(line));
}

void THttpReply::Commit(std::span<std::uint8_t> block, const std::string& tempDir, double now) {
  if (mCacheControlEnabled) {
    const double expiry = now + mCacheTTL / 1440.0;
    if (mAllowCaching) {
      if (mLastModified != 0) addHeader("Last-Modified", httpDate(mLastModified));
      addHeader("Expires", httpDate(expiry));
      addHeader("Cache-Control", "private");
    } else if (mCode == 304) {
      addHeader("Date", httpDate(now));
      addHeader("Expires", httpDate(expiry));
    } else {
      addHeader("Cache-Control", "no-cache");
      addHeader("Pragma", "no-cache");
    }
    if (mExpires != 0) addHeader("Expires", httpDate(mExpires));
  }
  if (mCode == 200 && mContentType == kHtmlUtf8 && !mIECompatibilityMode.empty()) {
    addHeader("X-UA-Compatible", mIECompatibilityMode);
  }
  addHeader("P3P", mP3P.empty() ? kDefaultP3P : std::string_view(mP3P));

  ReplyPacket packet;
  packet.kind = mDataType;
  packet.code = mCode;
  packet.statusText = mCodeText;
  packet.contentType = mContentType;
  packet.authRealm = mAuthRealm;
  for (std::size_t i = 0; i < mHeaders.size(); ++i) {
    if (i > 0) packet.headers += "\r\n";
    packet.headers += mHeaders[i];
  }
  packet.cookies = mCookies;
  if (mDataType == ReplyKind::File || mDataType == ReplyKind::CacheFile) {
    packet.filePath = mFilePathname;
    packet.fileDelete = mDataType == ReplyKind::File && mFileDelete;
  } else if (mDataType == ReplyKind::Inline && mContentStream) {
    packet.body = mContentStream->readAll();
  }
  encodeReplyPacket(block, packet, tempDir);
}

void THttpReply::Commit(std::span<std::uint8_t> block) {
  Commit(block, packetTempDir(), nowLocalDateTime());
}

}  // namespace orv

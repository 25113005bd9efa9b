#include "transport/THttpRequest.h"

#include <algorithm>
#include <charconv>

#include "transport/PacketFrame.h"
#include "transport/PacketReader.h"
#include "transport/PacketWriter.h"
#include "transport/UrlCoding.h"

namespace orv {

std::string_view httpMethodText(THttpMethod method) {
  switch (method) {
    case THttpMethod::hmGet:
      return "GET";
    case THttpMethod::hmPut:
      return "PUT";
    case THttpMethod::hmPost:
      return "POST";
    case THttpMethod::hmHead:
      return "HEAD";
    case THttpMethod::hmNone:
      break;
  }
  return {};
}

THttpMethod httpMethodFromText(std::string_view text) {
  if (text == "GET") return THttpMethod::hmGet;
  if (text == "PUT") return THttpMethod::hmPut;
  if (text == "POST") return THttpMethod::hmPost;
  if (text == "HEAD") return THttpMethod::hmHead;
  return THttpMethod::hmNone;
}

std::string listValue(const std::vector<std::string>& list, std::string_view name) {
  for (const auto& line : list) {
    const auto eq = line.find('=');
    const std::string_view lineName =
        std::string_view(line).substr(0, eq == std::string::npos ? line.size() : eq);
    if (equalsIgnoreCase(lineName, name)) {
      return eq == std::string::npos ? std::string() : line.substr(eq + 1);
    }
  }
  return {};
}

THttpRequest THttpRequest::fromPacket(std::span<const std::uint8_t> block) {
  const PacketBody body = readPacketFrame(block);
  PacketReader r(body.bytes());
  r.readSignature();
  THttpRequest q;
  q.mUserAgent = r.readText();
  q.mReferer = r.readText();
  q.mScriptName = r.readText();
  q.mHost = r.readText();
  q.mAuthorization = r.readText();
  q.mURL = r.readText();
  q.mPathInfo = r.readText();
  q.mRemoteAddr = r.readText();
  q.mServerPort = r.readInteger();
  q.mQuery = r.readText();
  q.mHttpMethod = httpMethodFromText(r.readText());
  q.mIfModifiedSince = r.readText();
  q.mForwardedFor = r.readText();
  q.mHttpClientIP = r.readText();
  q.mAuthorizationHeader = r.readText();
  q.mAuthUser = r.readText();
  q.mAuthPass = r.readText();
  q.mAcceptLanguage = r.readText();
  q.mHttpsHeader = r.readText();
  q.mRawHeaders = r.readTextList();
  q.mContentFields = r.readTextList();
  q.mCookieFields = r.readTextList();
  q.mQueryFields = r.readTextList();
  q.mServerVariables = r.readTextList();
  const std::uint16_t fileCount = r.readWord();
  for (std::uint16_t i = 0; i < fileCount; ++i) {
    THttpFile f;
    f.mFileName = r.readText();
    f.mTempPathName = r.readText();
    f.mContentType = r.readText();
    f.mFieldName = r.readText();
    const std::string size = r.readText();
    std::from_chars(size.data(), size.data() + size.size(), f.mFileSize);
    q.mFiles.push_back(std::move(f));
  }
  q.mHasContent = r.readBoolean();
  return q;
}

void THttpRequest::toPacket(std::span<std::uint8_t> block, const std::string& tempDir) const {
  PacketWriter w;
  w.writeSignature();
  w.writeText(mUserAgent);
  w.writeText(mReferer);
  w.writeText(mScriptName);
  w.writeText(mHost);
  w.writeText(mAuthorization);
  w.writeText(mURL);
  w.writeText(mPathInfo);
  w.writeText(mRemoteAddr);
  w.writeInteger(mServerPort);
  w.writeText(mQuery);
  w.writeText(httpMethodText(mHttpMethod));
  w.writeText(mIfModifiedSince);
  w.writeText(mForwardedFor);
  w.writeText(mHttpClientIP);
  w.writeText(mAuthorizationHeader);
  w.writeText(mAuthUser);
  w.writeText(mAuthPass);
  w.writeText(mAcceptLanguage);
  w.writeText(mHttpsHeader);
  w.writeTextList(mRawHeaders);
  w.writeTextList(mContentFields);
  w.writeTextList(mCookieFields);
  w.writeTextList(mQueryFields);
  w.writeTextList(mServerVariables);
  w.writeWord(static_cast<std::uint16_t>(std::min<std::size_t>(mFiles.size(), 0xFFFF)));
  for (std::size_t i = 0; i < mFiles.size() && i < 0xFFFF; ++i) {
    const THttpFile& f = mFiles[i];
    w.writeText(f.mFileName);
    w.writeText(f.mTempPathName);
    w.writeText(f.mContentType);
    w.writeText(f.mFieldName);
    w.writeText(std::to_string(f.mFileSize));
  }
  w.writeBoolean(mHasContent);
  writePacketFrame(block, w.bytes(), tempDir);
}

std::vector<std::string> THttpRequest::GetParams() const {
  if (mHttpMethod != THttpMethod::hmPost) return mQueryFields;
  std::vector<std::string> params = mContentFields;
  params.insert(params.end(), mQueryFields.begin(), mQueryFields.end());
  return params;
}

std::string THttpRequest::GetCookieValue(std::string_view name) const {
  return listValue(mCookieFields, name);
}

std::string THttpRequest::GetContentFieldValue(std::string_view name) const {
  return listValue(mContentFields, name);
}

std::string THttpRequest::GetRawHeaderValue(std::string_view name) const {
  return listValue(mRawHeaders, name);
}

std::string THttpRequest::GetServerVariableValue(std::string_view name) const {
  return listValue(mServerVariables, name);
}

bool THttpRequest::AcceptsGZip() const {
  return containsIgnoreCase(GetRawHeaderValue("accept-encoding"), "GZIP");
}

}  // namespace orv

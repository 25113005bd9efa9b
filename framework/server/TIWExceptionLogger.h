#pragma once
// Settings of the error report writer. The report writer itself is not part of this
// program (Enabled stays false); its settings are kept so that they load and copy.
#include <set>
#include <string>

#include "framework/server/OptionGroup.h"

namespace orv {

enum class ExceptionLogType { ltFile, ltEventLog };
enum class ReportInfo { riAppInfo, riExceptionInfo, riIWAppInfo, riStackTrace, riRequestInfo };

class TIWExceptionLogger : public OptionGroup {
 public:
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v) { enabled_ = v; }
  ExceptionLogType LogType() const { return logType_; }
  void SetLogType(ExceptionLogType v) { logType_ = v; }
  const std::set<ReportInfo>& ReportInfos() const { return reportInfos_; }
  void SetReportInfos(std::set<ReportInfo> v) { reportInfos_ = std::move(v); }
  // Empty means the application path + "ErrorLog/".
  const std::string& FilePath() const { return filePath_; }
  void SetFilePath(const std::string& v) { filePath_ = v; }
  // Empty means the application name.
  const std::string& FileName() const { return fileName_; }
  void SetFileName(const std::string& v) { fileName_ = v; }
  // 0: never purge.
  int PurgeAfterDays() const { return purgeAfterDays_; }
  void SetPurgeAfterDays(int v) { purgeAfterDays_ = v < 0 ? 0 : v; }

  void Assign(const TIWExceptionLogger& source) {
    enabled_ = source.enabled_;
    logType_ = source.logType_;
    reportInfos_ = source.reportInfos_;
    filePath_ = source.filePath_;
    fileName_ = source.fileName_;
    purgeAfterDays_ = source.purgeAfterDays_;
  }

 private:
  bool enabled_ = false;
  ExceptionLogType logType_ = ExceptionLogType::ltFile;
  std::set<ReportInfo> reportInfos_{ReportInfo::riAppInfo, ReportInfo::riExceptionInfo,
                                    ReportInfo::riIWAppInfo, ReportInfo::riStackTrace,
                                    ReportInfo::riRequestInfo};
  std::string filePath_;
  std::string fileName_;
  int purgeAfterDays_ = 0;
};

}  // namespace orv

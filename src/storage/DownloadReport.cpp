#include "storage/DownloadReport.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <system_error>

#include "records/DocTree.h"
#include "records/DownloadLog.h"
#include "records/ReportLogo.h"
#include "settings/FileTypes.h"
#include "settings/ProjectSettings.h"
#include "storage/DownloadFolder.h"
#include "storage/LocalNaming.h"
#include "text/HtmlEscape.h"
#include "text/MessageIds.h"
#include "text/SizeText.h"
#include "text/TimeText.h"
#include "web/Forms.h"

namespace qn {
namespace {

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

constexpr const char* kNoValue = "&nbsp;";

struct StyleRule {
  const char* selector;
  std::vector<const char*> properties;
};

const std::vector<StyleRule>& StyleRules() {
  static const std::vector<const char*> title = {"vertical-align:top;", "background-color:#FFFFFF;",
                                                 "padding:1px;", "font-size:8pt;",
                                                 "font-family:Arial;"};
  static const std::vector<StyleRule> rules = [] {
    std::vector<const char*> titleB = title;
    titleB.push_back("font-weight:bold;");
    return std::vector<StyleRule>{
        {".clsHeading", {"font-family:Arial;", "font-size:16pt;", "font-weight:bold;"}},
        {"TD.clsTitle", title},
        {"TD.clsTitleB", titleB},
        {"TH",
         {"text-align:center;", "vertical-align:center;", "background-color:#ccc;", "padding:2px;",
          "font-size:8pt;", "font-family:Arial;", "BACKGROUND-COLOR: #3366cc;",
          "BORDER-BOTTOM: #264E75 solid 1px;", "BORDER-LEFT: #71C2FF solid 1px;",
          "BORDER-RIGHT: #264E75 solid 1px;", "BORDER-TOP: #71C2FF solid 1px;", "COLOR: #ffffff;",
          "TEXT-DECORATION: none;"}},
        {"TD",
         {"text-align:left;", "vertical-align:top;", "background-color:#EEE;", "padding:4px;",
          "font-size:8pt;", "font-family:Arial;"}},
        {"BODY", {"font-size:8pt;", "font-family:Arial;"}},
    };
  }();
  return rules;
}

struct Column {
  const char* width;
  int heading;
};
constexpr Column kColumns[] = {{"\"10%\"", kMsgReportStatus},   {"\"40%\"", kMsgReportUrl},
                               {"\"10%\"", kMsgReportFileType}, {"\"10%\"", kMsgReportSize},
                               {"\"15%\"", kMsgReportModified}, {"\"5%\"", kMsgReportLevel}};

std::string TitleRow(const std::string& caption, const std::string& value) {
  return "<TR>\r\n<TD class=\"clsTitleB\">" + HtmlEscape(caption) +
         "</TD>\r\n<TD class=\"clsTitle\">" + HtmlEscape(value) + "</TD>\r\n</TR>\r\n";
}

std::string Centered(const std::string& html) {
  return "<TD><CENTER>" + html + "</CENTER></TD>\r\n";
}

}  // namespace

std::string ReportPathFor(const std::string& projectDir, const std::string& title,
                          const std::tm& now) {
  std::string folder = ExpandDownloadDir(projectDir, now);
  if (folder.empty()) return {};
  if (folder.back() != '/' && folder.back() != '\\') folder += '/';
  std::string name = TitleInFileName(title) + "_Report.htm";
  ReplaceLocalPathChars(name);
  if (name.front() == '.') name.front() = '_';
  return folder + "_QNReport/" + name;
}

QNReportHeader MakeReportHeader(const CQNSettings& settings, const std::string& projectFile,
                                std::string started) {
  QNReportHeader header;
  header.projectFile = projectFile;
  header.title = settings.QN_TITLE;
  const int count = settings.QN_SINGLE_URL == 1 ? 1 : settings.StartUrlCount;
  for (int i = 0; i < count && i < static_cast<int>(settings.QN_START_URL.size()); ++i)
    header.startAddresses.push_back(settings.QN_START_URL[i]);
  header.projectDir = settings.QN_PROJECT_DIR;
  header.started = std::move(started);
  return header;
}

CQNDownloadReport::CQNDownloadReport(QNTexts texts) : texts_(std::move(texts)) {}

bool CQNDownloadReport::Start(const CQNSettings& settings, const std::tm& now) {
  if (!settings.QN_REPORT) return true;
  {
    std::lock_guard guard(lock_);
    password_ = settings.QN_PASSWORD;
  }
  return StartAt(ReportPathFor(settings.QN_PROJECT_DIR, settings.QN_TITLE, now));
}

bool CQNDownloadReport::StartAt(const std::string& path) {
  std::lock_guard guard(lock_);
  path_.clear();
  if (path.empty()) return false;
  const std::filesystem::path file(path);
  // A folder that cannot be made is taken as present: creating the file tells.
  std::error_code ec;
  std::filesystem::create_directories(file.parent_path(), ec);
  if (!FilePtr(std::fopen(path.c_str(), "wb"))) return false;
  path_ = path;
  std::ofstream logo(file.parent_path() / kReportLogoName, std::ios::binary | std::ios::trunc);
  logo << ReportLogoGif();
  return true;
}

std::string CQNDownloadReport::Path() const {
  std::lock_guard guard(lock_);
  return path_;
}

bool CQNDownloadReport::Exists() const {
  const std::string path = Path();
  return !path.empty() && FilePtr(std::fopen(path.c_str(), "rb")) != nullptr;
}

void CQNDownloadReport::Append(const std::string& fragment) {
  std::lock_guard guard(lock_);
  if (path_.empty()) return;
  FilePtr file(std::fopen(path_.c_str(), "r+b"));
  if (!file || std::fseek(file.get(), 0, SEEK_END) != 0) return;
  std::fwrite(fragment.data(), 1, fragment.size(), file.get());
}

std::string CQNDownloadReport::HeaderText(const QNReportHeader& h) const {
  const std::string report = HtmlEscape(texts_.Text(kMsgReportTitle));
  std::string out =
      "<HTML>\r\n<HEAD>\r\n\t<META HTTP-EQUIV=\"Content-Type\" "
      "CONTENT=\"text/html;\">\r\n\t<META NAME=\"Generator\" CONTENT=\"Quillorne v" +
      std::string(kProgramVersion) + "\">\r\n\t<TITLE>Quillorne " + report +
      "</TITLE>\r\n</HEAD>\r\n<BODY>\r\n\r\n";

  out += "<STYLE TYPE=\"text/css\">\r\n<!--\r\n";
  for (const StyleRule& rule : StyleRules()) {
    out += rule.selector;
    out += " {";
    for (const char* property : rule.properties) {
      out += "\r\n   ";
      out += property;
    }
    out += " }\r\n";
  }
  out += "-->\r\n</STYLE>\r\n\r\n";

  out +=
      "<TABLE>\r\n<TR>\r\n<TD class=\"clsTitle\" WIDTH=\"120\"><IMG SRC=\"qnlogo.gif\" "
      "ALIGN=\"top\"></TD>\r\n<TD class=\"clsTitle\"><DIV class=clsHeading>" +
      report +
      "</DIV></TD>\r\n</TR>\r\n</TABLE>\r\n\r\n<TABLE CELLSPACING=\"1\" CELLPADDING=\"0\">\r\n"
      "<TR>\r\n<TD class=\"clsTitleB\" WIDTH=\"120\">" +
      HtmlEscape(texts_.Text(kMsgReportProject)) + "</TD>\r\n<TD class=\"clsTitle\">" +
      HtmlEscape(h.projectFile) + "</TD>\r\n</TR>\r\n" +
      TitleRow(texts_.Text(kMsgReportTitleLabel), h.title);
  for (const std::string& address : h.startAddresses)
    out += TitleRow(texts_.Text(kMsgReportUrlLabel), address);
  out += TitleRow(texts_.Text(kMsgReportDirectory), h.projectDir) +
         TitleRow(texts_.Text(kMsgReportStarted), h.started) + "</TABLE>\r\n\r\n<BR>\r\n\r\n";

  out += "<TABLE>\r\n<TR>\r\n";
  for (const Column& column : kColumns)
    out += "<TH WIDTH=" + std::string(column.width) + "><B>" +
           HtmlEscape(texts_.Text(column.heading)) + "</B></TH>\r\n";
  out += "</TR>\r\n\r\n";
  return out;
}

std::string CQNDownloadReport::RowText(const QNReportEntry& entry) const {
  std::string status;
  if (entry.error)
    status = texts_.Format(kMsgReportError, entry.errorCode);
  else if (entry.status == kReportSkipped)
    status = texts_.Text(kMsgReportSkipped);
  else if (entry.status == kReportUnchanged)
    status = texts_.Text(kMsgReportUnchanged);
  else
    status = texts_.Text(kMsgReportDownloaded);

  std::string password;
  {
    std::lock_guard guard(lock_);
    password = password_;
  }
  const CQNDocNode* node = entry.node;
  std::string type = kNoValue, level = kNoValue, modified = kNoValue;
  if (node) {
    const int category = CategoryIndex(node->type);
    type = category < 0
               ? std::string()
               : HtmlEscape(texts_.Text(kCategoryNameIds[static_cast<std::size_t>(category)]));
    level = std::to_string(node->level);
  }
  if (entry.modified) {
    std::tm local{};
    if (localtime_r(&*entry.modified, &local))
      modified = HtmlEscape(FormatTimeText(texts_, local, LocaleUses24HourClock()));
  }
  return "<TR>\r\n" + Centered(HtmlEscape(status)) + "<TD>" +
         HtmlEscape(MaskLoginPassword(node ? node->url : entry.address, password)) + "</TD>\r\n" +
         Centered(type) + Centered(HtmlEscape(FormatSizeText(texts_, entry.size))) +
         Centered(modified) + Centered(level) + "</TR>\r\n\r\n";
}

std::string CQNDownloadReport::EndText() {
  return "</TABLE>\r\n\r\n</BODY>\r\n</HTML>\r\n\r\n";
}

void CQNDownloadReport::WriteHeader(const QNReportHeader& header) {
  Append(HeaderText(header));
}

void CQNDownloadReport::WriteRow(const QNReportEntry& entry) {
  Append(RowText(entry));
}

void CQNDownloadReport::WriteEnd() {
  Append(EndText());
}

}  // namespace qn

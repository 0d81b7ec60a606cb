#include "startup/check_content.h"

#include <system_error>

#include "content/content_files.h"
#include "content/content_report.h"
#include "content/content_report_json.h"
#include "content/cross_references.h"
#include "content/get_xml.h"
#include "platform/headless/headless_platform.h"
#include "startup/content_decoding.h"

namespace vdx {

int RunContentCheck(const PlayerFolders& folders, std::ostream& out, bool json) {
  const std::filesystem::path& gameDir = folders.gameDir;
  std::error_code ec;
  if (!std::filesystem::is_directory(gameDir, ec)) {
    out << "vdx: " << gameDir.string() << " is not a folder\n";
    return 1;
  }
  PathResolver paths(gameDir);
  if (!folders.inGameFolder) paths.replaceFile("Game.xml", folders.userGameXml());
  const bool ownSettings =
      !folders.inGameFolder && std::filesystem::exists(folders.userGameXml(), ec);
  Settings settings;
  Content content;
  LoadReport report;
  GetXML(paths, settings, content, report);
  FindMissingFiles(paths, settings, content, report);
  // Sounds and music are read by the mixer, on SDL's silent driver.
  const auto audio = platform::CreateHeadlessPlatform();
  try {
    audio->openAudio();
  } catch (const platform::PlatformError& e) {
    out << "vdx: sounds and music cannot be checked: " << e.what() << "\n";
    return 1;
  }
  FindBrokenFiles(paths, settings, content, *audio, report);
  FindUnknownNames(content, report);
  if (json) {
    out << FormatContentReportJson(gameDir.string(), content, report);
  } else {
    out << "Game folder " << gameDir.string() << "\n";
    if (ownSettings) out << "Game.xml: your copy " << folders.userGameXml().string() << "\n";
    out << FormatContentReport(content, report);
  }
  return ReportIsClean(report) ? 0 : 1;
}

}  // namespace vdx

#include "shell/window/BrowserOpener.h"

#include <QDesktopServices>
#include <QProcess>
#include <QUrl>

namespace mirelon {

bool OpenInBrowser(const std::string& Url) {
  const QString Address = QString::fromStdString(Url);
  const QString Program = qEnvironmentVariable("MIRELON_BROWSER");
  if (!Program.isEmpty()) return QProcess::startDetached(Program, {Address});
  return QDesktopServices::openUrl(QUrl(Address, QUrl::StrictMode));
}

}  // namespace mirelon

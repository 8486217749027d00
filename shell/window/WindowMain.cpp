#include "shell/window/WindowMain.h"

#include <QApplication>
#include <QMessageBox>
#include <cstdio>

#include "server/Application.h"
#include "server/DocumentsFolder.h"
#include "server/InstanceLock.h"
#include "shell/window/BrowserOpener.h"
#include "shell/window/CloseOnSignal.h"
#include "shell/window/MainWindow.h"
#include "shell/window/WindowLook.h"

namespace mirelon {

namespace {

// Without a display Qt would abort with a message about platform plugins;
// one plain line tells what to do instead.
bool HasDisplay() { return !ProcessEnvironment("DISPLAY").empty() || !ProcessEnvironment("WAYLAND_DISPLAY").empty(); }

void ShowAlreadyRunning() {
  QMessageBox Box(QMessageBox::Information, "Mirelon",
                  QString::fromUtf8("Une instance d'Mirelon est déjà en cours d'exécution."), QMessageBox::Ok);
  Box.setWindowFlag(Qt::WindowStaysOnTopHint);
  Box.exec();
}

}  // namespace

int RunWindow(int Argc, char** Argv, const std::vector<std::string>& Args, const std::string& DefaultService) {
  if (!HasDisplay()) {
    fputs("mirelon : aucun écran (ni DISPLAY ni WAYLAND_DISPLAY), la fenêtre ne peut pas s'ouvrir ; "
          "\"mirelon serve\" démarre le serveur seul.\n",
          stderr);
    return 2;
  }
  TTerminateSignals Signals;
  QApplication Qt(Argc, Argv);
  QApplication::setApplicationName("Mirelon");
  QGuiApplication::setDesktopFileName("fr.mirelon.Mirelon");
  QApplication::setFont(InterfaceFont());  // the message box's too
  const TAppFolders Folders{DocumentsFolder(), AppDataFolder()};
  const TInstanceLock Instance(Folders.AppData);
  if (!Instance.Held()) {
    ShowAlreadyRunning();
    return 0;
  }
  TApplication App(Folders, DefaultService);
  App.Log().AddSink(StdoutSink());
  App.SetStartupCancel([&Signals] { return Signals.Arrived(); });
  TFMirelon Window(App, Args, OpenInBrowser);
  if (!Instance.Guarding()) App.Log().ELogEvent(Instance.UnguardedLine());
  if (Signals.Arrived()) return 0;  // stopped during the start-up: no automatic start
  Signals.CloseOnArrival(Window);
  Window.show();
  return QApplication::exec();
}

}  // namespace mirelon

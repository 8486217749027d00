// The main window: the status bar on top, the logo with the console log
// over it, and the panel of six buttons at the bottom, all driving the
// application object. The log and the counters reach the window from any
// thread through queued calls; nothing waits for it.
#pragma once

#include <QPushButton>
#include <QWidget>
#include <string>
#include <vector>

#include "server/Application.h"
#include "shell/window/BrowserOpener.h"

namespace mirelon {

class TLogMemo;
class TStatusPanels;

class TFMirelon : public QWidget {
 public:
  static constexpr const char* kCaption = "Mirelon - Le code, en toute simplicité";

  // FormCreate: shows the log and the counters in this window, runs the
  // application's start-up with Args and, with "--start", queues the
  // automatic start for when the event loop runs.
  TFMirelon(TApplication& App, const std::vector<std::string>& Args, TOpenUrl OpenUrl);
  ~TFMirelon() override;

  TLogMemo* Memo() const { return FMemo; }
  TStatusPanels* StatusBar() const { return FStatusBar; }

  // The buttons, in the order of the panel.
  void ActServerClick();
  void ActOpenWebClick();
  void ActOpenWebHelpClick();
  void ActClearCslClick();
  void ActCloseClick();
  void ActAboutClick();

 protected:
  // The close box and "Quitter" alike: the server stops before the window closes.
  void closeEvent(QCloseEvent* Event) override;

 private:
  void BuildWidgets();
  QWidget* BuildButtonPanel();
  QPushButton* AddButton(const char* Name, const char* Caption, int Width, void (TFMirelon::*Click)());
  void ShowInThisWindow();
  void FlushLog();
  void AutoStartNow();
  void OpenAddress(const std::string& Url);
  void ShowServerState();
  void CentreOnScreen();

  TApplication& FApp;
  TOpenUrl FOpenUrl;
  bool FDestroying = false;
  TLogMemo* FMemo = nullptr;
  TStatusPanels* FStatusBar = nullptr;
  QPushButton* FServerButton = nullptr;
};

}  // namespace mirelon

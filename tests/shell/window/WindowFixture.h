// A window over a real application object whose folders are temporary, with
// a browser that records the addresses it is asked to open.
#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "server/Application.h"
#include "shell/window/LogMemo.h"
#include "shell/window/MainWindow.h"

namespace mirelon::test {

// Runs the window's event loop until Done holds or Milliseconds pass.
bool PumpUntil(const std::function<bool()>& Done, int Milliseconds = 5000);
void PumpPending();

// A port that nothing listens on right now.
int FreePort();

class WindowTest : public testing::Test {
 protected:
  WindowTest();
  ~WindowTest() override;

  // Creates the window with Args ("--offline" is added) and shows the start-up lines.
  void Open(std::vector<std::string> Args = {});
  QPushButton* Button(const char* Name) const;
  QStringList Lines() const { return Window->Memo()->Lines(); }
  bool LogHas(const std::string& Line) const;

  std::filesystem::path Root;
  TApplication App;
  std::vector<std::string> Opened;
  bool BrowserStarts = true;
  std::unique_ptr<TFMirelon> Window;
};

}  // namespace mirelon::test

// The update check of the program's start, run in the background: start-up
// goes on at once, and the check's one console line arrives when it ends.
#pragma once

#include <functional>
#include <string>

#include "update/BackgroundJob.h"
#include "update/Version.h"

namespace mirelon {

class TBackgroundUpdateCheck {
 public:
  using TLineCallback = std::function<void(const std::u16string& line)>;

  // Starts the check against serviceBase (empty: without the service) and
  // returns at once. onLine gets the line ("# " and the outcome) on the
  // check's thread, once, unless the check was stopped first.
  TBackgroundUpdateCheck(std::string serviceBase, TLineCallback onLine, TVersionNumber current = BuildVersion());
  // Stops the check and waits for its thread (so does destroying it): some 50 ms at most, plus
  // onLine if it is running. So onLine must never wait for the thread that
  // stops the check.
  void Stop() { FJob.Stop(); }
  bool Running() const { return FJob.Running(); }

 private:
  TBackgroundJob FJob;
};

}  // namespace mirelon

#include "update/UpdateCheck.h"

#include "update/UpdateManager.h"

namespace mirelon {

TBackgroundUpdateCheck::TBackgroundUpdateCheck(std::string serviceBase, TLineCallback onLine, TVersionNumber current) {
  FJob.TryStart([serviceBase = std::move(serviceBase), onLine = std::move(onLine),
                 current](const std::function<bool()>& cancelled) {
    TUpdateManager manager(serviceBase, current);
    manager.SetCancelCheck(cancelled);
    std::u16string line = UpdateCheckLine(manager);
    if (!cancelled() && onLine) onLine(line);
  });
}

}  // namespace mirelon

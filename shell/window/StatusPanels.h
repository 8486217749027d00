// The status bar: seven panels, six of 100 pixels and one of 50, holding
// "Requêtes : ", the request count, "Exécutions : ", the execution count,
// "Erreurs : ", the error count, and an empty panel.
#pragma once

#include <QLabel>
#include <QWidget>
#include <array>

#include "log/StatusCounters.h"

namespace mirelon {

class TStatusPanels : public QWidget {
 public:
  explicit TStatusPanels(QWidget* Parent);

  // Shows the counts. Counts from several threads may arrive out of order,
  // and a counter only ever grows, so each panel keeps the highest count
  // it was given: a late copy never shows an older value.
  void ShowStatusCounters(TCounts Counts);
  QLabel* Panel(int Index) const { return FPanels[static_cast<size_t>(Index)]; }

 private:
  std::array<QLabel*, 7> FPanels{};
  TCounts FShown;
};

}  // namespace mirelon

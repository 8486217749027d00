#include "shell/window/StatusPanels.h"

#include <QHBoxLayout>
#include <algorithm>

#include "shell/window/WindowLook.h"

namespace mirelon {

namespace {

struct TPanelLook {
  const char* Text;
  int Width;
  Qt::Alignment Align;
};

constexpr Qt::Alignment kCaption = Qt::AlignRight | Qt::AlignVCenter;
constexpr TPanelLook kPanels[7] = {
    {"Requêtes : ", 100, kCaption}, {"0", 100, Qt::AlignCenter}, {"Exécutions : ", 100, kCaption},
    {"0", 100, Qt::AlignCenter},    {"Erreurs : ", 100, kCaption}, {"0", 100, Qt::AlignCenter},
    {"", 50, Qt::AlignCenter},
};

}  // namespace

TStatusPanels::TStatusPanels(QWidget* Parent) : QWidget(Parent) {
  setObjectName("StatusBar");
  setFixedHeight(kStatusBarHeight);
  auto* Row = new QHBoxLayout(this);
  Row->setContentsMargins(0, 0, 0, 0);
  Row->setSpacing(0);
  for (size_t I = 0; I < FPanels.size(); ++I) {
    auto* Panel = new QLabel(QString::fromUtf8(kPanels[I].Text), this);
    Panel->setFixedWidth(kPanels[I].Width);
    Panel->setAlignment(kPanels[I].Align);
    Panel->setFrameShape(QFrame::StyledPanel);
    Panel->setFrameShadow(QFrame::Sunken);
    Row->addWidget(Panel);
    FPanels[I] = Panel;
  }
  Row->addStretch();
}

void TStatusPanels::ShowStatusCounters(TCounts Counts) {
  FShown.Requests = std::max(FShown.Requests, Counts.Requests);
  FShown.Executions = std::max(FShown.Executions, Counts.Executions);
  FShown.Errors = std::max(FShown.Errors, Counts.Errors);
  FPanels[1]->setText(QString::number(FShown.Requests));
  FPanels[3]->setText(QString::number(FShown.Executions));
  FPanels[5]->setText(QString::number(FShown.Errors));
}

}  // namespace mirelon

#include "shell/window/MainWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QPointer>
#include <QScreen>
#include <QVBoxLayout>

#include "shell/window/LogMemo.h"
#include "shell/window/LogoBackdrop.h"
#include "shell/window/StatusPanels.h"
#include "shell/window/WindowLook.h"

namespace mirelon {

namespace {

const char* const kStartCaption = "Démarrer le serveur";
const char* const kStopCaption = "Arrêter le serveur";

// Runs Work on the window's thread later, from any thread. The queue is the
// application's, which outlives the window, and the guard drops the call
// once the window is gone: a connection thread may still log while the
// window is being destroyed.
template <typename TWork>
void QueueToWindow(const QPointer<TFMirelon>& Window, TWork Work) {
  QMetaObject::invokeMethod(
      QCoreApplication::instance(),
      [Window, Work = std::move(Work)] {
        if (Window) Work(*Window);
      },
      Qt::QueuedConnection);
}

}  // namespace

TFMirelon::TFMirelon(TApplication& App, const std::vector<std::string>& Args, TOpenUrl OpenUrl)
    : QWidget(nullptr,
              Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                  Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      FApp(App),
      FOpenUrl(std::move(OpenUrl)) {
  setObjectName("FMirelon");
  setWindowTitle(QString::fromUtf8(kCaption));
  setWindowIcon(QIcon(TLogoBackdrop::Logo()));
  setFont(InterfaceFont());
  BuildWidgets();
  setFixedSize(kClientWidth, kClientHeight);
  CentreOnScreen();
  ShowInThisWindow();
  FApp.Create(Args);
  ShowServerState();
  if (FApp.AutoStart()) QMetaObject::invokeMethod(this, &TFMirelon::AutoStartNow, Qt::QueuedConnection);
}

TFMirelon::~TFMirelon() { FDestroying = true; }

void TFMirelon::BuildWidgets() {
  auto* Column = new QVBoxLayout(this);
  Column->setContentsMargins(0, 0, 0, 0);
  Column->setSpacing(0);
  FStatusBar = new TStatusPanels(this);
  Column->addWidget(FStatusBar);
  auto* Backdrop = new TLogoBackdrop(this);
  FMemo = Backdrop->Memo();
  Column->addWidget(Backdrop, 1);
  Column->addWidget(BuildButtonPanel());
}

QWidget* TFMirelon::BuildButtonPanel() {
  auto* Panel = new QWidget(this);
  Panel->setObjectName("PanelBtn");
  Panel->setFixedHeight(kButtonPanelHeight);
  auto* Column = new QVBoxLayout(Panel);
  Column->setContentsMargins(0, 0, 0, 0);
  Column->setSpacing(0);
  auto* Bevel = new QFrame(Panel);
  Bevel->setFrameShape(QFrame::HLine);
  Bevel->setFrameShadow(QFrame::Sunken);
  Bevel->setFixedHeight(2);
  Column->addWidget(Bevel);
  auto* Row = new QHBoxLayout;
  Row->setContentsMargins(4, 0, 4, 0);
  Row->setSpacing(4);
  Column->addLayout(Row, 1);
  FServerButton = AddButton("ActServer", kStartCaption, 127, &TFMirelon::ActServerClick);
  Row->addWidget(FServerButton);
  Row->addWidget(AddButton("ActOpenWeb", "Go ! Mirelon", 93, &TFMirelon::ActOpenWebClick));
  Row->addWidget(AddButton("ActOpenWebHelp", "Go ! Aide", 70, &TFMirelon::ActOpenWebHelpClick));
  Row->addStretch();
  Row->addWidget(AddButton("ActClearCsl", "Effacer la console", 118, &TFMirelon::ActClearCslClick));
  Row->addWidget(AddButton("ActClose", "Quitter", 66, &TFMirelon::ActCloseClick));
  Row->addWidget(AddButton("ActAbout", "?", 33, &TFMirelon::ActAboutClick));
  return Panel;
}

QPushButton* TFMirelon::AddButton(const char* Name, const char* Caption, int Width, void (TFMirelon::*Click)()) {
  auto* Button = new QPushButton(QString::fromUtf8(Caption), this);
  Button->setObjectName(Name);
  Button->setFixedSize(Width, kButtonHeight);
  connect(Button, &QPushButton::clicked, this, Click);
  return Button;
}

void TFMirelon::ShowInThisWindow() {
  const QPointer<TFMirelon> Self(this);
  FApp.Log().ShowInWindow([Self] { QueueToWindow(Self, [](TFMirelon& Window) { Window.FlushLog(); }); });
  FApp.Counters().SetDisplay([Self](TCounts Counts) {
    QueueToWindow(Self, [Counts](TFMirelon& Window) {
      if (!Window.FDestroying) Window.FStatusBar->ShowStatusCounters(Counts);
    });
  });
}

// Takes every line buffered since the last flush, in ELogEvent order.
void TFMirelon::FlushLog() {
  std::vector<std::string> Lines = FApp.Log().TakeLines();
  if (!FDestroying) FMemo->AppendLines(Lines);
}

void TFMirelon::AutoStartNow() {
  FApp.Log().ELogEvent("# Démarrage automatique (--start)");
  ActOpenWebClick();
}

void TFMirelon::ActServerClick() {
  FApp.ToggleServer();
  ShowServerState();
}

void TFMirelon::ActOpenWebClick() {
  const std::string Address = FApp.PrepareWorkbenchAddress();
  ShowServerState();
  if (Address.empty()) return;
  if (FOpenUrl(Address))
    FApp.Log().ELogEvent("# Navigateur ouvert avec authentification automatique.");
  else
    FApp.Log().ELogEvent("# Impossible d'ouvrir le navigateur.");
}

void TFMirelon::ActOpenWebHelpClick() {
  if (!FOpenUrl(FApp.HelpAddress())) FApp.Log().ELogEvent("# Impossible d'ouvrir le navigateur.");
}

// Lines still buffered now were logged before the click: they come after the
// clear, followed by the welcome lines.
void TFMirelon::ActClearCslClick() {
  FMemo->clear();
  FApp.LogWelcomeAgain();
}

void TFMirelon::ActCloseClick() { close(); }

void TFMirelon::ActAboutClick() { FApp.LogAbout(); }

void TFMirelon::closeEvent(QCloseEvent* Event) {
  FApp.Quit();
  Event->accept();
}

void TFMirelon::ShowServerState() {
  FServerButton->setText(QString::fromUtf8(FApp.ServerActive() ? kStopCaption : kStartCaption));
}

void TFMirelon::CentreOnScreen() {
  if (const QScreen* Screen = QGuiApplication::primaryScreen())
    move(Screen->availableGeometry().center() - rect().center());
}

}  // namespace mirelon

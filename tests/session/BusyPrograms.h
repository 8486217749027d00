// Programs that keep a run busy inside one builtin for a long time, each
// after it has shown "prêt", and how long such a run takes to end once its
// abort is asked for: the abort tests and the abort benchmark share them.
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "core/Text.h"
#include "session/ExecSession.h"

namespace mirelon::test {

struct TBusyProgram {
  std::string Name;
  std::string Program;
};

namespace busy {

// A text of 2^Doublings copies of Piece, in variable Name.
inline std::string Doubled(const std::string& Name, const std::string& Piece, int Doublings) {
  return Name + " vaut '" + Piece + "'\nrépète " + std::to_string(Doublings) + " fois\n  " + Name + " vaut " + Name +
         " + " + Name + "\nfin répète\n";
}

// An array t of Count elements (Count a multiple of 100000), each the
// expression Item of i and j.
inline std::string Array(int Count, const std::string& Item) {
  return "t vaut []\npour i de 1 à " + std::to_string(Count / 100000) + "\n  pour j de 1 à 100000\n    t ajoute " +
         Item + "\n  fin pour\nfin pour\n";
}

// Numbers and texts in turn: "trier" has to bubble them.
inline const std::string kMixed =
    "t vaut []\npour i de 1 à 30000\n  t ajoute 30000 - i\n  t ajoute 'x' + i\nfin pour\n";

// tx: 4 Mi copies of "a"; m: 2 Mi "a" and a "b": every naive
// comparison runs 2 Mi code units long before it fails.
inline const std::string kLongSearch =
    Doubled("tx", "a", 22) + "m vaut copier(tx, 1, 2097152) + 'b'\n";

}  // namespace busy

inline std::vector<TBusyProgram> BusyPrograms() {
  using namespace busy;
  const std::string ready = "affiche 'prêt'\n";
  return {
      {"trier_mixte", kMixed + ready + "trier(t)\n"},
      {"trier_textes", Array(1000000, "'x' + hasard(1000000)") + ready + "trier(t)\n"},
      {"trier_nombres", Array(1000000, "hasard(1000000)") + ready + "trier(t, 'desc')\n"},
      {"mediane", Array(1000000, "hasard(1000000)") + ready + "x vaut médiane(t)\n"},
      {"unique_mixte", kMixed + ready + "x vaut unique(t)\n"},
      {"joindre", Array(1000000, "'mot' + j") + ready + "x vaut joindre(t, ', ')\n"},
      {"liste_tableau", Array(1000000, "j") + ready + "liste_tableau(t)\n"},
      {"similaire", Doubled("tx", "ab", 16) + Doubled("ty", "ba", 16) + ready + "x vaut similaire(tx, ty)\n"},
      {"position", kLongSearch + ready + "x vaut position(m, tx)\n"},
      {"contient", kLongSearch + ready + "x vaut contient(tx, m)\n"},
      {"remplacer", kLongSearch + ready + "x vaut remplacer(tx, m, 'c')\n"},
      {"compter", kLongSearch + ready + "x vaut compter(tx, m)\n"},
      {"decouper", Doubled("tx", "ab,", 21) + ready + "x vaut découper(tx, ',')\n"},
      {"expression_occurrences", Doubled("tx", "a", 21) + ready + "x vaut expression('a', tx)\n"},
      // Tried from each place, "a*" runs to the end of the text before "b" fails.
      {"expression_balayage", Doubled("tx", "a", 17) + ready + "x vaut expression('a*b|c', tx)\n"},
      {"html", Doubled("h", "<em>x</em>", 20) + ready + "html(h)\n"},
      {"evaluer", Doubled("e", "1+", 22) + "e vaut e + '1'\n" + ready + "x vaut évaluer(e)\n"},
      {"histogramme", "c est une toile\n" + Array(1000000, "j") + ready + "histogramme(c, t)\n"},
  };
}

// Transfers that never end, to a listener on Port that accepts connections
// and never answers.
inline std::vector<TBusyProgram> StalledTransfers(int Port) {
  const std::string url = "'https://127.0.0.1:" + std::to_string(Port) + "/lent.txt'";
  return {
      {"importer", "affiche 'prêt'\nx vaut importer(" + url + ")\n"},
      {"telecharger", "affiche 'prêt'\nx vaut télécharger(" + url + ", '.')\n"},
  };
}

struct TAbortLatency {
  bool EndedBefore = false;  // the run was over before the abort was asked for
  TSessionState State = ssIdle;
  double TurnEndMs = 0;  // from the request to the end of the run's last turn
  double FreedMs = 0;    // to the end of Stop, once the run's values are freed
};

// Runs Program in a session, asks for the abort 30 ms after "prêt" was
// shown and measures until the run is over.
inline TAbortLatency MeasureAbort(const std::string& Program) {
  using Clock = std::chrono::steady_clock;
  std::mutex Lock;
  std::condition_variable Shown;
  bool Ready = false;
  TSessionOptions Options;
  Options.OnEntry = [&](const std::u16string& Entry) {
    if (Entry != u"prêt") return;
    std::lock_guard<std::mutex> Guard(Lock);
    Ready = true;
    Shown.notify_one();
  };
  TExecSession S(Utf8ToUtf16(Program), 0, Options);
  S.Start();
  TAbortLatency Latency;
  {
    std::unique_lock<std::mutex> Guard(Lock);
    // A run that fails before "prêt" ends its turn: it is then over before the abort.
    while (!Ready && !Shown.wait_for(Guard, std::chrono::milliseconds(10), [&] { return Ready; }))
      if (S.State() > ssWaitingInput) break;
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  if ((Latency.EndedBefore = S.WaitTurn(0))) {
    Latency.State = S.State();
    return Latency;
  }
  Clock::time_point Asked = Clock::now();
  auto Since = [Asked] { return std::chrono::duration<double, std::milli>(Clock::now() - Asked).count(); };
  S.RequestAbort();
  S.WaitTurn(UINT32_MAX);
  Latency.TurnEndMs = Since();
  Latency.State = S.State();
  S.Stop();
  Latency.FreedMs = Since();
  return Latency;
}

}  // namespace mirelon::test

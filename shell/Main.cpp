// mirelon: the command line of the learning environment.
#include <cstdio>
#include <string>
#include <vector>

#include "shell/AnalyzeCommand.h"
#include "shell/Console.h"
#include "shell/MinifyCommand.h"
#include "shell/RunCommand.h"
#include "shell/ServeCommand.h"
#include "shell/window/WindowMain.h"

namespace {

const char* const kHelp =
    "mirelon " MIRELON_VERSION " - environnement d'apprentissage de la programmation en français\n"
    "\n"
    "Usage :\n"
    "  mirelon [window] [OPTIONS]       ouvre la fenêtre (OPTIONS : celles de serve)\n"
    "  mirelon run FICHIER [--seed=N]   exécute le programme FICHIER dans la console\n"
    "                                   (N : graine du hasard, pour rejouer une exécution)\n"
    "  mirelon analyze FICHIER          affiche les diagnostics du programme FICHIER\n"
    "  mirelon serve [--port=N] [--stopping=M] [--start] [--offline] [--service=URL]\n"
    "                                   démarre le serveur local de l'atelier\n"
    "  mirelon minify js|css FICHIER    écrit le script ou la feuille de style FICHIER minifié\n"
    "  mirelon --help                   affiche cette aide\n"
    "  mirelon --version                affiche la version\n"
    "\n"
    "Codes de sortie de \"run\" : 0 programme terminé, 1 erreur du programme (message sur la\n"
    "dernière ligne d'erreur), 2 mauvaise utilisation, 130 interrompu (Ctrl-C).\n"
    "Codes de sortie de \"serve\" : 0 arrêté (SIGINT, SIGTERM) ou déjà en cours, 1 démarrage impossible.\n";

int Usage(const std::string& Problem) {
  mirelon::WriteErrorLine("mirelon : " + Problem);
  mirelon::WriteErrorLine("Essayez \"mirelon --help\".");
  return mirelon::kExitUsage;
}

int AnalyzeCommand(const std::vector<std::string>& Args) {
  if (Args.size() != 1 || Args[0].rfind("-", 0) == 0) return Usage("analyze attend exactement un fichier");
  return mirelon::RunAnalyzeCommand(Args[0]);
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> Args(argv + 1, argv + argc);
  // No command, `window`, or options alone: the window, which ignores the options it does not know.
  if (Args.empty()) return mirelon::RunWindow(argc, argv, Args, MIRELON_DEFAULT_SERVICE);
  const std::string Command = Args[0];
  std::vector<std::string> Rest(Args.begin() + 1, Args.end());
  if (Command == "--help" || Command == "-h") {
    fputs(kHelp, stdout);
    return mirelon::kExitDone;
  }
  if (Command == "--version") {
    puts("mirelon " MIRELON_VERSION);
    return mirelon::kExitDone;
  }
  if (Command == "run") return mirelon::RunCommand(Rest);
  if (Command == "analyze") return AnalyzeCommand(Rest);
  if (Command == "minify") return mirelon::RunMinifyCommand(Rest);
  if (Command == "serve") return mirelon::RunServeCommand(Rest);
  if (Command == "window") return mirelon::RunWindow(argc, argv, Rest, MIRELON_DEFAULT_SERVICE);
  if (Command.rfind("-", 0) == 0) return mirelon::RunWindow(argc, argv, Args, MIRELON_DEFAULT_SERVICE);
  return Usage("commande inconnue \"" + Command + "\"");
}

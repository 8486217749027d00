// "mirelon run": output, questions, errors, seeds and Ctrl-C, end to end.
#include <signal.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>

#include <gtest/gtest.h>

#include "MirelonProcess.h"

using namespace mirelon::test;
using namespace std::chrono_literals;

TEST(ShellRunOutput, EntriesInOrderOnePerLine) {
  TProcessResult R = RunProgram("affiche 1 + 1\naffiche 'deux mots'\naffiche 3,5\naffiche ''\n");
  EXPECT_EQ(R.ExitCode, 0) << R.Err;
  EXPECT_EQ(R.Out, "2\ndeux mots\n3,5\n\n");
  EXPECT_EQ(R.Err, "");
}

TEST(ShellRunOutput, TerminerIsANormalEnd) {
  TProcessResult R = RunProgram("affiche 'a'\nsi vrai alors\n  terminer\nfin si\naffiche 'b'\n");
  EXPECT_EQ(R.ExitCode, 0) << R.Err;
  EXPECT_EQ(R.Out, "a\n");
}

TEST(ShellRunSource, ByteOrderMarkIsSkipped) {
  TProcessResult R = RunProgram("\xEF\xBB\xBF" "affiche 'été'\n");
  EXPECT_EQ(R.ExitCode, 0) << R.Err;
  EXPECT_EQ(R.Out, "été\n");
}

TEST(ShellRunSource, InvalidUtf8BecomesReplacementCharacter) {
  TProcessResult R = RunProgram("affiche 'a\xFF" "b\xC3'\n");
  EXPECT_EQ(R.ExitCode, 0) << R.Err;
  EXPECT_EQ(R.Out, "a\xEF\xBF\xBD" "b\xEF\xBF\xBD\n");
}

TEST(ShellRunSource, WindowsLineEndsInTheProgram) {
  TProcessResult R = RunProgram("x vaut 2\r\naffiche x * 3\r\n");
  EXPECT_EQ(R.ExitCode, 0) << R.Err;
  EXPECT_EQ(R.Out, "6\n");
}

TEST(ShellRunErrors, MessageWithLineIsTheLastStderrLine) {
  TProcessResult R = RunProgram("affiche 'avant'\naffiche 10 / 0\naffiche 'après'\n");
  EXPECT_EQ(R.ExitCode, 1);
  EXPECT_EQ(R.Out, "avant\n");
  EXPECT_EQ(R.Err, "Ligne 2: Division par zéro\n");
}

TEST(ShellRunErrors, MessageWithoutLine) {
  TProcessResult R = RunProgram("affiche 1\nfonction f\n  retourne 2\n");
  EXPECT_EQ(R.ExitCode, 1);
  EXPECT_EQ(R.Out, "");  // pre-passes fail before the first statement
  EXPECT_EQ(LastLine(R.Err), "Définition \"f\" sans fin correspondante");
}

TEST(ShellRunErrors, HostFailureReportsItsMessageWithoutLine) {
  TProcessResult R = RunProgram("affiche 1\naffiche U+D800\n");
  EXPECT_EQ(R.ExitCode, 1);
  EXPECT_EQ(R.Out, "");
  EXPECT_EQ(LastLine(R.Err).rfind("Valeur caractère UTF32 non valide.", 0), 0u) << R.Err;
}

TEST(ShellRunErrors, ErrorAfterAPromptStandsOnItsOwnLine) {
  TProcessResult R = RunProgram("demande 'Ton nom ?' dans nom\naffiche nom / 0\n", "Zoé");
  EXPECT_EQ(R.ExitCode, 1);
  EXPECT_EQ(LastLine(R.Err), "Ligne 2: Division par zéro");
  EXPECT_NE(R.Err.find("Ton nom ?"), std::string::npos);
}

TEST(ShellRunErrors, EndlessRecursionIsALanguageErrorNotACrash) {
  TProcessResult R = RunProgram("fonction f(n)\n  retourne f(n + 1)\nfin fonction\naffiche f(0)\n");
  EXPECT_EQ(R.ExitCode, 1) << R.Err;
  EXPECT_NE(LastLine(R.Err).find("Récursion trop profonde"), std::string::npos) << R.Err;
}

TEST(ShellRunInput, AnswersAreLinesWithoutTheirEnds) {
  const char* Program =
      "demande a1\naffiche '[' + a1 + ']'\n"
      "demande a2\naffiche '[' + a2 + ']'\n"
      "demande a3\naffiche '[' + a3 + ']'\n"
      "demande a4\naffiche '[' + a4 + ']'\n";
  TProcessResult R = RunProgram(Program, "un\r\n\ntrois fin");
  EXPECT_EQ(R.ExitCode, 0) << R.Err;
  EXPECT_EQ(R.Out, "[un]\n[]\n[trois fin]\n[]\n");  // past the end of input: empty answers
}

TEST(ShellRunInput, AnswersAreUtf8AndConvertedToTheTargetKind) {
  TProcessResult R = RunProgram("age est un nombre\ndemande age\ndemande nom\naffiche nom + ' a ' + (age + 1)\n",
                                "12,5\nChloé\n");
  EXPECT_EQ(R.ExitCode, 0) << R.Err;
  EXPECT_EQ(R.Out, "Chloé a 13,5\n");
}

TEST(ShellRunInput, OutputIsFlushedBeforeEachQuestion) {
  TMirelonProcess P({"run", WriteTempFile("flush.mir", "affiche 'avant'\ndemande x\naffiche x\n")});
  EXPECT_TRUE(P.WaitForOutput("avant\n", std::chrono::seconds(30)));
  P.WriteStdin("réponse\n");
  TProcessResult R = P.Wait(std::chrono::seconds(30));
  EXPECT_EQ(R.ExitCode, 0) << R.Err;
  EXPECT_EQ(R.Out, "avant\nréponse\n");
}

TEST(ShellRunInput, ClosedStdinGivesEmptyAnswers) {
  std::string Program = WriteTempFile("ferme.mir", "demande x\naffiche '[' + x + ']'\n");
  std::string Out = WriteTempFile("ferme.out", "");
  // A regression would wait forever on its own wake pipe: bounded by timeout.
  std::string Command = std::string("timeout 30 '") + MIRELON_BINARY + "' run '" + Program + "' <&- >'" + Out + "' 2>/dev/null";
  int Status = std::system(Command.c_str());
  EXPECT_TRUE(WIFEXITED(Status) && WEXITSTATUS(Status) == 0) << Status;
  std::ifstream In(Out);
  std::string Line;
  std::getline(In, Line);
  EXPECT_EQ(Line, "[]");
}

TEST(ShellRunInput, PlainPromptIsShownOnStderr) {
  TProcessResult R = RunProgram("demande 'Quelle couleur ?' dans c\ndemande x\n", "bleu\nvert\n");
  EXPECT_EQ(R.ExitCode, 0) << R.Err;
  EXPECT_EQ(R.Out, "");
  EXPECT_NE(R.Err.find("Quelle couleur ?"), std::string::npos);
  EXPECT_NE(R.Err.find(" ... ? "), std::string::npos);
}

TEST(ShellRunInput, ChoicePromptIsANumberedList) {
  TProcessResult R = RunProgram("n est un nombre\nchoisir ['Pomme', 'Poire', 'Prune'] dans n\naffiche n\n", "3\n");
  EXPECT_EQ(R.ExitCode, 0) << R.Err;
  EXPECT_EQ(R.Out, "3\n");
  EXPECT_NE(R.Err.find("1. Pomme\n2. Poire\n3. Prune\n"), std::string::npos) << R.Err;
  EXPECT_EQ(R.Err.find('\x01'), std::string::npos) << "markers must not reach the terminal";
}

TEST(ShellRunInput, KeyPromptShowsKeysWithTheirNumbers) {
  TProcessResult R = RunProgram("k est un nombre\nappuyer ['Z', 'Soleil'] dans k\naffiche k\n", "2\n");
  EXPECT_EQ(R.ExitCode, 0) << R.Err;
  EXPECT_EQ(R.Out, "2\n");
  EXPECT_NE(R.Err.find("1. z\n2. s\n"), std::string::npos) << R.Err;
  EXPECT_EQ(R.Err.find('\x01'), std::string::npos);
}

TEST(ShellRunSeed, SeedMakesRunsReproducible) {
  const std::string Program = "répète 5 fois\n  affiche hasard(100)\nfin répète\n";
  TProcessResult R = RunProgram(Program, "", {"--seed=0"});
  EXPECT_EQ(R.ExitCode, 0) << R.Err;
  EXPECT_EQ(R.Out, "0\n3\n86\n20\n27\n");
  EXPECT_EQ(RunProgram(Program, "", {"--seed=4294967296"}).Out, R.Out);  // low 32 bits
  EXPECT_EQ(RunProgram(Program, "", {"--seed=-1"}).Out, RunProgram(Program, "", {"--seed=4294967295"}).Out);
  EXPECT_EQ(RunProgram(Program, "", {"--seed=77"}).Out, RunProgram(Program, "", {"--seed=77"}).Out);
}

TEST(ShellRunInterrupt, CtrlCStopsAnEndlessLoop) {
  // Nested loops: each loop stays under its iteration limit, the whole never ends.
  const char* Program =
      "affiche 'prêt'\n"
      "répète 100000 fois\n  répète 100000 fois\n    répète 100000 fois\n"
      "    fin répète\n  fin répète\nfin répète\n";
  TMirelonProcess P({"run", WriteTempFile("boucle.mir", Program)});
  ASSERT_TRUE(P.WaitForOutput("prêt", 30s));
  P.Signal(SIGINT);
  TProcessResult R = P.Wait(5s);
  EXPECT_FALSE(R.TimedOut);
  EXPECT_EQ(R.ExitCode, 130);
}

TEST(ShellRunInterrupt, CtrlCStopsARunWaitingForAnAnswer) {
  TMirelonProcess P({"run", WriteTempFile("question.mir", "essayer\n  demande 'Encore ?' dans x\nattraper e\n"
                                                          "  affiche 'attrapé'\nfin essayer\n")});
  ASSERT_TRUE(P.WaitForOutput("Encore ?", 30s, true));
  P.Signal(SIGINT);
  TProcessResult R = P.Wait(5s);
  EXPECT_FALSE(R.TimedOut);
  EXPECT_EQ(R.ExitCode, 130);
  EXPECT_EQ(R.Out, "");  // "essayer" does not catch an interruption
}

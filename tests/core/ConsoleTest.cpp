#include <gtest/gtest.h>

#include "TestRun.h"

using namespace mirelon::test;

TEST(ConsoleShow, EntriesAndMarkers) {
  EXPECT_EQ(Out("affiche 2 + 2\ndéboguer [1, 'a']"), "4\n__DEBUG__[1, a]__");
  TRunResult r = RunProgram("t est une toile\naffiche t\nanim est un tableau\nanim ajoute t\naffiche anim[0]");
  ASSERT_EQ(r.Lines.size(), 2u) << r.Error;
  EXPECT_EQ(r.Lines[0].rfind("__SVG__<svg", 0), 0u);
  EXPECT_EQ(r.Lines[0], r.Lines[1]);  // a snapshot shows like the canvas it was taken from
}

TEST(ConsoleColor, StatementAndExpression) {
  EXPECT_EQ(Out("couleur('#ff8800')"), "__COLOR__#ff8800__");
  EXPECT_EQ(Out("couleur('#0')\ncouleur('défaut')\ncouleur(' reset ')"),
            "__COLOR__reset__\n__COLOR__reset__\n__COLOR__reset__");
  EXPECT_EQ(Err("couleur('rouge')"), "Ligne 1: couleur : valeur invalide \"rouge\". Utilisez #RRGGBB ou #0 pour reset.");
  EXPECT_EQ(Out("couleur('#00FF00', 'ok')"), "\x02#00FF00\x03ok\x02/\x03");
  EXPECT_EQ(Out("couleur('#0', 'ok')"), "ok");
  EXPECT_EQ(Err("couleur('#00FF00', html('x'))"),
            "Ligne 1: couleur ne peut pas être appliquée à du html(). Utilisez html() pour la mise en forme, ou couleur() "
            "sur du texte simple.");
  EXPECT_EQ(Out("affiche couleur('#FF0000', 'rouge') + ' et noir'"), "\x02#FF0000\x03rouge\x02/\x03 et noir");
  EXPECT_EQ(Out("affiche couleur('#FF0000') + 'x' + couleur('reset')"), "\x02#FF0000\x03x\x02/\x03");
  // The expression form checks the colour before reading the text.
  EXPECT_EQ(Err("affiche couleur('x', 1 / 0)"),
            "Ligne 1: couleur : valeur invalide \"x\". Utilisez #RRGGBB ou #0 pour reset.");
}

TEST(ConsoleHtml, TagFilter) {
  EXPECT_EQ(Err("html('<h1>Titre</h1><p>x</p>')"),
            "Ligne 1: html : balise <p> non autorisée. Balises permises : h1 à h6, a, img, ul, ol, li, strong, em.");
  EXPECT_EQ(Out("html('<H2 class=\"a\">T</H2>')"), "__HTML__<H2 class=\"a\">T</H2>__");
  EXPECT_EQ(Out("affiche html('<em>x</em> < 3')"), "__HTML__<em>x</em> < 3__");
  EXPECT_EQ(Err("html('< script>')"), "Ligne 1: html : balise <script> non autorisée. Balises permises : h1 à h6, a, img, ul, ol, li, strong, em.");
}

TEST(ConsoleAsk, ThreeFormsAndConversions) {
  TRunResult r = RunProgram("demande age\naffiche age + 1", {"12"});
  EXPECT_EQ(r.Text(), "121");
  EXPECT_EQ(r.Prompts, std::vector<std::string>{" ... ? "});
  EXPECT_EQ(Out("age est un nombre\ndemande 'Ton âge ?' dans age\naffiche age + 1", {"12,5"}), "13,5");
  EXPECT_EQ(Out("age est un nombre\ndemande age\naffiche age", {"douze"}), "0");
  r = RunProgram("q vaut 'Nom ?'\ndemande q dans n\ndemande q + '!' dans m\naffiche n + m", {"a", "b"});
  EXPECT_EQ(r.Prompts, (std::vector<std::string>{"Nom ?", "Nom ?!"}));
  EXPECT_EQ(r.Text(), "ab");
  for (const char* yes : {" VRAI ", "true", "1"})
    EXPECT_EQ(Out("ok est un booléen\ndemande ok\naffiche ok", {yes}), "vrai") << yes;
  EXPECT_EQ(Out("ok est un booléen\ndemande ok\naffiche ok", {"oui"}), "faux");
  EXPECT_EQ(Err("t est un tableau\ndemande t"), "Ligne 2: demande sur tableau non supporté");
  EXPECT_EQ(Err("demande 'x' t"), "Ligne 1: demande \"texte\" attend le mot-clé \"dans\"");
  EXPECT_EQ(Err("demande 3"), "Ligne 1: demande attend un nom de variable");
  EXPECT_EQ(Err("dans x"), "Ligne 1: Élément attendu : demande, mais trouvé : \"dans\"");
  EXPECT_EQ(Out("d est une date\ndemande d\naffiche d", {"5/3/2024"}), "30/12/1899");
}

TEST(ConsoleChoices, ChoisirAndAppuyer) {
  TRunResult r = RunProgram("n est un nombre\nchoisir ['A', 'B', 'C'] dans n\naffiche n", {"3"});
  EXPECT_EQ(r.Prompts, std::vector<std::string>{"\x01" "CHOISIR\x01" "A\x01" "B\x01" "C"});
  EXPECT_EQ(r.Text(), "3");
  EXPECT_EQ(Out("n est un nombre\nchoisir ['A', 'B'] dans n\naffiche n", {"7"}), "1");
  EXPECT_EQ(Out("n est un nombre\nopts vaut ['x', 'y']\nchoisir opts dans n\naffiche n", {"2"}), "2");
  r = RunProgram("k est un nombre\nappuyer ['Z', 'Soleil'] dans k\naffiche k", {"2"});
  EXPECT_EQ(r.Prompts, std::vector<std::string>{"\x01" "APPUYER\x01z\x01s"});
  EXPECT_EQ(r.Text(), "2");
  r = RunProgram("choisir ['A'] dans n");
  EXPECT_EQ(r.Error, "Ligne 1: choisir : la variable \"n\" doit être déclarée comme un nombre (ex : n est un nombre)");
  EXPECT_TRUE(r.Prompts.empty());
  EXPECT_EQ(Err("n vaut 'x'\nappuyer ['a'] dans n"), "Ligne 2: appuyer : la variable \"n\" doit être de type nombre");
  EXPECT_EQ(Err("n vaut 1\nchoisir [] dans n"), "Ligne 2: choisir attend au moins une option");
  EXPECT_EQ(Err("n vaut 1\nchoisir 3 dans n"),
            "Ligne 2: choisir attend une liste entre crochets, ex : choisir ['A', 'B'] dans x, ou un tableau, ex : "
            "choisir mesOptions dans x");
  EXPECT_EQ(Err("n vaut 1\nchoisir ['a' dans n"), "Ligne 2: choisir : crochet fermant \"]\" attendu");
  EXPECT_EQ(Err("n vaut 1\nappuyer 'a' dans n"),
            "Ligne 2: appuyer attend une liste de touches entre crochets, ex : appuyer ['z', 's', 'd', 'q'] dans action");
  EXPECT_EQ(Err("n vaut 1\nappuyer ['a'] n"), "Ligne 2: appuyer attend le mot-clé \"dans\"");
}

TEST(ConsoleAbort, CheckedAtEveryStatementAndIteration) {
  mirelon::TMirelon M{mirelon::StandardBuiltins()};
  int calls = 0;
  M.SetOnCheckAbort([&] { return ++calls > 50; });
  M.OnOutput = [](const std::u16string&) {};
  EXPECT_THROW(M.Execute(u"tant que vrai\nfin tant que"), mirelon::EMirelonAborted);
  calls = 0;
  EXPECT_THROW(M.Execute(u"fonction f()\nretourne f()\nfin fonction\nessayer\naffiche f()\nattraper\nfin essayer"),
               mirelon::EMirelonAborted);
}

TEST(ConsoleRuns, ExecuteTwiceForgetsTheFirstRun) {
  mirelon::TMirelon M{mirelon::StandardBuiltins()};
  std::vector<std::string> out;
  M.OnOutput = [&](const std::u16string& m) { out.push_back(mirelon::Utf16ToUtf8(m)); };
  M.Execute(u"constante K vaut 1\nx vaut 2\nfonction f()\nretourne 3\nfin fonction");
  EXPECT_THROW(M.Execute(u"affiche x"), mirelon::EMirelonError);
  EXPECT_THROW(M.Execute(u"affiche f()"), mirelon::EMirelonError);
  M.Execute(u"K vaut 5\naffiche K");
  EXPECT_EQ(out, std::vector<std::string>{"5"});
}

// The five projects actions: answers, log lines and the file's bytes.
#include "ProjectsTestKit.h"

using namespace mirelon;
using namespace mirelon::test;

using TLines = std::vector<std::string>;

namespace {

const std::string kTitleTaken = "409 {\"ok\":false,\"error\":\"Un \\u00E9l\\u00E9ment porte d\\u00E9j\\u00E0 ce titre.\"}";
const std::string kNotFound = "404 {\"ok\":false,\"error\":\"Programme introuvable\"}";

}  // namespace

TEST_F(TProjectsTest, AFreshStorageHoldsAnEmptyList) {
  ASSERT_TRUE(Storage.PrepareStorage());
  EXPECT_EQ(Storage.File(), Folder / "Mirelon.json");
  EXPECT_EQ(FileBytes(), kBom + "{\"programmes\":[]}");
  EXPECT_EQ(TakeLines(), TLines{});

  TReply Reply = Act("list");
  EXPECT_EQ(Reply.Status, 200);
  EXPECT_EQ(Reply.FullContentType(), "application/json; charset=utf-8");
  EXPECT_EQ(Reply.Body, "{\"ok\":true,\"programmes\":[]}");
  EXPECT_EQ(TakeLines(), TLines{"$ API projets/list : 0 programme(s)"});

  // Preparing again leaves a file that is there as it is.
  WriteBytes(Storage.File(), "déjà là");
  EXPECT_TRUE(Storage.PrepareStorage());
  EXPECT_EQ(FileBytes(), "déjà là");
}

TEST_F(TProjectsTest, EveryActionWritesTheExactBytes) {
  ASSERT_TRUE(Storage.PrepareStorage());
  EXPECT_EQ(Answer("save", R"({"titre":"  Église ","code":"affiche 1"})"),
            R"(200 {"ok":true,"id":1,"titre":"\u00C9glise","categorie":"programme"})");
  EXPECT_EQ(FileBytes(), StoredFile(R"([{"id":1,"titre":"\u00C9glise","categorie":"programme","code":"affiche 1"}])"));
  EXPECT_EQ(TakeLines(), TLines{"$ API projets/save : #1 « Église » [programme]"});

  EXPECT_EQ(Answer("save", R"({"code":"a/b\r\n\u0001","categorie":" bibliotheque ","titre":"Outils"})"),
            R"(200 {"ok":true,"id":2,"titre":"Outils","categorie":"bibliotheque"})");
  const std::string Second = R"({"id":2,"titre":"Outils","categorie":"bibliotheque","code":"a\/b\r\n\u0001"})";

  // A rename moves "titre" to the end of the entry, an update "code".
  EXPECT_EQ(Answer("rem", R"({"id":1,"titre":" Chapelle\t"})"), R"(200 {"ok":true,"id":1,"titre":"Chapelle"})");
  EXPECT_EQ(FileBytes(),
            StoredFile(R"([{"id":1,"categorie":"programme","code":"affiche 1","titre":"Chapelle"},)" + Second + "]"));
  EXPECT_EQ(Answer("save", R"({"id":1,"titre":"ignoré","categorie":"autre","code":"affiche 2"})"),
            R"(200 {"ok":true,"id":1,"titre":"Chapelle","categorie":"programme"})");
  EXPECT_EQ(FileBytes(),
            StoredFile(R"([{"id":1,"categorie":"programme","titre":"Chapelle","code":"affiche 2"},)" + Second + "]"));

  EXPECT_EQ(Answer("load", R"({"id":2})"),
            R"(200 {"ok":true,"id":2,"titre":"Outils","categorie":"bibliotheque","code":"a\/b\r\n\u0001"})");
  EXPECT_EQ(Answer("list"), R"(200 {"ok":true,"programmes":[{"id":1,"titre":"Chapelle","categorie":"programme"},)"
                            R"({"id":2,"titre":"Outils","categorie":"bibliotheque"}]})");
  EXPECT_EQ(Answer("del", R"({"id":1})"), R"(200 {"ok":true})");
  EXPECT_EQ(FileBytes(), StoredFile("[" + Second + "]"));
  EXPECT_EQ(TakeLines(), (TLines{"$ API projets/save : #2 « Outils » [bibliotheque]",
                                "$ API projets/rem : #1 → « Chapelle »",
                                "$ API projets/save : #1 « Chapelle » [programme]",
                                "$ API projets/load : #2 « Outils »",
                                "$ API projets/list : 2 programme(s)",
                                "$ API projets/del : #1 supprimé"}));
}

TEST_F(TProjectsTest, TitlesClashWithinACategoryOnly) {
  ASSERT_TRUE(Storage.PrepareStorage());
  EXPECT_EQ(Act("save", R"({"titre":"Tortue","code":""})").Status, 200);
  const std::string Before = FileBytes();
  TakeLines();
  // ASCII case and surrounding blanks do not make another title; a blank category is "programme".
  EXPECT_EQ(Answer("save", R"({"titre":"  tortue ","code":""})"), kTitleTaken);
  EXPECT_EQ(Answer("save", R"({"titre":"TORTUE","categorie":"  ","code":""})"), kTitleTaken);
  EXPECT_EQ(FileBytes(), Before);
  EXPECT_EQ(TakeLines(), TLines{});  // refusals are not logged

  EXPECT_EQ(Act("save", R"({"titre":"tortue","categorie":"bibliotheque","code":""})").Status, 200);
  EXPECT_EQ(Answer("save", R"({"titre":"Tortue","categorie":"BIBLIOTHEQUE","code":""})"), kTitleTaken);
  // Accented letters compare exactly.
  EXPECT_EQ(Act("save", R"({"titre":"École","code":""})").Status, 200);
  EXPECT_EQ(Act("save", R"({"titre":"école","code":""})").Status, 200);

  // An entry keeps its own title in another case; another entry's title is refused.
  EXPECT_EQ(Answer("rem", R"({"id":2,"titre":"TORTUE"})"), R"(200 {"ok":true,"id":2,"titre":"TORTUE"})");
  EXPECT_EQ(Answer("rem", R"({"id":3,"titre":"tortue"})"), kTitleTaken);
}

TEST_F(TProjectsTest, CategoriesOfOtherToolsAreReportedAsStoredAndCompareTrimmed) {
  fs::create_directories(Folder);
  WriteBytes(Storage.File(), R"({"programmes":[{"id":7,"titre":" Vieux ","categorie":" bibliotheque ","code":"x"},)"
                             R"({"titre":"Sans id","categorie":""},{"id":"8","titre":5},"pas un objet"]})");
  EXPECT_EQ(Answer("list"), R"(200 {"ok":true,"programmes":[{"id":7,"titre":" Vieux ","categorie":" bibliotheque "},)"
                            R"({"id":0,"titre":"Sans id","categorie":"programme"},)"
                            R"({"id":0,"titre":"","categorie":"programme"},{"id":0,"titre":"","categorie":"programme"}]})");
  EXPECT_EQ(TakeLines(), TLines{"$ API projets/list : 4 programme(s)"});
  EXPECT_EQ(Answer("save", R"({"titre":"vieux","categorie":"bibliotheque","code":""})"), kTitleTaken);
  EXPECT_EQ(Answer("save", R"({"titre":"sans ID","code":""})"), kTitleTaken);
  // A rename keeps the entry's category as stored, and what the other tool left is kept.
  EXPECT_EQ(Act("rem", R"({"id":7,"titre":"Neuf"})").Status, 200);
  EXPECT_EQ(FileBytes(), StoredFile(R"([{"id":7,"categorie":" bibliotheque ","code":"x","titre":"Neuf"},)"
                                    R"({"titre":"Sans id","categorie":""},{"id":"8","titre":5},"pas un objet"])"));
}

TEST_F(TProjectsTest, IdsFollowTheHighestOne) {
  ASSERT_TRUE(Storage.PrepareStorage());
  for (const char* Title : {"a", "b", "c"}) Act("save", std::string(R"({"code":"","titre":")") + Title + "\"}");
  EXPECT_EQ(Act("del", R"({"id":3})").Status, 200);
  EXPECT_EQ(Answer("save", R"({"code":"","titre":"d"})"), R"(200 {"ok":true,"id":3,"titre":"d","categorie":"programme"})");
  EXPECT_EQ(Act("del", R"({"id":2})").Status, 200);
  EXPECT_EQ(Answer("save", R"({"code":"","titre":"e","id":0})"),
            R"(200 {"ok":true,"id":4,"titre":"e","categorie":"programme"})");
  EXPECT_EQ(Answer("load", R"({"id":2})"), kNotFound);

  // Ids that cannot be read (a text, a fraction, beyond 2^53) count for nothing.
  WriteBytes(Storage.File(), R"({"programmes":[{"id":5.0},{"id":"90"},{"id":7.5},{"id":1e300},{"id":-3}]})");
  EXPECT_EQ(Answer("save", R"({"code":"","titre":"f"})"), R"(200 {"ok":true,"id":6,"titre":"f","categorie":"programme"})");
  WriteBytes(Storage.File(), R"({"programmes":[{"id":9007199254740993},{"id":-4}]})");
  EXPECT_EQ(Answer("save", R"({"code":"","titre":"g"})"), R"(200 {"ok":true,"id":1,"titre":"g","categorie":"programme"})");
  // The highest id of all leaves none to give: refused, and the file stays.
  WriteBytes(Storage.File(), R"({"programmes":[{"id":9007199254740992}]})");
  EXPECT_EQ(Act("save", R"({"code":"","titre":"h"})").Status, 500);
  EXPECT_EQ(FileBytes(), R"({"programmes":[{"id":9007199254740992}]})");
}

TEST_F(TProjectsTest, RefusalsAnswerTheirMessageAndChangeNothing) {
  ASSERT_TRUE(Storage.PrepareStorage());
  ASSERT_EQ(Act("save", R"({"titre":"Un","code":"x"})").Status, 200);
  const std::string Before = FileBytes();
  TakeLines();
  const std::string Id = R"(400 {"ok":false,"error":"Champ \"id\" manquant"})";
  const std::string Title = R"(400 {"ok":false,"error":"Champ \"titre\" manquant"})";
  const std::string Empty = R"(400 {"ok":false,"error":"Le titre ne peut pas \u00EAtre vide."})";
  const std::string Invalid = R"(400 {"ok":false,"error":"JSON invalide"})";
  const struct {
    const char *Action, *Body;
    std::string Answer;
  } Cases[] = {
    {"save", "{}", R"(400 {"ok":false,"error":"Champ \"code\" manquant"})"},
    {"save", R"({"code":3,"titre":"x"})", R"(400 {"ok":false,"error":"Champ \"code\" manquant"})"},
    {"save", R"({"code":"x"})", Title},
    {"save", R"({"code":"x","titre":7})", Title},
    {"save", R"({"code":"x","titre":" \t\r\n "})", Empty},
    {"save", R"({"code":"x","id":99,"titre":"Deux"})", kNotFound},
    {"save", "{oups", Invalid},
    {"save", "", Invalid},
    {"save", "{\"code\":\"\xFF\",\"titre\":\"x\"}", Invalid},
    {"load", "{}", Id},
    {"load", R"({"id":"1"})", Id},
    {"load", R"({"id":1.5})", Id},
    {"load", R"({"id":99})", kNotFound},
    {"del", R"({"id":null})", Id},
    {"del", R"({"id":99})", kNotFound},
    {"rem", R"({"titre":"x"})", Id},
    {"rem", R"({"id":1})", Title},
    {"rem", R"({"id":1,"titre":"   "})", Empty},
    {"rem", R"({"id":99,"titre":"x"})", kNotFound},
  };
  for (const auto& Case : Cases) EXPECT_EQ(Answer(Case.Action, Case.Body), Case.Answer) << Case.Action << " " << Case.Body;

  // JSON that is not an object leaves the action: 500 with a plain-text message.
  for (const char* Body : {"[1]", "\"texte\"", "null"}) {
    TReply Reply = Act("del", Body);
    EXPECT_EQ(Reply.Status, 500) << Body;
    EXPECT_EQ(Reply.FullContentType(), "text/plain; charset=utf-8");
    EXPECT_FALSE(Reply.Body.empty());
  }
  EXPECT_EQ(FileBytes(), Before);
  EXPECT_EQ(TakeLines(), TLines{});
}

TEST_F(TProjectsTest, BodiesOverTheLimitAreRefusedWhateverTheyDeclare) {
  ASSERT_TRUE(Storage.PrepareStorage());
  const std::string TooLarge = R"(413 {"ok":false,"error":"Payload too large"})";
  auto BodyOf = [](size_t Size) {
    std::string Head = R"({"titre":")" + std::to_string(Size) + R"(","code":")";
    return Head + std::string(Size - Head.size() - 2, 'x') + "\"}";
  };
  ASSERT_EQ(BodyOf(TProgramStorage::kBodyLimit).size(), 524288u);
  EXPECT_EQ(Act("save", BodyOf(TProgramStorage::kBodyLimit)).Status, 200);
  EXPECT_EQ(Answer("save", BodyOf(TProgramStorage::kBodyLimit + 1)), TooLarge);

  // A length declared too large, a chunked body (no length) or one that
  // declares less than it sends: the limit holds for each.
  TRequest Declared = ProjectRequest("save", R"({"titre":"a","code":""})");
  Declared.ContentLength = TProgramStorage::kBodyLimit + 1;
  TRequest Chunked = ProjectRequest("save", BodyOf(TProgramStorage::kBodyLimit + 1));
  Chunked.ContentLength = -1;
  TRequest Understated = ProjectRequest("rem", BodyOf(TProgramStorage::kBodyLimit + 1));
  Understated.ContentLength = 20;
  for (const TRequest* Request : {&Declared, &Chunked, &Understated}) {
    TReply Reply = Storage.HandleProjects(Request->Path.substr(14), *Request);
    EXPECT_EQ(std::to_string(Reply.Status) + " " + Reply.Body, TooLarge);
  }
  // The list has no body and no limit.
  TRequest List = ProjectRequest("list", "");
  List.ContentLength = TProgramStorage::kBodyLimit * 4;
  EXPECT_EQ(Storage.HandleProjects("list", List).Status, 200);
  EXPECT_EQ(Answer("list"), R"(200 {"ok":true,"programmes":[{"id":1,"titre":"524288","categorie":"programme"}]})");
}

TEST_F(TProjectsTest, AFileRemovedWhileRunningIsWrittenAnew) {
  ASSERT_TRUE(Storage.PrepareStorage());
  ASSERT_EQ(Act("save", R"({"titre":"Un","code":""})").Status, 200);
  fs::remove_all(Folder);
  EXPECT_EQ(Answer("list"), R"(200 {"ok":true,"programmes":[]})");
  EXPECT_EQ(Act("save", R"({"titre":"Deux","code":"d"})").Status, 200);
  EXPECT_EQ(FileBytes(), StoredFile(R"([{"id":1,"titre":"Deux","categorie":"programme","code":"d"}])"));
  EXPECT_EQ(Names(Folder), std::set<std::string>{"Mirelon.json"});
}

TEST_F(TProjectsTest, TitlesAndCategoriesStayOnOneLogLine) {
  ASSERT_TRUE(Storage.PrepareStorage());
  ASSERT_EQ(Act("save", R"({"titre":"deux\nlignes","categorie":"x]\r\n# faux","code":""})").Status, 200);
  ASSERT_EQ(Act("rem", R"({"id":1,"titre":"a\u0007b\u2028c"})").Status, 200);
  EXPECT_EQ(TakeLines(), (TLines{"$ API projets/save : #1 « deux\\nlignes » [x]\\r\\n# faux]",
                                 "$ API projets/rem : #1 → « a\\u0007b\\u2028c »"}));
}

// Many savers at once, and a process killed while it saves: every answered
// save is in the file, and the file always parses.
#include <nlohmann/json.hpp>

#include <set>
#include <thread>

#include "ProjectsTestKit.h"

using namespace mirelon;
using namespace mirelon::test;

namespace {

// The titles of the stored programs; fails the test when the file does not parse.
std::multiset<std::string> StoredTitles(const fs::path& File) {
  std::string Bytes = ReadBytes(File);
  EXPECT_EQ(Bytes.substr(0, 3), kBom);
  nlohmann::json Root = nlohmann::json::parse(Bytes.substr(3), nullptr, false);
  EXPECT_TRUE(Root.is_object() && Root["programmes"].is_array()) << Bytes.substr(0, 200);
  std::multiset<std::string> Titles;
  if (Root.is_object() && Root["programmes"].is_array())
    for (const auto& Entry : Root["programmes"]) Titles.insert(Entry.value("titre", ""));
  return Titles;
}

std::string CreateBody(const std::string& Title) {
  return R"({"titre":")" + Title + R"(","code":")" + std::string(2000, 'c') + "\"}";
}

}  // namespace

TEST_F(TProjectsTest, TwentyConcurrentSaversLoseNothing) {
  ASSERT_TRUE(Storage.PrepareStorage());
  constexpr int kSavers = 20, kUpdates = 5;
  std::vector<std::thread> Savers;
  std::vector<std::string> Failures(kSavers);
  for (int S = 0; S < kSavers; ++S)
    Savers.emplace_back([&, S] {
      TReply Created = Act("save", CreateBody("élève " + std::to_string(S)));
      nlohmann::json Answer = nlohmann::json::parse(Created.Body, nullptr, false);
      if (Created.Status != 200 || !Answer.contains("id")) return void(Failures[S] = Created.Body);
      for (int U = 0; U < kUpdates; ++U) {
        std::string Body = R"({"id":)" + std::to_string(Answer["id"].get<int>()) + R"(,"code":"v)" +
                           std::to_string(U) + "\"}";
        if (Act("save", Body).Status != 200) return void(Failures[S] = "update " + Body);
      }
    });
  for (auto& T : Savers) T.join();
  EXPECT_EQ(Failures, std::vector<std::string>(kSavers));

  std::multiset<std::string> Expected;
  for (int S = 0; S < kSavers; ++S) Expected.insert("élève " + std::to_string(S));
  EXPECT_EQ(StoredTitles(Storage.File()), Expected);
  // Ids 1 to 20, each once, and every program holds its last update.
  std::string Bytes = ReadBytes(Storage.File());
  nlohmann::json Root = nlohmann::json::parse(Bytes.substr(3));
  std::set<int> Ids;
  for (const auto& Entry : Root["programmes"]) {
    Ids.insert(Entry["id"].get<int>());
    EXPECT_EQ(Entry["code"], "v4");
  }
  EXPECT_EQ(Ids.size(), 20u);
  EXPECT_EQ(*Ids.rbegin(), 20);
  EXPECT_EQ(Names(Folder), std::set<std::string>{"Mirelon.json"});
}

// A child saves program after program and reports each answered save on a
// pipe; it is killed at a moment that moves from round to round. The file
// must then parse and hold every reported program.
TEST_F(TProjectsTest, AProcessKilledDuringSavesLeavesAValidFile) {
  ASSERT_TRUE(Storage.PrepareStorage());
  std::set<std::string> Answered;
  for (int Round = 0; Round < 6; ++Round) {
    int Pipe[2];
    ASSERT_EQ(::pipe(Pipe), 0);
    pid_t Child = ::fork();
    ASSERT_GE(Child, 0);
    if (Child == 0) {
      ::close(Pipe[0]);
      for (int N = 0;; ++N) {
        std::string Title = "r" + std::to_string(Round) + "-" + std::to_string(N);
        if (Act("save", CreateBody(Title)).Status != 200) ::_exit(3);
        Title += "\n";
        if (::write(Pipe[1], Title.data(), Title.size()) < 0) ::_exit(4);
      }
    }
    ::close(Pipe[1]);
    // Wait for some answered saves, more each round, then kill mid-burst.
    std::string Reported;
    const size_t Wanted = 5 + 7 * static_cast<size_t>(Round);
    char Buffer[4096];
    size_t Count = 0;
    while (Count < Wanted) {
      ssize_t N = ::read(Pipe[0], Buffer, sizeof Buffer);
      if (N <= 0) break;
      Reported.append(Buffer, static_cast<size_t>(N));
      Count = static_cast<size_t>(std::count(Reported.begin(), Reported.end(), '\n'));
    }
    ::usleep(static_cast<useconds_t>(300 * Round));
    ::kill(Child, SIGKILL);
    int Status = 0;
    ::waitpid(Child, &Status, 0);
    ASSERT_TRUE(WIFSIGNALED(Status)) << "the saver stopped by itself: " << Status;
    for (ssize_t N; (N = ::read(Pipe[0], Buffer, sizeof Buffer)) > 0;) Reported.append(Buffer, static_cast<size_t>(N));
    ::close(Pipe[0]);
    for (size_t Start = 0, End; (End = Reported.find('\n', Start)) != std::string::npos; Start = End + 1)
      Answered.insert(Reported.substr(Start, End - Start));

    std::multiset<std::string> Stored = StoredTitles(Storage.File());
    for (const std::string& Title : Answered) EXPECT_EQ(Stored.count(Title), 1u) << "lost: " << Title;
    // At most the save in flight is there without its answer.
    EXPECT_LE(Stored.size(), Answered.size() + 1);
    Answered = std::set<std::string>(Stored.begin(), Stored.end());
  }
}

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "TestRun.h"
#include "TestHttpsServer.h"

using namespace mirelon;
using namespace mirelon::test;
namespace fs = std::filesystem;

namespace {

// The text of a program literal holding s.
std::string Quoted(const std::string& s) { return "'" + s + "'"; }

// "importer" and "télécharger" against a loopback HTTPS server that the
// interpreter's clients trust through SSL_CERT_FILE.
class FilesNetwork : public ::testing::Test {
 protected:
  static void Routes(httplib::Server& s) {
    s.Get("/texte.txt", [](const httplib::Request&, httplib::Response& r) {
      r.set_content("bonjour \xC3\xA9t\xC3\xA9", "text/plain; charset=windows-1252");
    });
    s.Get("/ailleurs", [](const httplib::Request&, httplib::Response& r) { r.set_redirect("/texte.txt"); });
    s.Get(R"(/img/.*)", [](const httplib::Request&, httplib::Response& r) {
      r.set_content(std::string("\x89PNG\r\n\x1A\n\0\1", 10), "image/png");
    });
    s.Get("/lourd.txt", [](const httplib::Request&, httplib::Response& r) {
      r.set_content(std::string(2097152, 'a'), "text/plain");
    });
    s.Get("/large.txt", [](const httplib::Request&, httplib::Response& r) {
      r.set_content(std::string(600000, 'a'), "text/plain");  // 600000 units weigh 1200000
    });
    s.Get("/flot.txt", [](const httplib::Request&, httplib::Response& r) {
      r.set_chunked_content_provider("text/plain", [](size_t offset, httplib::DataSink& sink) {
        static const std::string block(65536, 'b');
        if (offset >= 64u << 20) {
          sink.done();
          return true;
        }
        return sink.write(block.data(), block.size());
      });
    });
  }

  static void SetUpTestSuite() { Server = new TTestHttpsServer(Routes); }
  static void TearDownTestSuite() { delete Server; }
  void SetUp() override {
    setenv("SSL_CERT_FILE", TestCertificate().CertFile.c_str(), 1);
    char name[] = "/tmp/mirelon-dl-XXXXXX";
    ASSERT_NE(mkdtemp(name), nullptr);
    Dir = name;
  }
  void TearDown() override {
    unsetenv("SSL_CERT_FILE");
    fs::remove_all(Dir);
  }

  static std::string Url(const std::string& path) { return Server->Url(path); }
  static TRunResult Import(const std::string& url) { return RunProgram("affiche importer(" + Quoted(url) + ")"); }
  TRunResult Download(const std::string& url) const {
    return RunProgram("affiche télécharger(" + Quoted(url) + ", " + Quoted(Dir.string()) + ")");
  }
  size_t EntryCount() const { return std::distance(fs::directory_iterator(Dir), fs::directory_iterator()); }

  static inline TTestHttpsServer* Server = nullptr;
  fs::path Dir;
};

// The number inside "(%d octets" of a size message.
long long ReportedBytes(const std::string& message) {
  size_t open = message.find('(');
  return open == std::string::npos ? -1 : std::atoll(message.c_str() + open + 1);
}

TEST_F(FilesNetwork, ImportFetchesTextOverHttps) {
  TRunResult r = Import(Url("/texte.txt"));
  EXPECT_EQ(r.Error, "");
  EXPECT_EQ(r.Text(), "bonjour \xC3\xA9t\xC3\xA9");  // UTF-8 whatever the declared charset
  EXPECT_EQ(Import(Url("/ailleurs")).Text(), "bonjour \xC3\xA9t\xC3\xA9");  // redirect followed
  EXPECT_EQ(Import(Url("/absent.txt")).Error,
            "importer : l'URL \"" + Url("/absent.txt") + "\" a retourné le code HTTP 404");
}

TEST_F(FilesNetwork, ImportNeverHoldsMoreThanTheLimit) {
  EXPECT_EQ(Import(Url("/lourd.txt")).Error, "importer : contenu URL trop volumineux (2097152 octets, maximum 1 Mo)");
  EXPECT_EQ(Import(Url("/large.txt")).Error, "importer : contenu URL trop volumineux (1200000 octets, maximum 1 Mo)");

  std::string error = Import(Url("/flot.txt")).Error;  // no length announced: bytes received
  EXPECT_EQ(error.rfind("importer : contenu URL trop volumineux (", 0), 0u) << error;
  EXPECT_GT(ReportedBytes(error), 1048576);
  EXPECT_LT(ReportedBytes(error), 1048576 + 262144);
}

TEST_F(FilesNetwork, ImportReportsTheClientFailure) {
  std::string url = "https://127.0.0.1:" + std::to_string(ClosedPort()) + "/a.txt";
  std::string error = Import(url).Error;
  EXPECT_EQ(error.rfind("importer : impossible de récupérer l'URL \"" + url + "\" : connexion impossible", 0), 0u)
      << error;
  unsetenv("SSL_CERT_FILE");  // certificates are always verified
  error = Import(Url("/texte.txt")).Error;
  EXPECT_EQ(error.rfind("importer : impossible de récupérer l'URL", 0), 0u) << error;
}

TEST_F(FilesNetwork, DownloadSavesTheNamedFile) {
  TRunResult r = Download(Url("/img/chat.png?taille=2"));
  std::string saved = (Dir / "chat.png").string();
  EXPECT_EQ(r.Error, "");
  EXPECT_EQ(r.Text(), saved);
  std::ifstream f(saved, std::ios::binary);
  std::stringstream bytes;
  bytes << f.rdbuf();
  EXPECT_EQ(bytes.str(), std::string("\x89PNG\r\n\x1A\n\0\1", 10));
  EXPECT_EQ(EntryCount(), 1u);
}

TEST_F(FilesNetwork, DownloadChecksTheSavedNameToo) {
  const std::string typeMessage =
      "Ligne 1: télécharger : type de fichier non autorisé \"%\". Extensions acceptées : jpg, jpeg, png, gif, svg, "
      "webp, bmp, ico, txt, csv, html";
  auto typeError = [&](const std::string& ext) {
    std::string m = typeMessage;
    return m.replace(m.find('%'), 1, ext);
  };
  EXPECT_EQ(Download(Url("/img/outil.exe?f=image.png")).Error, typeError(".exe"));
  EXPECT_EQ(Download(Url("/img/telecharger?f=image.png")).Error, typeError(""));
  EXPECT_EQ(Download(Url("/img/")).Error, typeError(""));
  EXPECT_EQ(Download(Url("/?f=image.png")).Error,
            "Ligne 1: télécharger : impossible de déterminer le nom du fichier depuis \"" + Url("/?f=image.png") + "\"");
  EXPECT_EQ(EntryCount(), 0u);
}

TEST_F(FilesNetwork, DownloadRefusals) {
  EXPECT_EQ(Download("ftp://exemple.fr/a.png").Error, "Ligne 1: télécharger : URL invalide \"ftp://exemple.fr/a.png\"");
  EXPECT_EQ(Download("Http://exemple.fr/a.png").Error,
            "Ligne 1: télécharger : les URLs non sécurisées (http://) ne sont pas autorisées. Utilisez https:// à la "
            "place.");
  EXPECT_EQ(RunProgram("affiche télécharger(" + Quoted(Url("/img/a.png")) + ", '/nulle/part')").Error,
            "Ligne 1: télécharger : le dossier destination n'existe pas : \"/nulle/part\"");
  EXPECT_EQ(Download(Url("/absent.png")).Error,
            "Ligne 1: télécharger : l'URL \"" + Url("/absent.png") + "\" a retourné le code HTTP 404");
  EXPECT_EQ(Download(Url("/lourd.txt")).Error,
            "Ligne 1: télécharger : fichier trop volumineux (2097152 octets, maximum 1 Mo)");
  std::string error = Download(Url("/flot.txt")).Error;
  EXPECT_GT(ReportedBytes(error), 1048576) << error;
  EXPECT_EQ(EntryCount(), 0u);  // nothing saved by a failed download
  EXPECT_EQ(RunProgram("affiche télécharger('https://exemple.fr/a.png')").Error,
            "Ligne 1: télécharger(url, dossier) attend 2 arguments");
}

}  // namespace

TEST_F(FilesNetwork, DownloadsIntoAFolderOfTheRunsFilesFolder) {
  auto InFiles = [this](TMirelon& M) { M.FFilesFolder = Dir; };
  std::string program = "affiche télécharger(" + Quoted(Url("/img/chat.png")) + ", 'images')";
  EXPECT_EQ(RunProgram(program, {}, 0, InFiles).Error,
            "Ligne 1: télécharger : le dossier destination n'existe pas : \"images\"");
  fs::create_directory(Dir / "images");
  TRunResult r = RunProgram(program, {}, 0, InFiles);
  EXPECT_EQ(r.Error, "");
  EXPECT_EQ(r.Text(), "images/chat.png");  // named as the program named its folder
  EXPECT_EQ(fs::file_size(Dir / "images" / "chat.png"), 10u);
}

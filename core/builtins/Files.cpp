// Files, network and evaluation: small text files of the pupil's machine,
// SVG drawings read as images, texts and files fetched over HTTPS, and the
// value of an arithmetic text.
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <random>
#include <system_error>

#include "core/builtins/Builtins.h"
#include "core/builtins/SvgImage.h"
#include "net/HttpsClient.h"

namespace mirelon {

namespace {

namespace fs = std::filesystem;

// Text files read and files fetched: never more in memory than this.
constexpr int64_t kMaxFileBytes = 1048576;

[[noreturn]] void FailNoLineFmt(std::u16string_view msg, std::initializer_list<TFmtArg> args) {
  throw EMirelonError::CreateFmt(msg, args);
}

// ---- paths ----

fs::path ToPath(std::u16string_view p) {
  std::string s = Utf16ToUtf8(p);
  return fs::path(std::u8string(s.begin(), s.end()));
}

std::u16string PathText(const fs::path& p) {
  std::u8string s = p.u8string();
  return Utf8ToUtf16(std::string_view(reinterpret_cast<const char*>(s.data()), s.size()));
}

// The last segment of a path or URL: what follows its last slash, backslash or colon.
std::u16string_view LastSegment(std::u16string_view p) {
  size_t i = p.find_last_of(u"/\\:");
  return i == std::u16string_view::npos ? p : p.substr(i + 1);
}

// From the last "." of the last segment, ASCII letters lower-cased; empty when there is none.
std::u16string Extension(std::u16string_view p) {
  std::u16string_view segment = LastSegment(p);
  size_t dot = segment.rfind(u'.');
  return dot == std::u16string_view::npos ? std::u16string() : AsciiLower(segment.substr(dot));
}

std::u16string_view CutAtQuery(std::u16string_view s) { return s.substr(0, s.find(u'?')); }

bool IsTextExtension(const std::u16string& e) { return e == u".txt" || e == u".csv"; }

bool StartsWithAscii(std::u16string_view s, std::u16string_view prefix) {
  return s.size() >= prefix.size() && SameAsciiCase(s.substr(0, prefix.size()), prefix);
}

// A NUL would cut the name short in every system call, so such a path names nothing.
bool UsablePath(std::u16string_view p) { return p.find(u'\0') == std::u16string_view::npos; }

// A path the host cannot look up holds neither a file nor a folder.
bool PathIs(const TMirelon& M, std::u16string_view p, bool folder) {
  if (!UsablePath(p)) return false;
  std::error_code ec;
  fs::file_status s = fs::status(ProgramPath(M, p), ec);
  return !ec && fs::exists(s) && fs::is_directory(s) == folder;
}

std::u16string HostMessage(int error) { return Utf8ToUtf16(std::generic_category().message(error)); }

// ---- reading and writing ----

using TFile = std::unique_ptr<std::FILE, decltype(&std::fclose)>;

// Reads at most limit + 1 bytes, so that a file past the limit is seen without
// being held whole. Returns the host's error, or 0.
int ReadUpTo(const fs::path& p, size_t limit, std::string& out) {
  TFile f(std::fopen(p.c_str(), "rb"), std::fclose);
  if (!f) return errno;
  char buffer[65536];
  while (out.size() <= limit) {
    size_t want = std::min(sizeof buffer, limit + 1 - out.size());
    size_t got = std::fread(buffer, 1, want, f.get());
    out.append(buffer, got);
    if (got < want) return std::ferror(f.get()) ? EIO : 0;
  }
  return 0;
}

// Reads a file that is known to exist; failing that is a host error, not a language one.
std::string ReadExisting(const TMirelon& M, const std::u16string& P, size_t limit) {
  std::string bytes;
  if (int error = ReadUpTo(ProgramPath(M, P), limit, bytes))
    throw EHostError(Format(u"Impossible de lire le fichier \"%s\" : %s", {P, HostMessage(error)}));
  return bytes;
}

// Writes all bytes and closes the file; returns the host's error, or 0.
int WriteAndClose(std::FILE* f, std::string_view bytes) {
  bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size() && std::fflush(f) == 0;
  int error = written ? 0 : (errno ? errno : EIO);
  if (std::fclose(f) != 0 && error == 0) error = errno ? errno : EIO;
  return error;
}

// Writes a new file beside the target and renames it over the target, so the
// target is replaced whole or left as it was. Returns the host's error, or 0.
int ReplaceFile(const fs::path& target, std::string_view bytes) {
  // Renaming would also replace a file that the host refuses to let us write.
  if (::access(target.c_str(), F_OK) == 0 && ::access(target.c_str(), W_OK) != 0) return errno;
  thread_local std::random_device random;
  for (int attempt = 0;; ++attempt) {
    fs::path temporary = target.parent_path() / (".mirelon-" + std::to_string(random()) + ".tmp");
    std::FILE* f = std::fopen(temporary.c_str(), "wbx");
    if (!f) {
      if (errno == EEXIST && attempt < 8) continue;
      return errno;
    }
    int error = WriteAndClose(f, bytes);
    std::error_code ec;  // a replaced file keeps its permissions
    if (fs::file_status former = fs::status(target, ec); !ec && fs::is_regular_file(former))
      fs::permissions(temporary, former.permissions(), ec);
    if (error == 0 && std::rename(temporary.c_str(), target.c_str()) != 0) error = errno;
    if (error != 0) std::remove(temporary.c_str());
    return error;
  }
}

// Appends the bytes; on failure the file is cut back to its former end (or
// removed when it did not exist). Returns the host's error, or 0.
int AppendToFile(const fs::path& target, std::string_view bytes) {
  std::error_code ec;
  bool existed = fs::exists(target, ec);
  uintmax_t formerSize = existed ? fs::file_size(target, ec) : 0;
  std::FILE* f = std::fopen(target.c_str(), "ab");
  if (!f) return errno;
  int error = WriteAndClose(f, bytes);
  if (error != 0 && existed && !ec) fs::resize_file(target, formerSize, ec);
  if (error != 0 && !existed) fs::remove(target, ec);
  return error;
}

// ---- network ----

// One GET on a new client with the client's defaults, the body capped at the
// file limit. Empty, with the client's message, when no answer came. The
// run's abort stops the transfer at once and ends the run aborted.
std::optional<THttpsResponse> Fetch(TMirelon& M, const std::u16string& url, std::u16string& failure) {
  try {
    THttpsClient client;
    client.SetBodyLimit(kMaxFileBytes);
    client.SetCancelCheck([&M] { return M.AbortRequested(); });
    return client.Get(Utf16ToUtf8(url));
  } catch (const EHttpsError& e) {
    M.CheckAbort();
    failure = e.Message();
    return std::nullopt;
  }
}

// The size a refused answer is reported with: announced, or else received.
int64_t ReportedSize(const THttpsResponse& r) { return r.AnnouncedLength >= 0 ? r.AnnouncedLength : r.ReceivedBytes; }

// ---- importer ----

std::u16string ImportUrl(TMirelon& M, const std::u16string& P) {
  std::u16string failure;
  std::optional<THttpsResponse> r = Fetch(M, P, failure);
  if (!r) FailNoLineFmt(u"importer : impossible de récupérer l'URL \"%s\" : %s", {P, failure});
  if (r->StatusCode != 200) FailNoLineFmt(u"importer : l'URL \"%s\" a retourné le code HTTP %d", {P, r->StatusCode});
  constexpr const char16_t* tooLarge = u"importer : contenu URL trop volumineux (%d octets, maximum 1 Mo)";
  if (r->TooLarge) FailNoLineFmt(tooLarge, {ReportedSize(*r)});
  std::u16string T = r->Text();
  int64_t weight = 2 * static_cast<int64_t>(T.size());
  if (weight > kMaxFileBytes) FailNoLineFmt(tooLarge, {weight});
  return T;
}

std::u16string ImportTextFile(TMirelon& M, const std::u16string& P, const std::u16string& E) {
  if (!IsTextExtension(E))
    FailNoLineFmt(u"importer : seuls les fichiers .txt et .csv sont autorisés (obtenu : \"%s\")", {E});
  if (!PathIs(M, P, false)) M.FailFmt(u"importer : fichier introuvable : \"%s\"", {P});
  std::string bytes = ReadExisting(M, P, kMaxFileBytes);
  if (static_cast<int64_t>(bytes.size()) > kMaxFileBytes) {
    std::error_code ec;
    uintmax_t size = fs::file_size(ProgramPath(M, P), ec);
    FailNoLineFmt(u"importer : fichier trop volumineux (%d octets, maximum 1 Mo)",
                  {static_cast<long long>(ec ? bytes.size() : size)});
  }
  return Utf8ToUtf16(StripBom(bytes));
}

TMirelonValue ImportSvg(TMirelon& M, const std::u16string& P) {
  if (!PathIs(M, P, false)) M.FailFmt(u"importer : fichier introuvable : \"%s\"", {P});
  // No size limit of its own, but reading stops where no text could hold the
  // file (three bytes per code unit at most): the text's limit then refuses it.
  TMirelonText text(Utf8ToUtf16(StripBom(ReadExisting(M, P, 3 * kMaxTextLength + 3))));
  TSvgImage svg = ReadSvgImage(M, text.str(), P, u"importer : ");
  TMirelonValue image = TMirelon::NewImageValue();
  image.Rec->SetField(u"__image_svg", TMirelonValue::Text(std::move(svg.Body)));
  image.Rec->SetField(u"__src_w", TMirelonValue::Number(svg.Width > 0 ? svg.Width : 1));
  image.Rec->SetField(u"__src_h", TMirelonValue::Number(svg.Height > 0 ? svg.Height : 1));
  return image;
}

void Import(TMirelon& M, TBuiltinArgs& Args, TMirelonValue& Result) {
  RequireCount(M, Args, 1, u"importer(chemin) attend 1 argument");
  std::u16string P = M.ValToText(Args[0]);
  if (StartsWithAscii(P, u"http://"))
    FailNoLine(u"importer : les URLs non sécurisées (http://) ne sont pas autorisées. Utilisez https:// à la place.");
  if (StartsWithAscii(P, u"https://")) {
    Result = TMirelonValue::Text(ImportUrl(M, P));
    return;
  }
  std::u16string E = Extension(P);
  Result = E == u".svg" ? ImportSvg(M, P) : TMirelonValue::Text(ImportTextFile(M, P, E));
}

// ---- sauvegarder, ajouter_ligne, fichier_existe ----

// "sauvegarder" replaces the file with a byte-order mark and the text;
// "ajouter_ligne" appends the text and CR LF, without mark.
void WriteTextFile(TMirelon& M, TBuiltinArgs& Args, TMirelonValue& Result, std::u16string_view name, bool append) {
  if (Args.size() != 2) FailNoLineFmt(u"%s(chemin, texte) attend 2 arguments", {name});
  std::u16string P = M.ValToText(Args[0]), T = M.ValToText(Args[1]);
  std::u16string E = Extension(P);
  if (!IsTextExtension(E))
    FailNoLineFmt(u"%s : seuls les fichiers .txt et .csv sont autorisés (obtenu : \"%s\")", {name, E});
  // The folder as the program wrote it, for the message; looked up where it leads.
  std::u16string D = PathText(ToPath(P).parent_path());
  if (UsablePath(P) && !D.empty() && !PathIs(M, D, true))
    FailNoLineFmt(u"%s : le dossier destination n'existe pas : \"%s\"", {name, D});
  std::string bytes = append ? Utf16ToUtf8(T) + "\r\n" : "\xEF\xBB\xBF" + Utf16ToUtf8(T);
  fs::path path = ProgramPath(M, P);
  int error = !UsablePath(P) ? EINVAL : append ? AppendToFile(path, bytes) : ReplaceFile(path, bytes);
  if (error) FailNoLineFmt(u"%s : impossible d'écrire dans \"%s\" : %s", {name, P, HostMessage(error)});
  Result = TMirelonValue::BoolVal(true);
}

void Save(TMirelon& M, TBuiltinArgs& Args, TMirelonValue& Result) {
  WriteTextFile(M, Args, Result, u"sauvegarder", false);
}

void AppendLine(TMirelon& M, TBuiltinArgs& Args, TMirelonValue& Result) {
  WriteTextFile(M, Args, Result, u"ajouter_ligne", true);
}

void FileExists(TMirelon& M, TBuiltinArgs& Args, TMirelonValue& Result) {
  if (Args.size() != 1) FailNoLine(u"fichier_existe(chemin) attend 1 argument");
  std::u16string P = M.ValToText(Args[0]);
  std::u16string E = Extension(P);
  if (!IsTextExtension(E))
    FailNoLineFmt(u"fichier_existe : seuls les fichiers .txt et .csv sont autorisés (obtenu : \"%s\")", {E});
  Result = TMirelonValue::BoolVal(PathIs(M, P, false));
}

// ---- télécharger ----

void CheckDownloadType(TMirelon& M, const std::u16string& E) {
  static const char16_t* const allowed[] = {u".jpg",  u".jpeg", u".png", u".gif", u".svg", u".webp",
                                            u".bmp",  u".ico",  u".txt", u".csv", u".html"};
  for (const char16_t* a : allowed)
    if (E == a) return;
  M.FailFmt(u"télécharger : type de fichier non autorisé \"%s\". Extensions acceptées : jpg, jpeg, png, gif, svg, "
            u"webp, bmp, ico, txt, csv, html",
            {E});
}

void Download(TMirelon& M, TBuiltinArgs& Args, TMirelonValue& Result) {
  RequireCount(M, Args, 2, u"télécharger(url, dossier) attend 2 arguments");
  std::u16string U = M.ValToText(Args[0]), D = M.ValToText(Args[1]);
  if (StartsWithAscii(U, u"http://"))
    M.Fail(u"télécharger : les URLs non sécurisées (http://) ne sont pas autorisées. Utilisez https:// à la place.");
  if (!StartsWithAscii(U, u"https://")) M.FailFmt(u"télécharger : URL invalide \"%s\"", {U});
  CheckDownloadType(M, std::u16string(CutAtQuery(Extension(U))));
  if (!PathIs(M, D, true)) M.FailFmt(u"télécharger : le dossier destination n'existe pas : \"%s\"", {D});
  std::u16string N(CutAtQuery(LastSegment(U)));
  if (N.empty()) M.FailFmt(u"télécharger : impossible de déterminer le nom du fichier depuis \"%s\"", {U});
  // The saved name must be of an allowed type too: ".../outil.exe?f=image.png" would save outil.exe.
  CheckDownloadType(M, Extension(N));
  // The result names the file as the program named its folder.
  std::u16string FText = PathText(ToPath(D) / ToPath(N));

  std::u16string failure;
  std::optional<THttpsResponse> r = Fetch(M, U, failure);
  if (!r) M.FailFmt(u"télécharger : impossible de récupérer \"%s\" : %s", {U, failure});
  if (r->StatusCode != 200) M.FailFmt(u"télécharger : l'URL \"%s\" a retourné le code HTTP %d", {U, r->StatusCode});
  if (r->TooLarge) M.FailFmt(u"télécharger : fichier trop volumineux (%d octets, maximum 1 Mo)", {ReportedSize(*r)});
  if (int error = ReplaceFile(ProgramPath(M, D) / ToPath(N), r->Body))
    M.FailFmt(u"télécharger : impossible d'écrire \"%s\" : %s", {FText, HostMessage(error)});
  Result = TMirelonValue::Text(FText);
}

// ---- évaluer ----

// Sums of products of decimal numbers (',' as separator) and parenthesised
// sums, read by recursive descent over the code units of the text.
class TArithmeticReader {
 public:
  TArithmeticReader(TMirelon& M, std::u16string_view E) : M(M), E(E) {}

  double Read() {
    double v = Expr();
    SkipBlanks();
    if (C < E.size()) M.FailFmt(u"évaluer : caractère inattendu \"%s\"", {CharAt(C)});
    return v;
  }

 private:
  // Each level of parentheses costs a few native frames; the worker's stack is small.
  static constexpr int kMaxDepth = 200;

  void SkipBlanks() {
    while (C < E.size() && E[C] == u' ') ++C;
  }
  bool AtEither(char16_t a, char16_t b) const { return C < E.size() && (E[C] == a || E[C] == b); }

  double Expr() {
    double v = Term();
    SkipBlanks();
    while (AtEither(u'+', u'-')) {
      M.CheckAbort();
      char16_t op = E[C++];
      double r = Term();
      SkipBlanks();
      v = op == u'+' ? v + r : v - r;
    }
    return v;
  }

  double Term() {
    double v = Factor();
    SkipBlanks();
    while (AtEither(u'*', u'/')) {
      M.CheckAbort();
      char16_t op = E[C++];
      double r = Factor();
      if (op == u'*') {
        v *= r;
      } else {
        if (r == 0) M.Fail(u"évaluer : division par zéro");
        v /= r;
      }
      SkipBlanks();
    }
    return v;
  }

  double Factor() {
    SkipBlanks();
    if (C >= E.size()) M.Fail(u"évaluer : expression incomplète");
    char16_t c = E[C];
    if (c == u'(') {
      if (++Depth > kMaxDepth) M.FailFmt(u"évaluer : trop de parenthèses imbriquées (maximum %d)", {kMaxDepth});
      ++C;
      double v = Expr();
      SkipBlanks();
      if (C >= E.size() || E[C] != u')') M.Fail(u"évaluer : parenthèse fermante manquante");
      ++C;
      --Depth;
      return v;
    }
    if ((c >= u'0' && c <= u'9') || c == u',') return Number();
    M.FailFmt(u"évaluer : caractère non autorisé \"%s\" (seuls ( ) + - * / , et 0..9 sont permis)", {CharAt(C)});
  }

  double Number() {
    size_t start = C;
    SkipDigits();
    if (C < E.size() && E[C] == u',') {
      ++C;
      SkipDigits();
    }
    std::u16string_view text = E.substr(start, C - start);
    double v = 0;
    if (!ParseDecimal(text, u',', v)) M.FailFmt(u"évaluer : nombre invalide \"%s\"", {text});
    return v;
  }

  void SkipDigits() {
    while (C < E.size() && E[C] >= u'0' && E[C] <= u'9') ++C;
  }

  // The character at i, both halves of a surrogate pair together.
  std::u16string_view CharAt(size_t i) const {
    bool pair = E[i] >= 0xD800 && E[i] <= 0xDBFF && i + 1 < E.size() && E[i + 1] >= 0xDC00 && E[i + 1] <= 0xDFFF;
    return E.substr(i, pair ? 2 : 1);
  }

  TMirelon& M;
  std::u16string_view E;
  size_t C = 0;
  int Depth = 0;
};

void Evaluate(TMirelon& M, TBuiltinArgs& Args, TMirelonValue& Result) {
  RequireCount(M, Args, 1, u"évaluer(expression) attend 1 argument");
  std::u16string E = M.ValToText(Args[0]);
  Result = TMirelonValue::Number(TArithmeticReader(M, E).Read());
}

}  // namespace

fs::path ProgramPath(const TMirelon& M, std::u16string_view P) {
  fs::path path = ToPath(P);
  if (M.FFilesFolder.empty() || path.empty() || path.is_absolute()) return path;
  std::error_code ec;  // a folder that cannot be made fails the file operation itself, with its message
  fs::create_directories(M.FFilesFolder, ec);
  return M.FFilesFolder / path;
}

std::span<const TBuiltinDef> FileBuiltins() {
  static const TBuiltinDef defs[] = {
    {u"importer", Import},
    {u"sauvegarder", Save},
    {u"ajouter_ligne", AppendLine},
    {u"fichier_existe", FileExists},
    {u"telecharger/télécharger", Download},
    {u"evaluer/évaluer", Evaluate},
  };
  return defs;
}

}  // namespace mirelon

// Console statements: "affiche", "déboguer", "couleur", "html", and the
// questions "demande", "choisir" and "appuyer".
#include <memory>

#include "core/AbortableRegex.h"
#include "core/Interpreter.h"

namespace mirelon {

namespace {

const char16_t kChoiceMark = u'\x01';

bool IsHexDigit(char16_t c) { return (c >= u'0' && c <= u'9') || ((c | 0x20) >= u'a' && (c | 0x20) <= u'f'); }

bool IsColorCode(const std::u16string& t) {
  if (t.size() != 7 || t[0] != u'#') return false;
  for (size_t i = 1; i < 7; ++i)
    if (!IsHexDigit(t[i])) return false;
  return true;
}

// The tags of an HTML text, as lower-case names, in order.
std::vector<std::u16string> HtmlTagNames(TMirelon& M, const std::u16string& html) {
  static pcre2_code* const re = [] {
    int err;
    PCRE2_SIZE offset;
    const char16_t pattern[] = u"</?\\s*([A-Za-z][A-Za-z0-9]*)\\b[^>]*>";
    return pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern), PCRE2_ZERO_TERMINATED, kAbortableRegexOptions, &err,
                         &offset, nullptr);
  }();
  std::vector<std::u16string> names;
  // A tag ends at a ">": past the last one nothing matches, and a search cut
  // there never scans to the end of the text from every "<" that has none.
  const std::u16string_view tags(html.data(), html.rfind(u'>') + 1);
  TAbortableMatch search(M);
  std::unique_ptr<pcre2_match_data, void (*)(pcre2_match_data*)> md(pcre2_match_data_create_from_pattern(re, nullptr),
                                                                   pcre2_match_data_free);
  for (PCRE2_SIZE start = 0; start < tags.size();) {
    M.CheckAbort();
    if (search.Match(re, tags, start, 0, md.get()) < 0) break;
    PCRE2_SIZE* ov = pcre2_get_ovector_pointer(md.get());
    names.push_back(AsciiLower(tags.substr(ov[2], ov[3] - ov[2])));
    start = ov[1] > ov[0] ? ov[1] : ov[0] + 1;
  }
  return names;
}

}  // namespace

// ---- output ----

void TMirelon::ExecuteShow() {
  Expect(ttAffiche);
  TMirelonValue v = Evaluate();
  if (v.Kind == lvkRecord && v.Rec) {
    if (v.Rec->HasField(u"__toile_id")) return ShowCanvas(v);
    if (const TMirelonValue* svg = v.Rec->FindField(u"__toile_svg"))
      return Output(u"__SVG__" + ValToText(*svg) + u"__");
  }
  Output(ValToText(v));
}

void TMirelon::ExecuteDebug() {
  Expect(ttDeboguer);
  Output(u"__DEBUG__" + ValToText(Evaluate()) + u"__");
}

std::u16string TMirelon::NormalizeColor(const std::u16string& C) {
  std::u16string t = Trim(C);
  if (SameAsciiCase(t, u"#0") || SameAsciiCase(t, u"reset") || SameAsciiCase(t, u"défaut") ||
      SameAsciiCase(t, u"defaut"))
    return u"reset";
  if (IsColorCode(t)) return t;
  FailFmt(u"couleur : valeur invalide \"%s\". Utilisez #RRGGBB ou #0 pour reset.", {t});
}

std::u16string TMirelon::WrapInlineColor(const std::u16string& C, const std::u16string& T) {
  if (SameAsciiCase(C, u"reset")) return T;
  return u"\x02" + C + u"\x03" + T + u"\x02/\x03";
}

void TMirelon::ExecuteColor() {
  Expect(ttCouleur);
  Expect(ttParOuv);
  std::u16string color = Trim(ValToText(Evaluate()));
  bool hasText = At(ttVirgule);
  std::u16string text;
  if (hasText) {
    ++FPos;
    text = ValToText(Evaluate());
  }
  Expect(ttParFerm);
  if (hasText && text.find(u"__HTML__") != std::u16string::npos)
    Fail(u"couleur ne peut pas être appliquée à du html(). Utilisez html() pour la mise en forme, ou couleur() sur du "
         u"texte simple.");
  color = NormalizeColor(color);
  Output(hasText ? WrapInlineColor(color, text) : u"__COLOR__" + color + u"__");
}

void TMirelon::FilterHtml(const std::u16string& H) {
  static const char16_t* const allowed[] = {u"h1", u"h2", u"h3", u"h4",     u"h5", u"h6", u"a",
                                            u"img", u"ul", u"ol", u"li", u"strong", u"em"};
  for (const std::u16string& tag : HtmlTagNames(*this, H)) {
    bool ok = false;
    for (const char16_t* a : allowed) ok = ok || tag == a;
    if (!ok)
      FailFmt(u"html : balise <%s> non autorisée. Balises permises : h1 à h6, a, img, ul, ol, li, strong, em.", {tag});
  }
}

void TMirelon::ExecuteHtml() {
  Expect(ttHtml);
  Expect(ttParOuv);
  std::u16string html = ValToText(Evaluate());
  Expect(ttParFerm);
  FilterHtml(html);
  Output(u"__HTML__" + html + u"__");
}

// ---- questions ----

void TMirelon::ExecuteAsk() {
  Expect(ttDemande);
  std::u16string prompt = u" ... ? ";
  const TMirelonToken* target;
  TMirelonTokenType next = FPos + 1 < FTokenCount ? FTokens[FPos + 1].TokenType : ttEOF;
  if (At(ttTexte) || (At(ttIdentifiant) && next == ttPlus)) {
    prompt = ValToText(Evaluate());
    if (!At(ttDans)) Fail(u"demande \"texte\" attend le mot-clé \"dans\"");
    ++FPos;
    if (!At(ttIdentifiant)) Fail(u"demande \"texte\" dans attend un nom de variable");
    target = &FTokens[FPos++];
  } else if (At(ttIdentifiant) && next == ttDans) {
    const TMirelonToken& question = FTokens[FPos];
    FPos += 2;
    if (!At(ttIdentifiant)) Fail(u"demande <var> dans attend un nom de variable");
    target = &FTokens[FPos++];
    prompt = ValToText(GetVariable(question.Key, question.Value));
  } else {
    if (!At(ttIdentifiant)) Fail(u"demande attend un nom de variable");
    target = &FTokens[FPos++];
  }

  std::u16string answer = ReadAnswer(prompt);
  const TMirelonValue* cur = FindVariable(target->Key);
  if (!cur) return DefineLocal(target->Key, target->Value, TMirelonValue::Text(answer));
  TMirelonValue v;
  switch (cur->Kind) {
    case lvkNumber: v = TMirelonValue::Number(ParseLooseNumber(answer)); break;
    case lvkText: v = TMirelonValue::Text(answer); break;
    case lvkBool: {
      std::u16string t = Trim(answer);
      v = TMirelonValue::BoolVal(SameAsciiCase(t, u"vrai") || SameAsciiCase(t, u"true") || t == u"1");
      break;
    }
    case lvkArray: Fail(u"demande sur tableau non supporté");
    case lvkRecord: Fail(u"demande sur enregistrement non supporté");
    default: return;  // dates, times and images keep their value
  }
  AssignVariable(target->Key, target->Value, std::move(v));
}

// The items of a "[a, b, …]" list of "choisir" or "appuyer", after its "[".
std::vector<std::u16string> TMirelon::ReadChoiceList(std::u16string_view verb) {
  std::vector<std::u16string> items;
  if (!At(ttCroFerm)) {
    for (;;) {
      items.push_back(ValToText(Evaluate()));
      if (!At(ttVirgule)) break;
      ++FPos;
    }
  }
  if (!At(ttCroFerm)) FailFmt(u"%s : crochet fermant \"]\" attendu", {verb});
  ++FPos;
  return items;
}

const TMirelonToken& TMirelon::ChoiceTarget(std::u16string_view verb) {
  if (!At(ttDans)) FailFmt(u"%s attend le mot-clé \"dans\"", {verb});
  ++FPos;
  if (!At(ttIdentifiant)) FailFmt(u"%s ... dans attend un nom de variable", {verb});
  const TMirelonToken& target = FTokens[FPos++];
  const TMirelonValue* cur = FindVariable(target.Key);
  if (!cur)
    FailFmt(u"%s : la variable \"%s\" doit être déclarée comme un nombre (ex : %s est un nombre)",
            {verb, target.Value, target.Value});
  if (cur->Kind != lvkNumber) FailFmt(u"%s : la variable \"%s\" doit être de type nombre", {verb, target.Value});
  return target;
}

void TMirelon::AskChoice(const TMirelonToken& target, std::u16string prompt, const std::vector<std::u16string>& items) {
  for (const std::u16string& item : items) prompt += kChoiceMark + item;
  int64_t n = TruncToInt64(ParseLooseNumber(ReadAnswer(prompt)));
  if (n <= 0 || n > static_cast<int64_t>(items.size())) n = 1;
  AssignVariable(target.Key, target.Value, TMirelonValue::Number(static_cast<double>(n)));
}

void TMirelon::ExecuteChoose() {
  Expect(ttChoisir);
  std::vector<std::u16string> options;
  if (At(ttCroOuv)) {
    ++FPos;
    options = ReadChoiceList(u"choisir");
  } else {
    TMirelonValue v = Evaluate();
    if (v.Kind != lvkArray)
      Fail(u"choisir attend une liste entre crochets, ex : choisir ['A', 'B'] dans x, ou un tableau, ex : choisir "
           u"mesOptions dans x");
    if (!v.Arr) Fail(u"choisir : le tableau d'options est vide");
    for (const TMirelonValue& e : v.Arr->Items()) options.push_back(ValToText(e));
  }
  if (options.empty()) Fail(u"choisir attend au moins une option");
  const TMirelonToken& target = ChoiceTarget(u"choisir");
  AskChoice(target, u"\x01" u"CHOISIR", options);
}

void TMirelon::ExecutePress() {
  Expect(ttAppuyer);
  if (!At(ttCroOuv))
    Fail(u"appuyer attend une liste de touches entre crochets, ex : appuyer ['z', 's', 'd', 'q'] dans action");
  ++FPos;
  std::vector<std::u16string> keys = ReadChoiceList(u"appuyer");
  for (std::u16string& k : keys) k = AsciiLower(k.substr(0, 1));
  if (keys.empty()) Fail(u"appuyer attend au moins une touche");
  const TMirelonToken& target = ChoiceTarget(u"appuyer");
  AskChoice(target, u"\x01" u"APPUYER", keys);
}

}  // namespace mirelon

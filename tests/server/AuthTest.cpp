// The session token, the cookie that carries it and their comparison.
#include <gtest/gtest.h>

#include <set>

#include "server/Auth.h"

namespace mirelon {
namespace {

TRequest WithCookies(std::vector<std::string> Lines) {
  TRequest Request;
  for (std::string& Line : Lines) Request.Headers.emplace_back("Cookie", std::move(Line));
  return Request;
}

TEST(SessionToken, Is64LowercaseHexDigitsAndNewEachTime) {
  std::set<std::string> Seen;
  for (int I = 0; I < 50; ++I) {
    const std::string Token = NewSessionToken();
    ASSERT_EQ(Token.size(), 64u);
    EXPECT_EQ(Token.find_first_not_of("0123456789abcdef"), std::string::npos) << Token;
    Seen.insert(Token);
  }
  EXPECT_EQ(Seen.size(), 50u);
}

TEST(SessionCookie, NameAndValueAreTrimmedAndTheNameIgnoresCase) {
  EXPECT_EQ(ReadSessionCookie(WithCookies({"mirelon_session=abc"})), "abc");
  EXPECT_EQ(ReadSessionCookie(WithCookies({"theme=dark;  Mirelon_Session \t=  abc  ; x=1"})), "abc");
  EXPECT_EQ(ReadSessionCookie(WithCookies({"\x01mirelon_session=abc\x7f"})), "abc");
}

TEST(SessionCookie, PiecesWithoutAValueAreSkippedAndASecondEqualsCutsTheValue) {
  EXPECT_EQ(ReadSessionCookie(WithCookies({"mirelon_session; mirelon_session=good"})), "good");
  EXPECT_EQ(ReadSessionCookie(WithCookies({"mirelon_session=ab=cd"})), "ab");
  EXPECT_EQ(ReadSessionCookie(WithCookies({"mirelon_session="})), "");
  EXPECT_EQ(ReadSessionCookie(WithCookies({"other_mirelon_session=abc"})), "");
  EXPECT_EQ(ReadSessionCookie(WithCookies({})), "");
}

TEST(SessionCookie, TheFirstMatchOfTheFirstCookieLineWins) {
  EXPECT_EQ(ReadSessionCookie(WithCookies({"mirelon_session=one; mirelon_session=two"})), "one");
  EXPECT_EQ(ReadSessionCookie(WithCookies({"theme=dark", "mirelon_session=late"})), "");
}

TEST(SessionCookie, SetCookieHasTheFixedAttributes) {
  TReply Reply;
  SetSessionCookie(Reply, "0123");
  ASSERT_EQ(Reply.Headers.size(), 1u);
  EXPECT_EQ(Reply.Headers[0].first, "Set-Cookie");
  EXPECT_EQ(Reply.Headers[0].second, "mirelon_session=0123; Path=/; HttpOnly; SameSite=Lax");
}

TEST(SameToken, ComparesWholeTextsOfTheSameLengthOnly) {
  const std::string Token = NewSessionToken();
  EXPECT_TRUE(SameToken(Token, Token));
  std::string Last = Token, First = Token;
  Last.back() = Last.back() == '0' ? '1' : '0';
  First.front() = First.front() == '0' ? '1' : '0';
  EXPECT_FALSE(SameToken(Token, Last));
  EXPECT_FALSE(SameToken(Token, First));
  EXPECT_FALSE(SameToken(Token, Token.substr(0, 63)));
  EXPECT_FALSE(SameToken(Token, Token + "0"));
  EXPECT_FALSE(SameToken("ABC", "abc"));
  // Lengths count UTF-16 code units: "é" is one unit, two bytes.
  EXPECT_FALSE(SameToken("é", "ab"));
  EXPECT_TRUE(SameToken("é", "é"));
}

}  // namespace
}  // namespace mirelon

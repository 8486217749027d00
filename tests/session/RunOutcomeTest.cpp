// RunToOutcome: how every kind of end becomes done, error or aborted.
#include <stdexcept>

#include <gtest/gtest.h>

#include "session/RunOutcome.h"

using namespace mirelon;

namespace {

TRunOutcome EndWith(const std::function<void()>& Raise) { return RunToOutcome(Raise); }

}  // namespace

TEST(RunOutcome, NormalEndsAndAborts) {
  EXPECT_EQ(EndWith([] {}).State, ssDone);
  EXPECT_EQ(EndWith([] { throw EMirelonExitProgram(); }).State, ssDone);
  EXPECT_EQ(EndWith([] { throw EMirelonAborted(); }).State, ssAborted);
  TRunOutcome Aborted = EndWith([] { throw ESessionAbort(); });
  EXPECT_EQ(Aborted.State, ssAborted);
  EXPECT_EQ(Aborted.ErrorMsg, u"");
  EXPECT_EQ(ESessionAbort().Message(), u"ABORTED");
}

TEST(RunOutcome, ErrorsKeepTheirMessageAndALineOfOneOrMore) {
  TRunOutcome AtLine = EndWith([] { throw EMirelonError::CreateAtLine(3, u"Division par zéro"); });
  EXPECT_EQ(AtLine.State, ssError);
  EXPECT_EQ(AtLine.ErrorMsg, u"Ligne 3: Division par zéro");
  EXPECT_EQ(AtLine.ErrorLine, 3);
  EXPECT_EQ(AtLine.Kind, ekLanguage);

  TRunOutcome NoLine = EndWith([] { throw EMirelonError(u"sans ligne"); });
  EXPECT_EQ(NoLine.ErrorMsg, u"sans ligne");
  EXPECT_EQ(NoLine.ErrorLine, 0);
  EXPECT_EQ(EndWith([] { throw EMirelonError(u"ligne zéro", 0); }).ErrorLine, 0);

  TRunOutcome Fatal = EndWith([] { throw EMirelonFatal::CreateAtLine(7, u"Récursion trop profonde"); });
  EXPECT_EQ(Fatal.Kind, ekFatal);
  EXPECT_EQ(Fatal.ErrorLine, 7);
}

TEST(RunOutcome, OtherExceptionsAreErrorsWithoutLine) {
  TRunOutcome Host = EndWith([] { throw EHostError(u"hôte"); });
  EXPECT_EQ(Host.State, ssError);
  EXPECT_EQ(Host.ErrorMsg, u"hôte");
  EXPECT_EQ(Host.Kind, ekHost);

  TRunOutcome Foreign = EndWith([] { throw std::runtime_error("dehors é"); });
  EXPECT_EQ(Foreign.ErrorMsg, u"dehors é");
  EXPECT_EQ(Foreign.ErrorLine, 0);
  EXPECT_EQ(Foreign.Kind, ekForeign);

  TRunOutcome Unknown = EndWith([] { throw 42; });
  EXPECT_EQ(Unknown.State, ssError);
  EXPECT_EQ(Unknown.ErrorMsg, u"Erreur interne inconnue");
  EXPECT_EQ(Unknown.Kind, ekForeign);
}

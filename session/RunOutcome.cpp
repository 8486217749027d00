#include "session/RunOutcome.h"

namespace mirelon {

namespace {

TRunOutcome Failed(TErrorKind Kind, std::u16string Message, int32_t Line = 0) {
  return {ssError, std::move(Message), Line >= 1 ? Line : 0, Kind};
}

TRunOutcome Aborted() {
  TRunOutcome Outcome;
  Outcome.State = ssAborted;
  return Outcome;
}

}  // namespace

TRunOutcome RunToOutcome(const std::function<void()>& Run) {
  try {
    Run();
    return {};
  } catch (const EMirelonExitProgram&) {
    return {};
  } catch (const EMirelonAborted&) {
    return Aborted();
  } catch (const ESessionAbort&) {
    return Aborted();
  } catch (const EMirelonFatal& E) {
    return Failed(ekFatal, E.Message(), E.Line());
  } catch (const EMirelonError& E) {
    return Failed(ekLanguage, E.Message(), E.Line());
  } catch (const Exception& E) {
    return Failed(ekHost, E.Message());
  } catch (const std::exception& E) {
    return Failed(ekForeign, Utf8ToUtf16(E.what()));
  } catch (...) {
    return Failed(ekForeign, u"Erreur interne inconnue");
  }
}

}  // namespace mirelon

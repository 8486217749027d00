// The single-tab guard: "/api/ping" makes the first tab the owner of the
// workbench and keeps it so while it pings; "/api/release" frees it.
#include "log/ConsoleLog.h"
#include "server/ClientRoutes.h"

namespace mirelon {
namespace {

// The workbench pings every 5 s; an owner silent for more than 15 whole
// seconds (16 s after its last ping) has gone.
constexpr std::chrono::seconds kOwnerSilence{15};

}  // namespace

TClientGuard::TClientGuard(TConsoleLog& Log, std::function<int()> StoppingMinutes, TClock Now)
    : FLog(Log), FStoppingMinutes(std::move(StoppingMinutes)), FNow(std::move(Now)) {}

// Ids are compared exactly: ids that differ in letter case are other tabs.
// An empty id with no owner is accepted and leaves the workbench without
// one. The refusal is logged once the lock is released.
TReply TClientGuard::HandlePing(const TRequest& Request) {
  std::string Id = Request.QueryParam("instanceId");
  if (Id.empty()) Id = Request.Header("X-Mirelon-Instance");
  bool Accepted;
  {
    std::lock_guard<std::mutex> Guard(FClientLock);
    const auto Now = FNow();
    if (!FActiveClientId.empty() &&
        std::chrono::duration_cast<std::chrono::seconds>(Now - FLastHeartbeat) > kOwnerSilence)
      FActiveClientId.clear();
    if (FActiveClientId.empty()) FActiveClientId = Id;
    Accepted = FActiveClientId == Id;
    if (Accepted) FLastHeartbeat = Now;
  }
  if (!Accepted) {
    FLog.ELogEvent("# Accès refusé : interface déjà ouverte dans un autre onglet.");
    return JsonReply(409, R"({"error":"already_open"})");
  }
  return JsonReply(200, R"({"ok":true,"stoppingMinutes":)" + std::to_string(FStoppingMinutes()) + "}");
}

// Only the owner's own id frees the workbench; the answer is the same in
// every case.
TReply TClientGuard::HandleRelease(const TRequest& Request) {
  const std::string Id = Request.QueryParam("instanceId");
  {
    std::lock_guard<std::mutex> Guard(FClientLock);
    if (!Id.empty() && Id == FActiveClientId) FActiveClientId.clear();
  }
  TReply Reply;
  Reply.Status = 204;
  return Reply;
}

void TClientGuard::Reset() {
  std::lock_guard<std::mutex> Guard(FClientLock);
  FActiveClientId.clear();
  FLastHeartbeat = {};
}

}  // namespace mirelon

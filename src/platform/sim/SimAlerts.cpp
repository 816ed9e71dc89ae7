#include "platform/sim/SimAlerts.h"

#include <algorithm>

namespace lumora::sim {

int SimAlerts::runModal(const platform::Alert& alert) {
  Session session{alert, std::nullopt};
  // An alert without buttons gets the platform's "OK".
  if (session.alert.buttonTitles.empty()) session.alert.buttonTitles.push_back("OK");
  sessions_.push_back(&session);
  shown_.push_back(session.alert);
  notify();
  const bool answered = loop_.runModal([&session] { return session.response.has_value(); });
  std::erase(sessions_, &session);
  notify();
  return answered ? *session.response : platform::alertAbortedResponse;
}

const platform::Alert* SimAlerts::currentAlert() const {
  return sessions_.empty() ? nullptr : &sessions_.back()->alert;
}

bool SimAlerts::answer(int response) {
  if (sessions_.empty()) return false;
  Session& session = *sessions_.back();
  const auto buttons = static_cast<int>(session.alert.buttonTitles.size());
  if (response < platform::alertFirstButtonReturn ||
      response >= platform::alertFirstButtonReturn + buttons || session.response) {
    return false;
  }
  session.response = response;
  return true;
}

}  // namespace lumora::sim

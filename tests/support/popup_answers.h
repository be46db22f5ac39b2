// Message popups with an identifier end in an offer to show short messages
// from now on. Tests answer those from a queue of their own (Yes when it is
// empty), so that scripted answers go to real questions only.
#pragma once

#include <deque>
#include <optional>
#include <string_view>

#include "platform/headless_platform.h"
#include "services/messages.h"

namespace kiv::test {

inline void answerPopupsFrom(platform::HeadlessPlatform& platform,
                             std::deque<platform::BoxAnswer>& queue) {
  platform.preAnswer = [&queue](const platform::HeadlessPlatform::Box& box)
      -> std::optional<platform::BoxAnswer> {
    if (!std::string_view(box.text).ends_with(kPopupOfferTail)) return std::nullopt;
    if (queue.empty()) return platform::BoxAnswer::Yes;
    platform::BoxAnswer a = queue.front();
    queue.pop_front();
    return a;
  };
}

}  // namespace kiv::test

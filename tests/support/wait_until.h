// Polls a condition, for tests that wait on another thread or an X server.
#pragma once

#include <chrono>
#include <functional>

namespace velmora::testing {

// Waits until the condition holds or the time is up; the answer is the condition's.
bool WaitUntil(const std::function<bool()>& condition,
               std::chrono::milliseconds limit = std::chrono::seconds(10));

}  // namespace velmora::testing

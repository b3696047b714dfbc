#pragma once

#include <chrono>
#include <functional>

// Runs the event loop until `condition` holds or `timeout` passes; returns the condition.
// Sleeps only inside the event loop, so it wakes as soon as an event arrives.
bool waitUntil(const std::function<bool()>& condition,
               std::chrono::milliseconds timeout = std::chrono::milliseconds(5000));

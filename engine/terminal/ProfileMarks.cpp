#include "engine/terminal/ProfileMarks.h"

#include <cstdlib>
#include <cstring>

extern "C" {
// Kept out of line and opaque to the optimiser so a uprobe always has a place to attach.
__attribute__((noinline)) void profileIntervalBegin(const char* name) { asm volatile("" : : "r"(name) : "memory"); }
__attribute__((noinline)) void profileIntervalEnd(const char* name) { asm volatile("" : : "r"(name) : "memory"); }
}

namespace brevlin {

bool ProfileInterval::enabled()
{
    static const bool isEnabled = [] {
        const char* value = std::getenv("BREVLIN_PROFILE");
        return value != nullptr && std::strcmp(value, "1") == 0;
    }();
    return isEnabled;
}

ProfileInterval::ProfileInterval(const char* name)
    : name_(enabled() ? name : nullptr)
{
    if (name_ != nullptr)
        profileIntervalBegin(name_);
}

ProfileInterval::~ProfileInterval()
{
    if (name_ != nullptr)
        profileIntervalEnd(name_);
}

} // namespace brevlin

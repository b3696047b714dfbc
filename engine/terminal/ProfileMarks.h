#pragma once

namespace brevlin {

// Brackets a region for profiling when BREVLIN_PROFILE=1. On Linux each mark is a call to an
// out-of-line function named after the edge (profileIntervalBegin / profileIntervalEnd), which
// `perf probe -x <binary> profileIntervalBegin name:string` can trace; otherwise nothing happens.
class ProfileInterval {
public:
    explicit ProfileInterval(const char* name);
    ~ProfileInterval();
    ProfileInterval(const ProfileInterval&) = delete;
    ProfileInterval& operator=(const ProfileInterval&) = delete;

    // True when the environment asked for profiling; read once per process.
    static bool enabled();

private:
    const char* name_;
};

} // namespace brevlin

#pragma once

#include <iostream>
#include <string>

// Absolute time limits (a main-thread gap, a latency, a start-up time) hold for an optimised build
// as shipped. A sanitized or unoptimised (Debug) build runs our code several times slower: its
// tests print the figures, check everything else and leave those limits unjudged, saying so.
namespace TimedChecks {

inline constexpr bool judged =
#if defined(KESTREL_SANITIZED) || !defined(NDEBUG)
    false;
#else
    true;
#endif

inline const char *buildKind()
{
#if defined(KESTREL_SANITIZED)
    return "a sanitized build";
#else
    return "an unoptimised build";
#endif
}

// True when the limits are judged; otherwise prints that `what` is not judged in this build,
// and why (by default: no absolute time limit holds there).
inline bool judge(const std::string &what, const std::string &why = "no absolute time limit")
{
    if (!judged)
        std::cout << "[ not judged ] " << what << ": " << why << " in " << buildKind() << std::endl;
    return judged;
}

} // namespace TimedChecks

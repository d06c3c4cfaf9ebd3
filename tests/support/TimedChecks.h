#pragma once

#include "MachineLoad.h"

#include <QString>

#include <iostream>
#include <string>

// Absolute time limits (a main-thread gap, a latency, a start-up time) hold for an optimised build
// as shipped. A sanitized or unoptimised (Debug) build runs our code several times slower: its
// tests print the figures, check everything else and leave those limits unjudged, saying so. A
// bound on a fast path's time (its CPU time too) also needs the machine otherwise idle: see
// judgeOnIdleMachine.
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

// True when the limits are judged in this build and the rest of the machine stayed idle while
// `load` measured; otherwise prints why `what` is not judged.
inline bool judgeOnIdleMachine(const std::string &what, const MachineLoad &load)
{
    if (!judge(what))
        return false;
    const std::optional<double> others = load.othersSinceStart();
    if (!others) {
        std::cout << "[ not judged ] " << what << ": this system does not say how busy the rest of the machine was"
                  << std::endl;
        return false;
    }
    const std::string busy = "the rest of the machine kept " + QString::number(*others, 'f', 1).toStdString()
                           + " CPUs busy meanwhile";
    if (*others >= MachineLoad::kIdleCpus) {
        std::cout << "[ not judged ] " << what << ": " << busy << std::endl;
        return false;
    }
    std::cout << "[ figure   ] " << what << " judged: " << busy << std::endl;
    return true;
}

} // namespace TimedChecks

#pragma once

#include <QString>

// One running instance per user session, guarded by an exclusive lock on a
// file named after the guard in the session's runtime folder. The lock is
// held until the process ends; the kernel releases it then, even after a crash.
namespace SingleInstance {

enum class Outcome {
    Owned,         // this instance holds the guard now
    HeldElsewhere, // another instance holds it: end at once
    Unguarded,     // the guard could not be made: run without one
};

Outcome acquire(const QString& name);

// The file that stands for the guard of that name.
QString lockPath(const QString& name);

} // namespace SingleInstance

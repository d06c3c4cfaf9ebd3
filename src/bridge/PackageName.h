#pragma once

#include "CommandResult.h"

#include <QString>

// Android's package-name form: segments of ASCII letters, digits and "_", each
// beginning with a letter, joined by single dots ("android" is one segment).
// Every command line that carries a package name checks it first, so a name read
// from a file or typed by the user never reaches the device shell unchecked.
bool isValidPackageName(const QString &name);

// The result of an operation refused before any run because of a bad name.
CommandResult invalidPackageNameResult(const QString &name);

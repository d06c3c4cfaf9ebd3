#pragma once

#include "CommandResult.h"
#include "PackageDetails.h"
#include "PackageMetadata.h"

#include <QHash>
#include <QSet>
#include <QStringList>

// Results of the package queries of ADBService: the parsed data with the run's result.
struct PackageStates {
    QSet<QString> disabled;
    QSet<QString> known;
    CommandResult result;
};

struct PackageAPKPaths {
    QStringList paths;
    CommandResult result;
};

struct PackageDetailsAnswer {
    PackageDetails details;
    CommandResult result;
};

struct PackageMetadataAnswer {
    QHash<QString, PackageMetadata> metadata;
    CommandResult result;
};

#pragma once

#include "bridge/Resources.h"

#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

// The command lines of one metadata program run, without "-s serial".
inline const QStringList kMetadataRun{QStringLiteral("shell"), QStringLiteral("CLASSPATH=/data/local/tmp/kestrel-metadata.dex"),
                                      QStringLiteral("app_process"), QStringLiteral("/system/bin"),
                                      QStringLiteral("local.quill.kestrel.MetadataMain")};
inline const QStringList kMetadataRemove{QStringLiteral("shell"), QStringLiteral("rm"), QStringLiteral("-f"),
                                         QStringLiteral("/data/local/tmp/kestrel-metadata.dex")};

// A resources folder holding a stand-in for the on-device program, for the life of the fixture:
// the fake adb never reads the file, and the tests stay apart from the build's real program.
struct MetadataProgramResource {
    QTemporaryDir dir;
    QString program = dir.path() + QStringLiteral("/kestrel-metadata.dex");

    MetadataProgramResource()
    {
        QFile f(program);
        f.open(QIODevice::WriteOnly);
        f.write("dex\n");
        f.close();
        Resources::setRootForTesting(dir.path());
    }
    ~MetadataProgramResource() { Resources::setRootForTesting(QString()); }

    QStringList push(const QString &serial) const
    {
        return {QStringLiteral("-s"), serial, QStringLiteral("push"), program,
                QStringLiteral("/data/local/tmp/kestrel-metadata.dex")};
    }
};

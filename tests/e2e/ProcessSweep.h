#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <sys/types.h>

// Processes of this user that carry a marker (a private folder's path) in their command
// line or environment: what a test started, directly or through adb and the simulated
// phone, since every such process inherits the folder as HOME, TMPDIR or a state path.
struct MarkedProcess {
    pid_t pid = 0;
    QString commandLine;
};

QList<MarkedProcess> processesMarkedWith(const QByteArray &marker);
QString describe(const QList<MarkedProcess> &processes);
// Waits until none is left (true), else kills what remains and answers false.
bool awaitNoneMarkedWith(const QByteArray &marker, int timeoutMs, QList<MarkedProcess> *leftOver);

#pragma once

#include "bridge/ConsoleMode.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QUuid>

// A ready-made console command. Only the catalogue makes them; each gets an identity of its
// own, so two rows with equal texts are still different snippets.
struct ConsoleSnippet {
    ConsoleSnippet(QString group, QString title, QString command, ConsoleMode mode)
        : id(QUuid::createUuid()), group(std::move(group)), title(std::move(title)), command(std::move(command)),
          mode(mode) {}

    QUuid id;
    QString group;   // the heading it is listed under
    QString title;   // the short label above the command
    QString command; // put into the command line exactly as stored, trailing spaces included
    ConsoleMode mode = ConsoleMode::deviceShell;

    bool operator==(const ConsoleSnippet &) const = default;
};

size_t qHash(const ConsoleSnippet &snippet, size_t seed = 0);

// The fixed catalogue of snippets, grouped by topic. Read-only; built once per process.
namespace ConsoleSnippets {
// Every snippet, in catalogue order.
const QList<ConsoleSnippet> &all();
// The distinct groups of `all()` in order of first appearance.
QStringList groups();
} // namespace ConsoleSnippets

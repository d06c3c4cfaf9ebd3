#pragma once

#include <QDateTime>
#include <QString>
#include <QUuid>

// One finished operation of the history. Every record gets an identifier of its own,
// so two records made with the same texts are never equal.
struct OperationRecord {
    OperationRecord() = default;
    OperationRecord(QString title, QString detail, QDateTime date, bool succeeded)
        : id(QUuid::createUuid()), title(std::move(title)), detail(std::move(detail)), date(std::move(date)),
          succeeded(succeeded) {}

    QUuid id;
    QString title;
    QString detail;
    QDateTime date;
    bool succeeded = false;

    bool operator==(const OperationRecord &) const = default;
};

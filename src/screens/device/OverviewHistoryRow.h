#pragma once

#include <QColor>
#include <QString>

#include <functional>

struct OperationRecord;
class QWidget;

// The small symbol of a history row (and of the all-clear note), in the colour `ink` gives at paint time.
QWidget *historySymbol(const QString &name, std::function<QColor()> ink, QWidget *parent);

// One record of the Overview's history: state symbol, title over detail, time.
QWidget *overviewHistoryRow(const OperationRecord &record, QWidget *parent);

#include "CommandResult.h"

#include <QStringList>

QString CommandResult::combinedOutput() const
{
    QStringList parts;
    if (!stdOut.trimmed().isEmpty())
        parts << stdOut;
    if (!stdErr.trimmed().isEmpty())
        parts << stdErr;
    return parts.join(QLatin1Char('\n'));
}

#include "ConsoleCommandError.h"

QString ConsoleCommandError::errorDescription() const
{
    switch (kind) {
    case Kind::forbiddenDeviceSelector:
        return QStringLiteral("Параметр ") + argument + QStringLiteral(" запрещён: устройство выбирается в основном окне");
    case Kind::empty:
        return QStringLiteral("Команда не задана");
    case Kind::unmatchedQuote:
        return QStringLiteral("В команде не закрыта кавычка");
    }
    return {};
}

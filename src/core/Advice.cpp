#include "Advice.h"

#include "bridge/Bytes.h"

#include <QRegularExpression>

#include <cmath>

std::optional<QDateTime> securityPatchDate(const QString &patch)
{
    // Exactly four, two and two digits: a patch level is never written otherwise, and
    // a looser reading would turn garbage into a date.
    static const QRegularExpression form(QStringLiteral("^(\\d{4})-(\\d{2})-(\\d{2})$"));
    const QRegularExpressionMatch m = form.match(patch);
    if (!m.hasMatch())
        return std::nullopt;
    const QDate date(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    if (!date.isValid())
        return std::nullopt;
    return QDateTime(date, QTime(0, 0), Qt::LocalTime);
}

qint64 calendarMonthsBetween(const QDateTime &from, const QDateTime &to)
{
    const QDate a = from.date(), b = to.date();
    qint64 months = qint64(b.year() - a.year()) * 12 + (b.month() - a.month());
    if (months > 0 && from.addMonths(int(months)) > to)
        --months;
    else if (months < 0 && from.addMonths(int(months)) < to)
        ++months;
    return months;
}

QList<DeckAdvice> buildAdvice(const AdviceInputs &in)
{
    QList<DeckAdvice> cards;
    const std::optional<DeviceSnapshot> &s = in.snapshot;

    if (s) {
        const auto progress = s->storageProgress();
        if (progress && *progress > 0.88) {
            // Truncated, not rounded; a share beyond any sane size reads as what it is.
            const double percent = std::trunc(*progress * 100.0);
            const QString number = percent < 1e15 ? QString::number(qint64(percent)) : QStringLiteral("—");
            cards << DeckAdvice{QStringLiteral("storage"), QStringLiteral("internaldrive.fill"),
                                QStringLiteral("Хранилище почти заполнено"),
                                QStringLiteral("Занято ") + number
                                    + QStringLiteral("% раздела /data. Освободите место, иначе обновления и установка "
                                                     "приложений начнут завершаться ошибкой."),
                                Tone::warning, AppRoute::debloat, QStringLiteral("Перейти к очистке")};
        }
    }

    if (in.reclaimableCount != 0)
        cards << DeckAdvice{QStringLiteral("reclaim"), QStringLiteral("sparkles"),
                            QStringLiteral("Можно освободить ") + Bytes::shortText(in.reclaimableBytes),
                            QString::number(in.reclaimableCount)
                                + QStringLiteral(" предустановленных приложений отмечены как безопасные для "
                                                 "отключения. Действие обратимо."),
                            Tone::accent, AppRoute::debloat, QStringLiteral("Показать список")};

    if (s) {
        if (s->batteryHealthCode && *s->batteryHealthCode != 1 && *s->batteryHealthCode != 2)
            cards << DeckAdvice{QStringLiteral("battery"), QStringLiteral("battery.25"),
                                QStringLiteral("Состояние батареи: ")
                                    + s->batteryHealthText().value_or(QStringLiteral("требует внимания")),
                                QStringLiteral("Android сообщает о неоптимальном состоянии аккумулятора. Длительные "
                                               "операции лучше выполнять с подключённым питанием."),
                                Tone::warning};

        if (s->securityPatch) {
            if (const auto date = securityPatchDate(*s->securityPatch)) {
                const qint64 months = calendarMonthsBetween(*date, in.now);
                if (months >= 12)
                    cards << DeckAdvice{QStringLiteral("patch"), QStringLiteral("shield.lefthalf.filled.slash"),
                                        QStringLiteral("Патч безопасности устарел"),
                                        QStringLiteral("Последнее обновление безопасности от ") + *s->securityPatch
                                            + QStringLiteral(" — это ") + Bytes::months(months)
                                            + QStringLiteral(" назад."),
                                        Tone::warning};
            }
        }

        if (s->hasRoot())
            cards << DeckAdvice{QStringLiteral("root"), QStringLiteral("key.fill"),
                                QStringLiteral("Обнаружен root-доступ"),
                                QStringLiteral("На устройстве найден бинарник su. Команды выполняются с расширенными "
                                               "правами — будьте внимательны с системными пакетами."),
                                Tone::violet};

        if (s->connection() == ConnectionKind::wireless)
            cards << DeckAdvice{QStringLiteral("wireless"), QStringLiteral("wifi"), QStringLiteral("Соединение по Wi-Fi"),
                                QStringLiteral("Массовые операции и выгрузка APK по сети идут медленнее и "
                                               "чувствительны к обрывам. Для больших задач подключите кабель."),
                                Tone::accent};
    }

    const bool anyUnauthorized = std::any_of(in.devices.begin(), in.devices.end(), [](const AndroidDevice &d) {
        return d.state == QStringLiteral("unauthorized");
    });
    if (anyUnauthorized)
        cards << DeckAdvice{QStringLiteral("unauthorized"), QStringLiteral("lock.trianglebadge.exclamationmark.fill"),
                            QStringLiteral("Устройство ждёт подтверждения"),
                            QStringLiteral("Разблокируйте экран Android и подтвердите запрос «Разрешить отладку по USB»."),
                            Tone::danger};

    if (in.removedPackageCount != 0)
        cards << DeckAdvice{QStringLiteral("removed"), QStringLiteral("arrow.uturn.backward.circle"),
                            QStringLiteral("Удалено для пользователя: ") + QString::number(in.removedPackageCount),
                            QStringLiteral("Эти пакеты остались в прошивке и могут быть восстановлены одной командой "
                                           "без сброса устройства."),
                            Tone::neutral, AppRoute::applications, QStringLiteral("Показать")};
    return cards;
}

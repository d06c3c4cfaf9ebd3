#include "DebloatCatalog.h"

#include <QHash>

#include <algorithm>
#include <vector>

namespace {

enum class Match { exact, prefix, contains };

struct Rule {
    Match match;
    QString pattern;
    DebloatVerdict verdict;

    bool matches(const QString &name) const
    {
        switch (match) {
        case Match::exact: return name == pattern;
        case Match::prefix: return name.startsWith(pattern);
        case Match::contains: return name.contains(pattern);
        }
        return false;
    }
    int specificity() const
    {
        return int(pattern.size()) + (match == Match::exact ? 10000 : match == Match::prefix ? 5000 : 0);
    }
};

const QString kCore = QStringLiteral("Ядро системы");
const QString kNetwork = QStringLiteral("Связь и сеть");
const QString kGoogle = QStringLiteral("Сервисы Google");
const QString kInput = QStringLiteral("Ввод и доступность");
const QString kPreinstalled = QStringLiteral("Предустановленные приложения");
const QString kVendor = QStringLiteral("Оболочка производителя");
const QString kAds = QStringLiteral("Аналитика и реклама");
const QString kMedia = QStringLiteral("Медиа и контент");

using R = RemovalRisk;

Rule rule(Match m, const char16_t *pattern, R risk, const QString &category, const char16_t *summary,
          const char16_t *consequence)
{
    return Rule{m, QString::fromUtf16(pattern), DebloatVerdict{risk, QString::fromUtf16(summary),
                                                               QString::fromUtf16(consequence), category}};
}

// Catalogue order decides between rules of equal specificity.
const std::vector<Rule> &rules()
{
    static const std::vector<Rule> list = [] {
        const auto E = Match::exact, P = Match::prefix, C = Match::contains;
        const char16_t *vendorConsequence =
            u"Назначение зависит от компонента: от отдельного приложения до системной функции оболочки. Начните с отключения, чтобы изменение можно было откатить.";
        return std::vector<Rule>{
            rule(E, u"android", R::critical, kCore, u"Базовый пакет Android-фреймворка.",
                 u"Удаление невозможно и приведёт к отказу системы."),
            rule(P, u"com.android.systemui", R::critical, kCore,
                 u"Системный интерфейс: строка состояния, шторка, кнопки навигации.",
                 u"Экран останется чёрным, устройство станет неуправляемым."),
            rule(E, u"com.android.settings", R::critical, kCore, u"Системное приложение «Настройки».",
                 u"Изменить параметры устройства, сети и учётных записей станет нечем; часть системных диалогов перестанет открываться."),
            rule(P, u"com.android.providers.", R::critical, kCore,
                 u"Системный поставщик данных: контакты, календарь, медиафайлы, загрузки или настройки.",
                 u"Приложения потеряют доступ к общим данным; возможны сбои системы."),
            rule(E, u"com.android.phone", R::critical, kNetwork, u"Телефонная служба: звонки, SIM-карта, мобильная сеть.",
                 u"Перестанут работать звонки, SMS и мобильный интернет."),
            rule(E, u"com.android.server.telecom", R::critical, kNetwork, u"Системная служба управления вызовами.",
                 u"Входящие и исходящие звонки перестанут проходить."),
            rule(C, u"telephony", R::critical, kNetwork, u"Компонент телефонии и работы с SIM-картой.",
                 u"Возможна потеря мобильной связи, SMS и передачи данных."),
            rule(E, u"com.android.shell", R::critical, kCore, u"Оболочка, через которую ADB выполняет команды.",
                 u"Приложение потеряет управление устройством: ADB перестанет отвечать."),
            rule(E, u"com.android.packageinstaller", R::critical, kCore, u"Системный установщик пакетов.",
                 u"Устанавливать, обновлять и удалять приложения на устройстве станет невозможно."),
            rule(E, u"com.google.android.packageinstaller", R::critical, kCore, u"Системный установщик пакетов в сборке Google.",
                 u"Устанавливать, обновлять и удалять приложения на устройстве станет невозможно."),
            rule(E, u"com.android.permissioncontroller", R::critical, kCore, u"Контроллер разрешений приложений.",
                 u"Запросы разрешений перестанут появляться: приложения не получат доступ к камере, файлам и геолокации."),
            rule(E, u"com.google.android.permissioncontroller", R::critical, kCore,
                 u"Контроллер разрешений приложений в сборке Google.",
                 u"Запросы разрешений перестанут появляться: приложения не получат доступ к камере, файлам и геолокации."),
            rule(C, u"webview", R::critical, kCore, u"Системный WebView для показа веб-страниц внутри приложений.",
                 u"Приложения, которые показывают веб-содержимое, начнут падать или покажут пустые экраны."),
            rule(E, u"com.google.android.gms", R::critical, kGoogle,
                 u"Google Play Services — авторизация, push-уведомления, геолокация, платежи.",
                 u"Большинство приложений потеряет вход в аккаунт и уведомления."),
            rule(E, u"com.google.android.gsf", R::critical, kGoogle, u"Google Services Framework — основа сервисов Google.",
                 u"Перестанут работать вход в аккаунт Google, синхронизация и Google Play."),
            rule(E, u"com.android.bluetooth", R::critical, kNetwork, u"Системная служба Bluetooth.",
                 u"Наушники, часы и другие Bluetooth-устройства перестанут подключаться."),
            rule(C, u"com.android.wifi", R::critical, kNetwork, u"Компонент Wi-Fi.",
                 u"Возможна полная потеря беспроводной сети, включая ADB по Wi-Fi."),
            rule(E, u"com.android.nfc", R::advanced, kNetwork, u"Служба NFC.",
                 u"Перестанут работать бесконтактная оплата и обмен данными по NFC."),
            rule(E, u"com.android.externalstorage", R::critical, kCore, u"Поставщик доступа к общему хранилищу.",
                 u"Приложения и файловые менеджеры потеряют доступ к памяти устройства и карте памяти."),
            rule(E, u"com.android.documentsui", R::advanced, kCore, u"Системное окно выбора файлов («Файлы»).",
                 u"Приложения не смогут открыть окно выбора файла для загрузки или сохранения."),
            rule(E, u"com.android.mtp", R::advanced, kNetwork, u"Служба передачи файлов по USB (MTP).",
                 u"Компьютер перестанет видеть память устройства при подключении по USB; ADB продолжит работать."),
            rule(E, u"com.android.keychain", R::critical, kCore, u"Системное хранилище ключей и сертификатов.",
                 u"Перестанут работать защищённые сети Wi-Fi, VPN и корпоративные учётные записи."),
            rule(E, u"com.android.certinstaller", R::advanced, kCore, u"Установщик сертификатов безопасности.",
                 u"Установить сертификат для Wi-Fi, VPN или корпоративной почты станет невозможно."),
            rule(C, u"inputmethod", R::critical, kInput, u"Экранная клавиатура.",
                 u"Если это единственная клавиатура, вводить текст на устройстве станет нечем."),
            rule(C, u"com.android.launcher", R::critical, kCore, u"Рабочий стол устройства.",
                 u"После выхода из приложения экран останется пустым."),
            rule(C, u"launcher", R::advanced, kCore, u"Рабочий стол оболочки.",
                 u"Если другого рабочего стола нет, после выхода из приложения экран останется пустым."),
            rule(P, u"com.qualcomm.", R::critical, kCore, u"Компонент платформы Qualcomm: модем, камера, датчики, питание.",
                 u"Возможны потеря связи, сбои оборудования и циклическая перезагрузка."),
            rule(P, u"com.mediatek", R::critical, kCore, u"Компонент платформы MediaTek: модем, радио, датчики.",
                 u"Возможны потеря связи, сбои оборудования и циклическая перезагрузка."),
            rule(P, u"com.android.emergency", R::critical, kNetwork, u"Экстренные вызовы и сведения для экстренных служб.",
                 u"Экстренный вызов и медицинские данные на экране блокировки станут недоступны."),
            rule(C, u"com.android.cellbroadcast", R::advanced, kNetwork, u"Приём экстренных оповещений оператора.",
                 u"Устройство перестанет показывать предупреждения о чрезвычайных ситуациях."),
            rule(E, u"com.android.vending", R::advanced, kGoogle, u"Магазин Google Play.",
                 u"Приложения перестанут устанавливаться и обновляться из Play; часть приложений проверяет его наличие и может не запуститься."),
            rule(C, u"setupwizard", R::advanced, kCore, u"Мастер первоначальной настройки.",
                 u"После сброса к заводским настройкам настройка устройства может не завершиться."),
            rule(C, u"ota", R::advanced, kCore, u"Служба обновления прошивки по воздуху.",
                 u"Устройство перестанет получать системные обновления."),
            rule(C, u"updat", R::advanced, kCore, u"Компонент обновления системы или приложений.",
                 u"Устройство или встроенные приложения перестанут получать обновления, в том числе исправления безопасности."),
            rule(E, u"com.android.printspooler", R::review, kPreinstalled, u"Системная служба печати.",
                 u"Печать документов и фотографий из приложений станет недоступна."),
            rule(E, u"com.google.android.apps.wellbeing", R::review, kGoogle,
                 u"«Цифровое благополучие»: экранное время и режим отхода ко сну.",
                 u"Пропадут таймеры приложений, режим сна и статистика использования."),
            rule(E, u"com.google.android.projection.gearhead", R::safe, kGoogle,
                 u"Android Auto для автомобильных мультимедиа-систем.",
                 u"Устройство перестанет подключаться к экрану автомобиля."),
            rule(E, u"com.android.dialer", R::advanced, kNetwork, u"Приложение «Телефон».",
                 u"Без другой звонилки станет нечем набрать номер и принять вызов."),
            rule(C, u"contacts", R::advanced, kCore, u"Контакты или хранилище контактов.",
                 u"Адресная книга может стать недоступной для звонков, сообщений и мессенджеров."),
            rule(C, u"camera", R::advanced, kVendor, u"Приложение или служба камеры.",
                 u"Съёмка фото и видео, сканирование QR-кодов и разблокировка по лицу могут перестать работать."),
            rule(C, u"com.android.calendar", R::review, kPreinstalled, u"Календарь.",
                 u"Пропадут приложение календаря и его напоминания; события в аккаунте сохранятся."),
            rule(C, u"gallery", R::review, kVendor, u"Галерея фото и видео.",
                 u"Встроенный просмотр снимков станет недоступен; сами файлы не удаляются."),
            rule(C, u"backup", R::advanced, kCore, u"Служба резервного копирования.",
                 u"Резервные копии данных и настроек перестанут создаваться; восстановление из копии может не сработать."),
            rule(C, u"securitycenter", R::advanced, kVendor, u"Центр безопасности оболочки: очистка, разрешения, автозапуск.",
                 u"Пропадут управление разрешениями и автозапуском оболочки; часть настроек может перестать открываться."),
            rule(C, u"analytics", R::safe, kAds, u"Сбор аналитики об использовании устройства.",
                 u"Никакие пользовательские функции не затрагиваются."),
            rule(C, u"adservice", R::safe, kAds, u"Рекламная служба.",
                 u"Пропадёт персонализированная реклама; пользовательские функции не затрагиваются."),
            rule(C, u".ads", R::safe, kAds, u"Рекламный модуль.", u"Никакие пользовательские функции не затрагиваются."),
            rule(C, u"adsdk", R::safe, kAds, u"Встроенный рекламный SDK.", u"Никакие пользовательские функции не затрагиваются."),
            rule(E, u"com.miui.analytics", R::safe, kAds, u"Сбор аналитики оболочки MIUI.",
                 u"Никакие пользовательские функции не затрагиваются."),
            rule(E, u"com.miui.msa.global", R::safe, kAds, u"Рекламная служба MIUI (MSA).",
                 u"Пропадёт реклама в системных приложениях MIUI; остальные функции работают."),
            rule(P, u"com.facebook.", R::safe, kAds, u"Предустановленный сервисный модуль Facebook.",
                 u"Работает только вместе с приложением Facebook, которое можно установить заново."),
            rule(E, u"com.google.android.apps.tachyon", R::safe, kGoogle, u"Google Meet (бывший Duo) — видеозвонки.",
                 u"Пропадут видеозвонки Meet; приложение можно установить из Play заново."),
            rule(E, u"com.google.android.videos", R::safe, kMedia, u"Google TV (бывшие Play Фильмы).",
                 u"Пропадёт просмотр купленных фильмов в приложении; его можно установить заново."),
            rule(E, u"com.google.android.music", R::safe, kMedia, u"Google Play Музыка.",
                 u"Сервис закрыт; никакие функции не затрагиваются."),
            rule(E, u"com.google.android.apps.books", R::safe, kMedia, u"Google Play Книги.",
                 u"Пропадёт чтение купленных книг в приложении; его можно установить из Play заново."),
            rule(E, u"com.google.android.apps.docs", R::safe, kGoogle, u"Google Диск.",
                 u"Пропадёт приложение Диска; файлы в облаке останутся доступны через браузер."),
            rule(E, u"com.google.android.youtube", R::safe, kMedia, u"YouTube.",
                 u"Пропадёт приложение YouTube; видео доступны в браузере, приложение можно установить заново."),
            rule(E, u"com.google.android.apps.magazines", R::safe, kMedia, u"Google Новости.",
                 u"Пропадёт лента новостей Google; на систему не влияет."),
            rule(E, u"com.google.android.apps.podcasts", R::safe, kMedia, u"Google Подкасты.",
                 u"Пропадёт приложение подкастов; на систему не влияет."),
            rule(E, u"com.netflix.partner.activation", R::safe, kPreinstalled,
                 u"Служба активации предустановленного Netflix.",
                 u"Никакие функции не затрагиваются: Netflix из Play работает без неё."),
            rule(C, u"com.netflix", R::safe, kPreinstalled, u"Предустановленный Netflix.",
                 u"Пропадёт приложение Netflix; его можно установить из Play заново."),
            rule(C, u"booking", R::safe, kPreinstalled, u"Предустановленное приложение Booking.com.",
                 u"Никакие системные функции не затрагиваются."),
            rule(C, u"linkedin", R::safe, kPreinstalled, u"Предустановленное приложение LinkedIn.",
                 u"Никакие системные функции не затрагиваются."),
            rule(C, u"spotify", R::safe, kPreinstalled, u"Предустановленное приложение Spotify.",
                 u"Пропадёт приложение Spotify; его можно установить из Play заново."),
            rule(C, u"aliexpress", R::safe, kPreinstalled, u"Предустановленное приложение AliExpress.",
                 u"Никакие системные функции не затрагиваются."),
            rule(C, u"browser", R::review, kVendor, u"Встроенный браузер.",
                 u"Ссылки откроются в другом браузере; если его нет, открывать веб-страницы будет нечем."),
            rule(P, u"com.miui.", R::review, kVendor, u"Компонент оболочки MIUI.", vendorConsequence),
            rule(P, u"com.xiaomi.", R::review, kVendor, u"Приложение или служба Xiaomi.",
                 u"Могут перестать работать аккаунт Xiaomi, облако или фирменные функции. Начните с отключения."),
            rule(P, u"com.heytap.", R::review, kVendor, u"Служба HeyTap оболочек OPPO и OnePlus.",
                 u"Могут пропасть облако, магазин или фирменные функции. Начните с отключения."),
            rule(P, u"com.coloros.", R::review, kVendor, u"Компонент оболочки ColorOS.", vendorConsequence),
            rule(P, u"com.oplus.", R::review, kVendor, u"Компонент оболочки OPPO и OnePlus.", vendorConsequence),
            rule(P, u"com.realme", R::review, kVendor, u"Приложение или служба realme.",
                 u"Могут пропасть фирменные функции realme. Начните с отключения."),
            rule(P, u"com.samsung.android.", R::review, kVendor, u"Компонент оболочки One UI (Samsung).", vendorConsequence),
            rule(P, u"com.sec.android.", R::review, kVendor, u"Компонент прошивки Samsung.", vendorConsequence),
            rule(P, u"com.huawei.", R::review, kVendor, u"Компонент оболочки EMUI (Huawei).", vendorConsequence),
            rule(P, u"com.transsion", R::review, kVendor, u"Компонент оболочки Transsion (Tecno, Infinix, itel).",
                 vendorConsequence),
            rule(P, u"com.vivo.", R::review, kVendor, u"Компонент оболочки vivo.", vendorConsequence),
            rule(E, u"com.samsung.android.bixby.agent", R::safe, kVendor, u"Голосовой ассистент Bixby.",
                 u"Кнопка Bixby и голосовые команды Samsung перестанут работать."),
            rule(C, u"bixby", R::safe, kVendor, u"Компонент ассистента Bixby.",
                 u"Пропадут функции Bixby; остальная система работает как прежде."),
            rule(C, u"themestore", R::safe, kVendor, u"Магазин тем оболочки.",
                 u"Новые темы станут недоступны; текущая тема сохранится."),
            rule(C, u"wallpaper", R::review, kVendor, u"Обои или служба живых обоев.",
                 u"Могут пропасть выбор обоев и живые обои; возможен возврат к стандартным обоям."),
            rule(C, u"assistant", R::review, kVendor, u"Голосовой или сервисный ассистент.",
                 u"Голосовые команды и подсказки ассистента перестанут работать."),
            rule(P, u"com.google.android.apps.", R::safe, kGoogle, u"Приложение Google.",
                 u"Переустанавливается из Play; на систему не влияет."),
            rule(P, u"com.google.android.", R::review, kGoogle, u"Компонент экосистемы Google.",
                 u"Возможна потеря отдельной функции синхронизации или поиска."),
            rule(P, u"com.android.", R::review, kCore, u"Системный компонент AOSP.",
                 u"Назначение зависит от прошивки. Начните с отключения, чтобы изменение можно было откатить."),
        };
    }();
    return list;
}

// Most specific first; ties keep catalogue order. Built once, thread-safe by static init.
std::vector<const Rule *> orderedRules(bool blockingOnly)
{
    std::vector<const Rule *> list;
    for (const Rule &r : rules())
        if (!blockingOnly || r.verdict.risk > RemovalRisk::review)
            list.push_back(&r);
    std::stable_sort(list.begin(), list.end(),
                     [](const Rule *a, const Rule *b) { return a->specificity() > b->specificity(); });
    return list;
}

const std::vector<const Rule *> &blockingRules()
{
    static const std::vector<const Rule *> list = orderedRules(true);
    return list;
}

const std::vector<const Rule *> &descriptiveRules()
{
    static const std::vector<const Rule *> list = orderedRules(false);
    return list;
}

const DebloatVerdict &fallback(PackageKind kind)
{
    static const DebloatVerdict system{RemovalRisk::review, QStringLiteral("Системный пакет, отсутствующий в базе описаний."),
                                       QStringLiteral("Назначение неизвестно. Безопаснее отключить и проверить работу устройства, чем удалять."),
                                       QStringLiteral("Не классифицировано")};
    static const DebloatVerdict user{RemovalRisk::safe, QStringLiteral("Пользовательское приложение, установленное поверх прошивки."),
                                     QStringLiteral("Удаляется и устанавливается заново без последствий для системы."),
                                     kPreinstalled};
    return kind == PackageKind::system ? system : user;
}

} // namespace

namespace DebloatCatalog {

const DebloatVerdict &verdict(const QString &name, PackageKind kind)
{
    for (const Rule *r : blockingRules())
        if (r->matches(name))
            return r->verdict;
    for (const Rule *r : descriptiveRules())
        if (r->matches(name))
            return r->verdict;
    return fallback(kind);
}

QList<RuleDescription> describeRules()
{
    QList<RuleDescription> list;
    for (const Rule &r : rules()) {
        const QString match = r.match == Match::exact ? QStringLiteral("exact")
            : r.match == Match::prefix                 ? QStringLiteral("prefix")
                                                       : QStringLiteral("contains");
        list << RuleDescription{r.pattern, match, r.verdict};
    }
    return list;
}

} // namespace DebloatCatalog

const DebloatVerdict &AndroidPackage::risk() const
{
    // A name's verdict never changes, and lists ask for it on every keystroke and
    // every comparison of the risk sort: remember it per thread, by kind and name.
    thread_local QHash<QString, const DebloatVerdict *> cache[2];
    QHash<QString, const DebloatVerdict *> &byName = cache[kind == PackageKind::system ? 1 : 0];
    if (byName.size() > 100'000)
        byName.clear(); // names of many devices over a long session
    const auto found = byName.constFind(name);
    if (found != byName.constEnd())
        return **found;
    const DebloatVerdict &v = DebloatCatalog::verdict(name, kind);
    byName.insert(name, &v);
    return v;
}

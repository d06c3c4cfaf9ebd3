#include "AppTest.h"

#include "E2eTools.h"
#include "GeometryWalk.h"
#include "ProcessSweep.h"

#include "bridge/Resources.h"
#include "core/AppModel.h"
#include "core/AppSettings.h"
#include "core/JsonSettingsFormat.h"
#include "design/Accessibility.h"
#include "design/DeckParagraph.h"
#include "design/DeckSegmented.h"
#include "design/DeckText.h"
#include "design/Transition.h"
#include "shell/KestrelApp.h"
#include "shell/MainWindow.h"
#include "shell/SidebarView.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QScrollArea>
#include <QTest>

#include <iostream>

namespace {

// How many polled conditions (`eventually`) are under way on this thread.
int pollDepth = 0;

QString plainText(QString text) { return text.remove(QLatin1Char('&')); }

// What a user calls a widget: its accessible name, else its text, else its object name.
QStringList namesOf(const QWidget *w)
{
    QStringList names{w->accessibleName()};
    if (auto *button = qobject_cast<const QAbstractButton *>(w))
        names << plainText(button->text());
    names << w->objectName();
    if (auto *field = qobject_cast<const QLineEdit *>(w))
        names << field->placeholderText();
    return names;
}

void describeInto(const QWidget *w, int depth, QString *out)
{
    if (!w->isVisible())
        return;
    const QStringList names = namesOf(w);
    QStringList shown;
    for (const QString &n : names)
        if (!n.isEmpty() && !shown.contains(n))
            shown << n;
    *out += QString(depth * 2, QLatin1Char(' ')) + QString::fromLatin1(w->metaObject()->className())
          + (shown.isEmpty() ? QString() : QStringLiteral(" \"") + shown.join(QStringLiteral("\" \"")) + QLatin1Char('"'))
          + QStringLiteral(" %1,%2 %3×%4\n").arg(w->x()).arg(w->y()).arg(w->width()).arg(w->height());
    for (QObject *child : w->children())
        if (auto *c = qobject_cast<QWidget *>(child); c && !c->isWindow())
            describeInto(c, depth + 1, out);
}

} // namespace

QString describeTree(const QWidget *root)
{
    QString out;
    describeInto(root, 0, &out);
    return out;
}

QSize AppTest::windowSize() const { return MainWindow::kDefaultSize; }

void AppTest::SetUp()
{
    if (const auto why = E2eTools::unavailableReason())
        GTEST_SKIP() << "acceptance suite skipped: " << why->toStdString();
    session = std::make_unique<PhoneSession>();
    ASSERT_TRUE(session->isValid());
    QString error;
    ASSERT_TRUE(session->startAdbServer(&error)) << error.toStdString();
    session->useHomeFolders();
    phone = session->addPhone(phoneOptions(), {}, &error);
    ASSERT_NE(phone, nullptr) << error.toStdString();
    if (connectsPhone())
        ASSERT_TRUE(session->connect(*phone, &error)) << error.toStdString();

    // As main makes them, with Debian's adb given rather than searched for. The application finds
    // its resources (the metadata program that reads labels and icons) beside itself; the test
    // executable lives elsewhere.
    Resources::setRootForTesting(E2eTools::resourcesFolder());
    ASSERT_FALSE(A11y::reduceMotion());
    store.reset(newStandardSettings());
    settings = std::make_unique<AppSettings>(store.get());
    appModel = std::make_unique<AppModel>(store.get(), ADBService(E2eTools::adb()), true, true,
                                          KestrelApp::monitorIntervalNanoseconds(1.0), ToolSearchEnvironment{});
    model = appModel.get();
    app = std::make_unique<KestrelApp>(appModel.get(), settings.get());
    app->endProcess = [] {}; // the test ends, not the process
    app->showMainWindow();
    mainWindow()->resize(windowSize());
    ASSERT_TRUE(QTest::qWaitForWindowActive(mainWindow()));
    if (connectsPhone())
        ASSERT_TRUE(eventually([&] {
            const auto device = model->selectedDevice();
            return device && device->id == phone->serial() && device->isReady() && !model->packages().isEmpty()
                && !model->isBusy();
        })) << "the application finds the phone and lists its packages";
}

void AppTest::TearDown()
{
    if (!session)
        return;
    if (HasFailure() && app)
        for (QWidget *w : windows())
            std::cerr << describeTree(w).toStdString();
    if (app)
        app->quit();
    app.reset();
    model = nullptr;
    appModel.reset();
    settings.reset();
    store.reset();
    const QByteArray marker = session->marker();
    phone = nullptr;
    session->shutdown();
    QList<MarkedProcess> left;
    EXPECT_TRUE(awaitNoneMarkedWith(marker, 30000, &left)) << "processes left behind:\n" << describe(left).toStdString();
    if (HasFailure()) {
        session->keepFolder();
        std::cerr << "the session's folder is kept: " << marker.toStdString() << "\n";
    }
    session.reset();
    Resources::setRootForTesting(QString());
}

QWidget *AppTest::mainWindow() const { return app ? app->mainWindow() : nullptr; }

QList<QWidget *> AppTest::windows() const
{
    QList<QWidget *> list;
    if (mainWindow() && mainWindow()->isVisible())
        list << mainWindow();
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->isVisible() && w != mainWindow() && !w->windowFlags().testFlag(Qt::ToolTip))
            list << w;
    return list;
}

QList<QWidget *> AppTest::findAll(const QString &name, QWidget *within) const
{
    QList<QWidget *> found;
    for (QWidget *top : within ? QList<QWidget *>{within} : windows())
        for (QWidget *w : top->findChildren<QWidget *>())
            if (w->isVisible() && namesOf(w).contains(name))
                found << w;
    return found;
}

QWidget *AppTest::find(const QString &name, QWidget *within) const
{
    if (pollDepth > 0 && !reportedFindInPoll) {
        reportedFindInPoll = true;
        ADD_FAILURE() << "find(\"" << name.toStdString()
                      << "\") inside a polled condition fails whenever the widget is briefly missing: use lookup()";
    }
    const QList<QWidget *> found = findAll(name, within);
    if (found.size() == 1)
        return found.first();
    if (pollDepth == 0)
        ADD_FAILURE() << (found.isEmpty() ? "no shown widget is called \"" : "several shown widgets are called \"")
                      << name.toStdString() << "\"";
    return nullptr;
}

QWidget *AppTest::lookup(const QString &name, QWidget *within) const
{
    const QList<QWidget *> found = findAll(name, within);
    return found.size() == 1 ? found.first() : nullptr;
}

QStringList AppTest::shownTexts(const QString &prefix, QWidget *within) const
{
    QStringList texts;
    for (QWidget *top : within ? QList<QWidget *>{within} : windows())
        for (QWidget *w : top->findChildren<QWidget *>()) {
            if (!w->isVisible())
                continue;
            QString text;
            if (auto *t = qobject_cast<DeckText *>(w))
                text = t->text();
            else if (auto *p = qobject_cast<DeckParagraph *>(w))
                text = p->text();
            else if (auto *l = qobject_cast<QLabel *>(w))
                text = l->text();
            else
                continue;
            if (text.startsWith(prefix))
                texts << text;
        }
    return texts;
}

QStringList AppTest::rowTexts(const QAbstractItemView *view, int role)
{
    QStringList rows;
    const QAbstractItemModel *m = view ? view->model() : nullptr;
    for (int r = 0; m && r < m->rowCount(view->rootIndex()); ++r)
        rows << m->index(r, 0, view->rootIndex()).data(role).toString();
    return rows;
}

QWidget *AppTest::dialog() const { return QApplication::activeModalWidget(); }

bool AppTest::reachable(const QWidget *w, std::optional<QPoint> at)
{
    if (!w || !w->isVisible() || !w->isEnabled())
        return false;
    const QWidget *top = w->window();
    const QWidget *hit = top->childAt(w->mapTo(top, at.value_or(w->rect().center())));
    return hit == w || w->isAncestorOf(hit);
}

void AppTest::click(QWidget *w, std::optional<QPoint> at, Qt::MouseButton button)
{
    if (!w) {
        ADD_FAILURE() << "nothing to click";
        return;
    }
    if (!w->isVisible() || !w->isEnabled()) {
        ADD_FAILURE() << GeometryWalk::describe(w).toStdString() << (w->isVisible() ? " is disabled" : " is not shown");
        return;
    }
    QWidget *top = w->window();
    const QPoint point = w->mapTo(top, at.value_or(w->rect().center()));
    QWindow *window = top->windowHandle();
    // The move runs the event loop (an animation may step): what lies under the pointer is
    // checked after it, with nothing run between the check and the press.
    QTest::mouseMove(window, point);
    QWidget *hit = top->childAt(point);
    if (hit != w && !w->isAncestorOf(hit)) {
        ADD_FAILURE() << GeometryWalk::describe(w).toStdString() << " is not under the pointer at the click: "
                      << (hit ? GeometryWalk::describe(hit).toStdString() : std::string("the window itself"))
                      << " is";
        return;
    }
    QTest::mouseClick(window, button, Qt::NoModifier, point);
    QCoreApplication::processEvents();
}

void AppTest::doubleClick(QWidget *w, std::optional<QPoint> at)
{
    ASSERT_TRUE(w && w->isVisible() && w->isEnabled());
    QWidget *top = w->window();
    const QPoint point = w->mapTo(top, at.value_or(w->rect().center()));
    QWindow *window = top->windowHandle();
    QTest::mouseMove(window, point);
    ASSERT_TRUE(reachable(w, w->mapFrom(top, point))) << GeometryWalk::describe(w).toStdString()
                                                      << " is not under the pointer at the double click";
    QTest::mouseDClick(window, Qt::LeftButton, Qt::NoModifier, point);
    QCoreApplication::processEvents();
}

void AppTest::clickRow(QAbstractItemView *view, const QString &text, Qt::MouseButton button,
                       Qt::KeyboardModifiers modifiers)
{
    ASSERT_TRUE(view);
    const QStringList rows = rowTexts(view);
    const int row = int(rows.indexOf(text));
    ASSERT_GE(row, 0) << "no row \"" << text.toStdString() << "\" among " << rows.join(QStringLiteral(" | ")).toStdString();
    const QModelIndex index = view->model()->index(row, 0, view->rootIndex());
    view->scrollTo(index); // as the user scrolls to it
    QCoreApplication::processEvents();
    // A floating bar over the list's edge: the user scrolls the row to the middle.
    if (!reachable(view->viewport(), view->visualRect(index).center())) {
        view->scrollTo(index, QAbstractItemView::PositionAtCenter);
        QCoreApplication::processEvents();
    }
    const QRect rect = view->visualRect(index);
    ASSERT_TRUE(view->viewport()->rect().contains(rect.center()));
    // A toast of the last action may lie over the row until it goes, as the user sees.
    ASSERT_TRUE(eventually([&] { return reachable(view->viewport(), view->visualRect(index).center()); }, 20000))
        << "something lies over the row \"" << text.toStdString() << "\"";
    QWidget *top = view->window();
    const QPoint point = view->viewport()->mapTo(top, rect.center());
    QWindow *window = top->windowHandle();
    QTest::mouseMove(window, point);
    ASSERT_TRUE(reachable(view->viewport(), rect.center()) && view->indexAt(rect.center()).data().toString() == text)
        << "the row \"" << text.toStdString() << "\" is not under the pointer at the click";
    QTest::mouseClick(window, button, modifiers, point);
    QCoreApplication::processEvents();
}

void AppTest::type(const QString &text)
{
    for (const QChar c : text) {
        const char ascii = c.toLatin1();
        if (c.unicode() < 0x80 && ascii >= 0x20)
            QTest::keyClick(static_cast<QWidget *>(nullptr), ascii);
        else
            QTest::sendKeyEvent(QTest::Click, static_cast<QWidget *>(nullptr), Qt::Key_unknown, QString(c),
                                Qt::NoModifier);
    }
    QCoreApplication::processEvents();
}

void AppTest::key(Qt::Key k, Qt::KeyboardModifiers modifiers)
{
    QTest::keyClick(static_cast<QWidget *>(nullptr), k, modifiers);
    QCoreApplication::processEvents();
}

void AppTest::chooseMenu(const QString &menu, const QString &item)
{
    QWidget *active = QApplication::activeWindow() ? QApplication::activeWindow() : mainWindow();
    auto *bar = active->findChild<QMenuBar *>();
    ASSERT_TRUE(bar) << "the active window has no menu bar";
    QAction *title = nullptr;
    for (QAction *a : bar->actions())
        if (plainText(a->text()) == menu)
            title = a;
    ASSERT_TRUE(title) << "no menu \"" << menu.toStdString() << "\"";
    const QPoint point = bar->mapTo(active, bar->actionGeometry(title).center());
    QTest::mouseClick(active->windowHandle(), Qt::LeftButton, Qt::NoModifier, point);
    ASSERT_TRUE(eventually([&] { return shownMenu() != nullptr; }, 10000)) << "the menu did not open";
    chooseInMenu(item);
}

QWidget *AppTest::selectionBarButton(const QString &text) const
{
    const QList<QWidget *> bars = findAll(QStringLiteral("selectionBar"));
    if (bars.size() != 1 || Transition::isRunning(bars.first()))
        return nullptr;
    const QList<QWidget *> found = findAll(text, bars.first());
    return found.size() == 1 && found.first()->isEnabled() && reachable(found.first()) ? found.first() : nullptr;
}

QStringList AppTest::historyRows() const
{
    QStringList rows;
    for (QWidget *row : findAll(QStringLiteral("history-row"), mainWindow()))
        rows << row->accessibleName();
    return rows;
}

QMenu *AppTest::shownMenu() const { return qobject_cast<QMenu *>(QApplication::activePopupWidget()); }

void AppTest::chooseInMenu(const QString &item)
{
    QMenu *menu = nullptr;
    ASSERT_TRUE(eventually([&] { return (menu = shownMenu()) != nullptr; }, 10000)) << "no menu is shown";
    QAction *chosen = nullptr;
    QStringList texts;
    for (QAction *a : menu->actions()) {
        texts << plainText(a->text());
        if (plainText(a->text()) == item)
            chosen = a;
    }
    ASSERT_TRUE(chosen) << "no item \"" << item.toStdString() << "\" among " << texts.join(QStringLiteral(" | ")).toStdString();
    ASSERT_TRUE(chosen->isEnabled()) << "\"" << item.toStdString() << "\" is disabled";
    const QPoint point = menu->actionGeometry(chosen).center();
    QTest::mouseMove(menu->windowHandle(), point);
    QTest::mouseClick(menu->windowHandle(), Qt::LeftButton, Qt::NoModifier, point);
    QCoreApplication::processEvents();
}

void AppTest::clickSegment(const QString &control, const QString &title)
{
    auto *picker = find<DeckSegmented>(control);
    ASSERT_TRUE(picker);
    QStringList titles;
    for (const DeckSegmented::Item &item : picker->items())
        titles << item.title;
    const qsizetype segment = titles.indexOf(title);
    ASSERT_GE(segment, 0) << "no segment \"" << title.toStdString() << "\" among " << titles.join(QStringLiteral(" | ")).toStdString();
    // Scrolled into view first, as the user scrolls to it.
    for (QWidget *p = picker->parentWidget(); p; p = p->parentWidget())
        if (auto *page = qobject_cast<QScrollArea *>(p)) {
            page->ensureWidgetVisible(picker);
            QCoreApplication::processEvents();
            break;
        }
    click(picker, picker->segmentRects().at(segment).center().toPoint());
}

void AppTest::goTo(AppRoute route)
{
    auto *sidebar = mainWindow()->findChild<SidebarView *>();
    ASSERT_TRUE(sidebar);
    QWidget *item = nullptr;
    for (QWidget *w : sidebar->findChildren<QWidget *>())
        if (w->isVisible() && w->accessibleName() == title(route))
            item = w;
    ASSERT_TRUE(item) << "no sidebar item \"" << title(route).toStdString() << "\"";
    click(item);
    ASSERT_TRUE(eventually([&] { return model->route() == route; }, 10000));
}

void AppTest::answer(const QString &buttonText)
{
    QWidget *shown = nullptr;
    ASSERT_TRUE(eventually([&] { return (shown = dialog()) != nullptr; }, 10000)) << "no dialog is shown";
    QAbstractButton *chosen = nullptr;
    QStringList texts;
    for (QAbstractButton *b : shown->findChildren<QAbstractButton *>()) {
        if (!b->isVisible())
            continue;
        texts << plainText(b->text());
        if (plainText(b->text()) == buttonText)
            chosen = b;
    }
    ASSERT_TRUE(chosen) << "no button \"" << buttonText.toStdString() << "\" among "
                        << texts.join(QStringLiteral(" | ")).toStdString();
    click(chosen);
}

void AppTest::resizeWindow(QSize size)
{
    mainWindow()->resize(size);
    ASSERT_TRUE(eventually([&] { return mainWindow()->size() == size; }, 10000));
}

bool AppTest::eventually(const std::function<bool()> &done, int timeoutMs)
{
    ++pollDepth;
    const bool held = waitUntil(done, timeoutMs);
    --pollDepth;
    return held;
}

void AppTest::settle(int timeoutMs)
{
    const auto anyRunning = [&] {
        for (QWidget *top : windows())
            for (QWidget *w : top->findChildren<QWidget *>())
                if (Transition::isRunning(w))
                    return true;
        return false;
    };
    EXPECT_TRUE(settleCommands(timeoutMs));
    EXPECT_TRUE(eventually([&] { return !anyRunning(); }, timeoutMs)) << "a transition never ended";
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

#include "ConsoleLibraryModel.h"

#include "core/AppModel.h"
#include "core/ConsoleSnippets.h"

ConsoleLibraryModel::ConsoleLibraryModel(AppModel *model, ConsoleLibraryTab tab, QObject *parent)
    : QAbstractListModel(parent), m_model(model), m_tab(tab)
{
    rebuild();
    model->observe(model->consoleFavorites, this, [this] {
        if (m_tab == ConsoleLibraryTab::favorites)
            rebuild();
    });
    model->observe(model->consoleHistory, this, [this] {
        if (m_tab == ConsoleLibraryTab::history)
            rebuild();
    });
}

void ConsoleLibraryModel::setTab(ConsoleLibraryTab tab)
{
    if (tab == m_tab)
        return;
    m_tab = tab;
    rebuild();
}

void ConsoleLibraryModel::rebuild()
{
    QList<Row> rows;
    switch (m_tab) {
    case ConsoleLibraryTab::favorites:
        for (const ConsoleFavorite &favorite : m_model->consoleFavorites())
            rows.append({false, favorite.command, favorite.mode, std::nullopt, favorite.id});
        break;
    case ConsoleLibraryTab::snippets:
        for (const QString &group : ConsoleSnippets::groups()) {
            rows.append({true, group, ConsoleMode::deviceShell, std::nullopt, QUuid()});
            for (const ConsoleSnippet &snippet : ConsoleSnippets::all())
                if (snippet.group == group)
                    rows.append({false, snippet.command, snippet.mode, snippet.title, snippet.id});
        }
        break;
    case ConsoleLibraryTab::history: {
        const QList<ConsoleCommandRecord> &history = m_model->consoleHistory();
        for (auto record = history.crbegin(); record != history.crend(); ++record)
            rows.append({false, record->command, record->mode, std::nullopt, record->id});
        break;
    }
    }
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

int ConsoleLibraryModel::rowCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : int(m_rows.size()); }

QString ConsoleLibraryModel::accessibilityLabel(const Row &row)
{
    if (row.heading)
        return row.text;
    return row.title.value_or(row.text) + QStringLiteral(", режим ") + rawValue(row.mode);
}

QVariant ConsoleLibraryModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const Row &row = m_rows.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return row.text;
    case Qt::AccessibleTextRole:
        return accessibilityLabel(row);
    case TitleRole:
        return row.title.value_or(QString());
    case ModeRole:
        return int(row.mode);
    case HeadingRole:
        return row.heading;
    case IdRole:
        return row.id;
    default:
        return {};
    }
}

Qt::ItemFlags ConsoleLibraryModel::flags(const QModelIndex &index) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return Qt::NoItemFlags;
    // A heading is nothing to pick: the arrow keys pass over it.
    return m_rows.at(index.row()).heading ? Qt::NoItemFlags : Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

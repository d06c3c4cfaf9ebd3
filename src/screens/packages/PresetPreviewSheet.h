#pragma once

#include "bridge/PresetPreview.h"

#include <QAbstractListModel>
#include <QDialog>
#include <QStyledItemDelegate>

class AppModel;
class DeckButton;
class QListView;
class StatusBadge;

// The preset's packages in the preset's order, found and missing mixed: one reset per preview.
class PresetEntryModel : public QAbstractListModel {
    Q_OBJECT
public:
    explicit PresetEntryModel(QList<PresetPackageEntry> entries, QObject *parent = nullptr);
    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    const PresetPackageEntry &entryAt(int row) const { return m_entries.at(row); }

private:
    QList<PresetPackageEntry> m_entries;
};

// Paints one entry row: status symbol, display name over the package name (when they differ),
// the kind or "Нет на устройстве" badge, and the indented divider below.
class PresetEntryDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit PresetEntryDelegate(QObject *parent = nullptr);
    ~PresetEntryDelegate() override;
    static int rowHeight();
    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

private:
    StatusBadge *m_badge; // hidden template the badges are drawn from
};

// The sheet that compares a loaded preset with the device: counters, the system-package
// warning, every entry, and "Только выбрать в списке" / "Выполнить…". It keeps no state of its
// own; closing it (a button, Escape) clears the model's preview through its presenter.
class PresetPreviewSheet : public QDialog {
    Q_OBJECT
public:
    PresetPreviewSheet(AppModel *model, PresetPreview preview, QWidget *parent = nullptr);

    static constexpr int kWidth = 720;
    static constexpr int kHeight = 620;

    const PresetPreview &preview() const { return m_preview; }
    // The four counters as shown: label and value.
    QList<std::pair<QString, QString>> counters() const;
    QWidget *systemWarning() const { return m_warning; }
    QListView *entryList() const { return m_list; }
    DeckButton *closeButton() const { return m_close; }
    DeckButton *selectButton() const { return m_select; }
    DeckButton *executeButton() const { return m_execute; }
    StatusBadge *actionBadge() const { return m_badge; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    AppModel *m_model;
    PresetPreview m_preview;
    QList<std::pair<QString, QString>> m_counters;
    QWidget *m_warning = nullptr;
    QListView *m_list = nullptr;
    DeckButton *m_close = nullptr;
    DeckButton *m_select = nullptr;
    DeckButton *m_execute = nullptr;
    StatusBadge *m_badge = nullptr;
};

#pragma once

#include "core/DebloatPlan.h"
#include "core/ListModelAdapter.h"
#include "core/Observable.h"
#include "core/PublishedList.h"

#include <QAbstractButton>
#include <QDialog>
#include <QSet>

class AppModel;
class DeckButton;
class DeckParagraph;
class DeckText;
class QListView;

// The tick the user gives before a risky plan runs: a check box glyph and a wrapping label.
class AcknowledgementBox : public QAbstractButton {
    Q_OBJECT
public:
    explicit AcknowledgementBox(QWidget *parent = nullptr);
    void setLabel(const QString &text);
    QString label() const;
    QSize sizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    DeckParagraph *m_label;
};

// The review of the debloat plan before it runs (720 × 640): what the action does, the plan's
// count, bytes, system packages and highest risk, a warning naming up to four advanced or
// critical packages, the list with an exclude button per package, and the confirm button.
// A plan holding advanced or critical packages runs only after the user ticks the
// acknowledgement, and the tick is taken back whenever such a package joins the plan.
// Confirming calls the model, which ends the review; cancelling rejects the dialog.
class DebloatReviewSheet : public QDialog {
    Q_OBJECT
public:
    explicit DebloatReviewSheet(AppModel *model, QWidget *parent = nullptr);

    static constexpr int kWidth = 720;
    static constexpr int kHeight = 640;

    // Texts that depend on the plan.
    static QString explanation(const DebloatPlan &plan);
    static QString confirmTitle(const DebloatPlan &plan);
    static QString warningTitle(int criticalCount);
    static QStringList warningLines(const DebloatPlan &plan); // bullets, then the "и ещё" line if any
    static QString acknowledgementText(RemovalRisk highest);

    const DebloatPlan &plan() const { return m_plan; }
    bool isAcknowledged() const;
    AcknowledgementBox *acknowledgement() const { return m_ack; }
    DeckButton *confirmButton() const { return m_confirm; }
    DeckButton *cancelButton() const { return m_cancel; }
    QWidget *warningBlock() const { return m_warnings; }
    QListView *itemList() const { return m_list; }
    // The value and label of each summary cell, left to right.
    QList<QPair<QString, QString>> summary() const;
    QStringList shownWarningLines() const;
    QString shownWarningTitle() const;
    QString actionText() const;
    QString explanationText() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    class Items : public Observable {
    public:
        using Observable::Observable;
        PublishedList<DebloatPlanItem> rows{this};
    };
    class HeaderTile;
    class SummaryCell;

    void refresh();

    AppModel *m_model;
    DebloatPlan m_plan;
    Items *m_items;
    ListModelAdapter<DebloatPlanItem> *m_rows;
    QSet<QString> m_criticalNames;

    HeaderTile *m_tile = nullptr;
    DeckParagraph *m_explanation = nullptr;
    QList<SummaryCell *> m_cells;
    QWidget *m_warnings = nullptr;
    DeckText *m_warningTitle = nullptr;
    QList<DeckParagraph *> m_warningLines;
    DeckText *m_moreLine = nullptr;
    QListView *m_list = nullptr;
    AcknowledgementBox *m_ack = nullptr;
    DeckText *m_action = nullptr;
    DeckButton *m_confirm = nullptr;
    DeckButton *m_cancel = nullptr;
};

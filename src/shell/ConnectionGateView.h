#pragma once

#include "bridge/ADBService.h"
#include "bridge/LinkState.h"

#include <QCoro/QCoroTask>
#include <QStringList>
#include <QWidget>

#include <optional>

class AppModel;
class AppSettings;
class DeckButton;
class DeckPanel;
class QAbstractButton;
class DeckParagraph;
class DeckText;
class LinkDiagram;
class QPlainTextEdit;
class QVBoxLayout;
class QBoxLayout;
class StatusBadge;

// The pane shown in place of a screen that needs a device while none is usable: the link
// state in words and a picture, numbered steps that fix it, the helpful actions and a
// collapsible diagnostics panel with a transcript of two adb commands. It never navigates.
class ConnectionGateView : public QWidget {
    Q_OBJECT
public:
    ConnectionGateView(AppModel *model, AppSettings *settings, QWidget *parent = nullptr);

    static QString headline(const LinkState &state);
    static QStringList steps(const LinkState &state);

    // Shows `state` instead of the model's (previews of states the model rarely reaches, such as
    // failed); none follows the model again.
    void setPreviewState(std::optional<LinkState> state);
    LinkState currentState() const;

    // The primary action (⌘R while the gate shows): find adb again, or search for devices.
    void triggerPrimaryAction();
    // The gate's primary action without a gate (the window's Ctrl+R while the gate shows).
    static void runPrimaryAction(AppModel *model);

    // Current parts, for the shell and tests.
    QString shownHeadline() const;
    QString shownSubtitle() const;
    QStringList shownSteps() const;
    StatusBadge *badge() const { return m_badge; }
    LinkDiagram *diagram() const { return m_diagram; }
    DeckButton *primaryButton() const { return m_primary; }
    DeckButton *restartButton() const { return m_restart; }
    DeckButton *fastbootButton() const { return m_fastboot; }
    QAbstractButton *diagnosticsHeader() const { return m_diagnosticsHeader; }
    QWidget *diagnosticsBody() const { return m_diagnosticsBody; }
    DeckButton *rerunDiagnosticsButton() const { return m_rerun; }
    DeckButton *copyButton() const { return m_copy; }
    bool showDiagnostics() const { return m_showDiagnostics; }
    bool isRunningDiagnostics() const { return m_isRunningDiagnostics; }
    QString diagnosticsText() const { return m_diagnosticsText; }
    // The four diagnostics rows as (label, value) pairs.
    QList<QPair<QString, QString>> diagnosticsRows() const;

    void toggleDiagnostics();
    // The run, which callers may drop: it goes on by itself and ends early when the gate is released.
    QCoro::Task<void> runDiagnostics();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    // Stacks the action buttons when the window is too narrow for one row of them.
    void fitActions();
    QCoro::Task<void> diagnose(ADBService service);
    void refresh();
    void refreshDiagnostics();
    void rebuildSteps(const LinkState &state);

    AppModel *m_model;
    AppSettings *m_settings;
    QBoxLayout *m_actions = nullptr;
    bool m_showDiagnostics = false;
    QString m_diagnosticsText;
    bool m_isRunningDiagnostics = false;
    std::optional<LinkState> m_previewState;

    LinkDiagram *m_diagram = nullptr;
    StatusBadge *m_badge = nullptr;
    DeckParagraph *m_headline = nullptr;
    DeckParagraph *m_subtitle = nullptr;
    DeckPanel *m_stepsPanel = nullptr;
    QVBoxLayout *m_stepsColumn = nullptr;
    QStringList m_shownSteps;
    LinkState m_stepsState;
    DeckButton *m_primary = nullptr;
    DeckButton *m_restart = nullptr;
    DeckButton *m_fastboot = nullptr;
    QAbstractButton *m_diagnosticsHeader = nullptr;
    DeckText *m_runningNote = nullptr;
    QWidget *m_chevron = nullptr;
    QWidget *m_diagnosticsBody = nullptr;
    QVBoxLayout *m_rowsColumn = nullptr;
    QList<QPair<QString, QString>> m_shownRows;
    DeckPanel *m_transcriptPanel = nullptr;
    QPlainTextEdit *m_transcript = nullptr;
    DeckButton *m_rerun = nullptr;
    DeckButton *m_copy = nullptr;
};

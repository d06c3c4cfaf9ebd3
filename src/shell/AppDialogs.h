#pragma once

#include <QObject>

class AppModel;
class DialogPresenter;
class QWidget;

// The sheets, confirmation dialogs and alerts of the main window. Each follows one model
// value: it opens when a workflow sets the value and writes the value back to empty when
// the user closes it; a confirming button calls the model operation that does the work.
class AppDialogs : public QObject {
    Q_OBJECT
public:
    AppDialogs(AppModel *model, QWidget *host);

    DialogPresenter *debloatReview() const { return m_debloatReview; }
    DialogPresenter *packageAction() const { return m_packageAction; }
    DialogPresenter *exportError() const { return m_exportError; }
    DialogPresenter *presetPreview() const { return m_presetPreview; }
    DialogPresenter *presetExecution() const { return m_presetExecution; }
    DialogPresenter *presetError() const { return m_presetError; }
    DialogPresenter *permissionManager() const { return m_permissionManager; }

private:
    AppModel *m_model;
    DialogPresenter *m_debloatReview;
    DialogPresenter *m_packageAction;
    DialogPresenter *m_exportError;
    DialogPresenter *m_presetPreview;
    DialogPresenter *m_presetExecution;
    DialogPresenter *m_presetError;
    DialogPresenter *m_permissionManager;
};

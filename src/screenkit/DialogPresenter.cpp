#include "DialogPresenter.h"

#include "TabOrder.h"

DialogPresenter::DialogPresenter(QWidget *host, Spec spec) : QObject(host), m_host(host), m_spec(std::move(spec)) {}

DialogPresenter::~DialogPresenter()
{
    if (m_dialog) {
        m_withdrawing = true;
        delete m_dialog;
    }
}

void DialogPresenter::sync()
{
    const std::optional<QString> id = m_spec.identity();
    if (m_dialog && (!id || *id != m_shown)) {
        QDialog *old = m_dialog;
        m_withdrawing = true;
        old->done(QDialog::Rejected);
        m_withdrawing = false;
        if (!id && m_spec.afterDismissal)
            m_spec.afterDismissal();
    }
    if (!id || m_dialog || !m_host)
        return;
    QDialog *dialog = m_spec.build(m_host->window());
    dialog->setWindowModality(Qt::WindowModal);
    dialog->setAttribute(Qt::WA_DeleteOnClose, false);
    TabOrder::keep(dialog);
    m_dialog = dialog;
    m_shown = *id;
    connect(dialog, &QDialog::finished, this, [this, dialog](int result) { finished(dialog, result); });
    dialog->open();
}

void DialogPresenter::finished(QDialog *dialog, int result)
{
    if (dialog != m_dialog)
        return;
    m_dialog = nullptr;
    dialog->deleteLater();
    if (m_withdrawing)
        return;
    // Cleared first, so a write-back that lands here again finds nothing shown.
    if (m_spec.dismissed)
        m_spec.dismissed(dialog, result);
    if (m_spec.afterDismissal)
        m_spec.afterDismissal();
}

#include "SaveFilterSheet.h"

#include "ApplicationsState.h"

#include "core/AppModel.h"
#include "core/AppSettings.h"
#include "design/DeckButton.h"
#include "design/DeckParagraph.h"
#include "design/DeckText.h"
#include "design/Ink.h"
#include "design/Tokens.h"
#include "design/Typo.h"
#include "screenkit/DeckTextField.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QVBoxLayout>

SaveFilterSheet::SaveFilterSheet(AppModel *model, AppSettings *settings, ApplicationsState *state, QWidget *parent)
    : QDialog(parent), m_model(model), m_settings(settings), m_state(state)
{
    setObjectName(QStringLiteral("saveFilterSheet"));
    setWindowTitle(QStringLiteral("Сохранить фильтр"));
    setFixedWidth(kWidth);
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(int(Space::xl), int(Space::xl), int(Space::xl), int(Space::xl));
    column->setSpacing(int(Space::l));
    auto *title = new DeckText(QStringLiteral("Сохранить фильтр"), Typo::screenTitle(), [] { return Ink::text(); }, this);
    column->addWidget(title);
    column->addWidget(new DeckParagraph(
        QStringLiteral("Запоминается поисковый запрос, тип приложений, состояния и уровни риска."), Typo::supporting(),
        [] { return Ink::textTertiary(); }, this));
    m_name = new DeckTextField(QStringLiteral("Название фильтра"), false, {}, this);
    bindDeckTextField(m_name, state, state->newFilterName);
    column->addWidget(m_name);

    auto *buttons = new QHBoxLayout;
    buttons->setSpacing(int(Space::s));
    buttons->addStretch(1);
    m_cancel = new DeckButton(QStringLiteral("Отмена"), {DeckButtonRole::ghost, DeckButtonSize::regular}, this);
    m_save = new DeckButton(QStringLiteral("Сохранить"), {DeckButtonRole::primary, DeckButtonSize::regular}, this);
    buttons->addWidget(m_cancel);
    buttons->addWidget(m_save);
    column->addLayout(buttons);
    connect(m_cancel, &QAbstractButton::clicked, this, &QDialog::reject);
    connect(m_save, &QAbstractButton::clicked, this, &SaveFilterSheet::save);

    // 420 px wide, as high as its content at that width (the explanation wraps, never cut).
    setFixedHeight(column->heightForWidth(kWidth));

    const auto update = [this] { m_save->setEnabled(isNameUsable(m_state->newFilterName())); };
    state->observe(state->newFilterName, this, update);
    update();
}

bool SaveFilterSheet::isNameUsable(const QString &name)
{
    return std::any_of(name.cbegin(), name.cend(), [](QChar c) { return c != QLatin1Char(' ') && c != QLatin1Char('\t'); });
}

void SaveFilterSheet::save()
{
    const QString name = m_state->newFilterName();
    if (!isNameUsable(name))
        return;
    QList<SavedFilter> filters = m_settings->savedFilters();
    filters.append(m_model->savedFilter(name));
    m_settings->savedFilters.set(filters);
    accept();
}

void SaveFilterSheet::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), Ink::surface());
}

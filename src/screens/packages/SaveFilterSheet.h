#pragma once

#include <QDialog>

class AppModel;
class AppSettings;
class ApplicationsState;
class DeckButton;
class DeckTextField;

// Asks for the name under which the current search and filters are saved. The name field edits
// the screen state's `newFilterName`; "Сохранить" (enabled while the name holds more than spaces
// and tabs) appends the filter to the saved filters under the name exactly as typed and closes
// the sheet, "Отмена" closes it storing nothing. Return does not save.
class SaveFilterSheet : public QDialog {
    Q_OBJECT
public:
    SaveFilterSheet(AppModel *model, AppSettings *settings, ApplicationsState *state, QWidget *parent = nullptr);

    DeckTextField *nameField() const { return m_name; }
    DeckButton *saveButton() const { return m_save; }
    DeckButton *cancelButton() const { return m_cancel; }

    // Whether a name can be saved: spaces and tabs alone are no name (line breaks count).
    static bool isNameUsable(const QString &name);

    static constexpr int kWidth = 420;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void save();

    AppModel *m_model;
    AppSettings *m_settings;
    ApplicationsState *m_state;
    DeckTextField *m_name;
    DeckButton *m_save;
    DeckButton *m_cancel;
};

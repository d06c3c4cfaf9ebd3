#include "FilesScreen.h"

#include "screenkit/DeckScreen.h"
#include "core/AppRoute.h"
#include "screenkit/ScreenMemory.h"

#include "core/AppModel.h"
#include "core/PlatformTexts.h"
#include "design/ScreenHeader.h"
#include "screens/files/FileManagerView.h"

#include <QVBoxLayout>

FilesScreen::FilesScreen(AppModel *model, ScreenMemory *memory, QWidget *parent) : QWidget(parent), m_model(model)
{
    m_subtitle = subtitle(*model);
    m_header = new ScreenHeader(eyebrow(AppRoute::files), QStringLiteral("Файлы"), m_subtitle);
    const std::function<FileManagerState *()> make = [] { return new FileManagerState; };
    FileManagerState *state = memory ? memory->obtain<FileManagerState>(QStringLiteral("files"), make) : make();
    if (!memory)
        state->setParent(this);
    m_fileManager = new FileManagerView(model, state, false);
    m_page = new DeckScreen(std::nullopt, m_header, m_fileManager);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_page);

    model->observe(model->selectedDeviceID, this, [this] { rebuildHeader(); });
    model->observe(model->devices, this, [this] { rebuildHeader(); });
}

void FilesScreen::rebuildHeader()
{
    const QString text = subtitle(*m_model);
    if (text == m_subtitle)
        return;
    m_subtitle = text;
    auto *header = new ScreenHeader(eyebrow(AppRoute::files), QStringLiteral("Файлы"), m_subtitle);
    if (auto *layout = qobject_cast<QBoxLayout *>(m_page->layout())) {
        delete layout->replaceWidget(m_header, header);
        delete m_header;
        m_header = header;
    }
}

QString FilesScreen::subtitle(const AppModel &model)
{
    const auto device = model.selectedDevice();
    return PlatformTexts::text(PlatformTexts::filesExchange) + (device ? device->displayName() : QStringLiteral("Android"));
}

QString FilesScreen::shownSubtitle() const { return m_subtitle; }

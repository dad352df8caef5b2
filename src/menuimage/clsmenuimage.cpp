#include "clsmenuimage.h"

#include "iconcontainer.h"
#include "menuimageeffects.h"
#include "menuimagestyle.h"

#include <QAction>
#include <QBuffer>
#include <QFile>
#include <QGuiApplication>
#include <QImageReader>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QTimer>

namespace {

QIcon menuIcon(const QImage &image)
{
    QIcon icon;
    icon.addPixmap(QPixmap::fromImage(image), QIcon::Normal);
    icon.addPixmap(QPixmap::fromImage(greyedImage(image)), QIcon::Disabled);
    return icon;
}

bool isIconFileName(const QString &fileName)
{
    return fileName.endsWith(QLatin1String(".ico"), Qt::CaseInsensitive)
        || fileName.endsWith(QLatin1String(".cur"), Qt::CaseInsensitive);
}

QImage readImage(QImageReader &reader)
{
    reader.setDecideFormatFromContent(true);
    return reader.read();
}

} // namespace

clsMenuImage::clsMenuImage(QObject *parent)
    : QObject(parent)
{ }

clsMenuImage::~clsMenuImage()
{
    unhook();
    Clear();
}

bool clsMenuImage::Init(QWidget *window, int imgWidth, int imgHeight, bool bRaiseEvent)
{
    // Pixmaps need the GUI application.
    if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        return false;
    if (imgWidth < 1 || imgHeight < 1 || imgWidth > MaxImageSide || imgHeight > MaxImageSide)
        return false;
    unhook();
    m_window = window;
    m_imageWidth = imgWidth;
    m_imageHeight = imgHeight;
    if (!m_images.isEmpty())
        Clear();
    m_raiseEvents = bRaiseEvent;
    if (!bRaiseEvent)
        return true;
    if (!window)
        return false;
    hook();
    return true;
}

QImage clsMenuImage::image(int index) const
{
    return index >= 0 && index < m_images.size() ? m_images[index] : QImage();
}

bool clsMenuImage::addImage(const QImage &source, bool ghosted)
{
    const QImage slot = fitToSlot(source, QSize(m_imageWidth, m_imageHeight));
    if (slot.isNull())
        return false;
    m_images.append(ghosted ? ghostedImage(slot) : slot);
    return true;
}

bool clsMenuImage::AddIconFromHandle(const QIcon &icon, bool bGhosted)
{
    if (icon.isNull() || m_imageWidth < 1)
        return false;
    const QPixmap pixmap = icon.pixmap(QSize(m_imageWidth, m_imageHeight), 1.0);
    return !pixmap.isNull() && addImage(pixmap.toImage(), bGhosted);
}

bool clsMenuImage::AddImageFromFile(const QString &fileName, bool bGhosted)
{
    if (m_imageWidth < 1)
        return false;
    if (isIconFileName(fileName)) {
        QFile file(fileName);
        if (!file.open(QIODevice::ReadOnly))
            return false;
        const std::optional<IconContainer> container = IconContainer::parse(file.readAll());
        if (!container)
            return false;
        const std::optional<qsizetype> entry
            = container->chooseNearestEntry(m_imageWidth, m_imageHeight);
        return entry && addImage(container->decodeEntry(*entry), bGhosted);
    }
    QImageReader reader(fileName);
    return addImage(readImage(reader), bGhosted);
}

bool clsMenuImage::AddImageFromStream(const QByteArray &bytes, bool bGhosted)
{
    if (bytes.isEmpty() || m_imageWidth < 1)
        return false;
    if (IconContainer::looksLikeContainer(bytes)) {
        const std::optional<IconContainer> container = IconContainer::parse(bytes);
        if (!container)
            return false;
        const std::optional<qsizetype> entry = container->chooseEntry(m_imageWidth, m_imageHeight);
        return entry && addImage(container->decodeEntry(*entry), bGhosted);
    }
    QBuffer buffer;
    buffer.setData(bytes);
    if (!buffer.open(QIODevice::ReadOnly))
        return false;
    QImageReader reader(&buffer);
    return addImage(readImage(reader), bGhosted);
}

bool clsMenuImage::RemoveImage(int index)
{
    if (index < 0 || index > ImageCount())
        return false;
    m_images.removeAt(index);
    return true;
}

void clsMenuImage::Clear()
{
    m_images.clear();
}

QMenuBar *clsMenuImage::menuBar() const
{
    if (!m_window)
        return nullptr;
    if (auto *mainWindow = qobject_cast<QMainWindow *>(m_window.data()))
        return qobject_cast<QMenuBar *>(mainWindow->menuWidget());
    return m_window->findChild<QMenuBar *>(QString(), Qt::FindDirectChildrenOnly);
}

QWidget *clsMenuImage::findMenu(const QList<int> &subMenuPath) const
{
    QWidget *menu = menuBar();
    for (int position : subMenuPath) {
        if (!menu)
            return nullptr;
        const QList<QAction *> items = menu->actions();
        if (position < 0 || position >= items.size())
            return nullptr;
        menu = QMenu::menuInAction(items[position]);
    }
    return menu;
}

bool clsMenuImage::putImage(int imageId, QWidget *menu, int menuPos)
{
    if (!menu)
        return false;
    const QList<QAction *> items = menu->actions();
    if (menuPos < 0 || menuPos >= items.size())
        return false;
    QAction *item = items[menuPos];
    if (imageId == -1) {
        item->setIcon(QIcon());
        return true;
    }
    if (imageId < 0 || imageId > ImageCount())
        return false;

    if (qobject_cast<QMenuBar *>(menu))
        MenuImageStyle::install(menu);
    item->setIcon(menuIcon(m_images[imageId]));
    return true;
}

bool clsMenuImage::PutImageToVBMenu(int imageId, int menuPos, const QList<int> &subMenuPath)
{
    return putImage(imageId, findMenu(subMenuPath), menuPos);
}

bool clsMenuImage::PutImageToApiMenu(
    int imageId, QMenu *menu, int menuPos, const QVariant &itemData)
{
    if (!putImage(imageId, menu, menuPos))
        return false;
    if (itemData.isValid())
        menu->actions().at(menuPos)->setData(itemData);
    if (m_raiseEvents)
        hookMenu(menu);
    return true;
}

void clsMenuImage::RemoveMenuCheckApi(QMenu *menu)
{
    if (!menu)
        return;
    menu->setProperty(MenuImageStyle::NoCheckMarksProperty, true);
    MenuImageStyle::install(menu);
    menu->update();
}

void clsMenuImage::RemoveMenuCheckVB(const QList<int> &subMenuPath)
{
    // The menu bar shows no check marks anyway; only sub-menus have the column.
    RemoveMenuCheckApi(qobject_cast<QMenu *>(findMenu(subMenuPath)));
}

void clsMenuImage::hook()
{
    if (QMenuBar *bar = menuBar()) {
        m_hooks.append(connect(bar, &QMenuBar::hovered, this,
            [this, bar](QAction *item) { emit MenuMessages(m_window, MenuSelect, bar, item); }));
    }
    const QList<QMenu *> menus = m_window->findChildren<QMenu *>();
    for (QMenu *menu : menus)
        hookMenu(menu);
}

void clsMenuImage::hookMenu(QMenu *menu)
{
    if (!menu || m_hookedMenus.contains(menu))
        return;
    m_hookedMenus.append(menu);
    m_hooks.append(connect(menu, &QMenu::hovered, this,
        [this, menu](QAction *item) { emit MenuMessages(m_window, MenuSelect, menu, item); }));
    m_hooks.append(connect(menu, &QMenu::aboutToHide, this,
        [this, menu] { emit MenuMessages(m_window, MenuSelect, menu, nullptr); }));
    // Idle: once the opened menu has been shown and waits for the user.
    m_hooks.append(connect(menu, &QMenu::aboutToShow, this, [this, menu] {
        QTimer::singleShot(0, this, [this, shown = QPointer<QMenu>(menu)] {
            if (m_raiseEvents && shown && shown->isVisible())
                emit MenuMessages(m_window, EnterIdle, shown, nullptr);
        });
    }));
}

void clsMenuImage::unhook()
{
    for (const QMetaObject::Connection &connection : std::as_const(m_hooks))
        disconnect(connection);
    m_hooks.clear();
    m_hookedMenus.clear();
    m_raiseEvents = false;
}

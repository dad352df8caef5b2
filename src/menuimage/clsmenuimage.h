#pragma once

#include <QByteArray>
#include <QIcon>
#include <QImage>
#include <QList>
#include <QMetaObject>
#include <QObject>
#include <QPointer>
#include <QVariant>

class QAction;
class QMenu;
class QMenuBar;
class QWidget;

// A list of small images of one fixed size, put in front of the items of a window's menus.
// The menus draw them themselves: an item gets an icon whose normal look is the image and
// whose disabled look is the image greyed.
class clsMenuImage : public QObject
{
    Q_OBJECT
public:
    // The two menu messages MenuMessages reports, numbered as the window system numbers them.
    enum MenuMessage { MenuSelect = 0x11F, EnterIdle = 0x121 };

    explicit clsMenuImage(QObject *parent = nullptr);
    ~clsMenuImage() override;

    // The menus draw the images themselves, as they do from that system generation on.
    bool IsWindowVistaOrLater() const { return true; }
    // Index of the last stored image: the number of images minus one, -1 when empty.
    int ImageCount() const { return int(m_images.size()) - 1; }

    // Removes one image; later images move down by one index. Items keep what they were given.
    bool RemoveImage(int index);
    // Puts image imageId (-1: none) on item menuPos of the window's menu bar, or of the
    // sub-menu reached through the menu-bar and sub-menu positions of subMenuPath.
    // Positions count separators.
    bool PutImageToVBMenu(int imageId, int menuPos, const QList<int> &subMenuPath = {});
    // The same for item menuPos of any menu; a valid itemData also becomes the item's data.
    bool PutImageToApiMenu(int imageId, QMenu *menu, int menuPos, const QVariant &itemData = {});
    // Marks the menu as one without check marks: its items show no check mark, and a checked
    // item that carries an image shows the image in a frame instead.
    void RemoveMenuCheckApi(QMenu *menu);
    void RemoveMenuCheckVB(const QList<int> &subMenuPath);
    void Clear();
    bool AddIconFromHandle(const QIcon &icon, bool bGhosted = false);
    // Names ending in ".ico" or ".cur" (any case) are read as icon containers, at the icon
    // size nearest the image size; everything else through the image readers.
    bool AddImageFromFile(const QString &fileName, bool bGhosted = false);
    // Icon and cursor containers take the picture of the highest bit count whose width +
    // height is the largest not above the image size's; other bytes go to the image readers.
    bool AddImageFromStream(const QByteArray &bytes, bool bGhosted = false);
    // Binds the object to its window and image size; the list is emptied. With bRaiseEvent the
    // window's menus report MenuMessages.
    bool Init(QWidget *window, int imgWidth, int imgHeight, bool bRaiseEvent = false);

    // The stored image at an index (ARGB32, image size); null outside the list.
    QImage image(int index) const;

    // Largest image side Init accepts.
    static constexpr int MaxImageSide = 256;

signals:
    // MenuSelect when an item is hovered (item set) or the menu closes (item null); EnterIdle
    // once an opened menu waits for the user.
    void MenuMessages(QWidget *window, int message, QWidget *menu, QAction *item);

private:
    bool addImage(const QImage &source, bool ghosted);
    QMenuBar *menuBar() const;
    // The menu reached through the menu-bar and sub-menu positions; the bar itself for none.
    QWidget *findMenu(const QList<int> &subMenuPath) const;
    bool putImage(int imageId, QWidget *menu, int menuPos);
    void hook();
    void unhook();
    void hookMenu(QMenu *menu);

    QPointer<QWidget> m_window;
    int m_imageWidth = 0;
    int m_imageHeight = 0;
    QList<QImage> m_images;
    bool m_raiseEvents = false;
    QList<QMetaObject::Connection> m_hooks;
    QList<QPointer<QMenu>> m_hookedMenus;
};

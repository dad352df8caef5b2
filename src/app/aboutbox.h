#pragma once

#include "aboutscroll.h"

#include <QWidget>

class LinkLabel;
class Platform;
class QFrame;
class QLabel;
class QTimer;
class TextTable;

// The About box: title, release, and a panel of credits that scrolls through a viewport.
// It is made afresh for every opening and takes the texts of the current language then.
class AboutBox : public QWidget
{
    Q_OBJECT
public:
    AboutBox(Platform &platform, const TextTable &texts, QWidget *parent = nullptr);
    // Opens a box in place of the window, which comes back where it was once the box closes.
    // The box deletes itself when closed.
    static AboutBox *openInPlaceOf(QWidget *window, Platform &platform, const TextTable &texts);

    // Closes the box; the timer stops and the main window is to be shown again.
    void unload();
    // One tick of m_timer; public so the scroll can be driven without waiting for the timer.
    void scrollStep();

signals:
    void unloaded();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void createControls();
    void load(const TextTable &texts);

    Platform &m_platform;
    AboutScroll m_scroll;
    bool m_backgroundPressed = false;

    LinkLabel *imgTitle = nullptr;
    LinkLabel *m_title = nullptr;
    LinkLabel *m_version = nullptr;
    QFrame *Frame1 = nullptr;
    QFrame *m_viewport = nullptr;
    QWidget *m_panel = nullptr;
    LinkLabel *m_description = nullptr;
    LinkLabel *m_copyright = nullptr;
    QLabel *m_homePageCaption = nullptr;
    LinkLabel *m_homePage = nullptr;
    QLabel *m_logo = nullptr;
    QTimer *m_timer = nullptr;
};
